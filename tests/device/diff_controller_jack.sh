#!/usr/bin/env bash
# `lumo diff FILE --controller` through a real MIDI server: a JACK server with its dummy driver
# and `lumo virtual` serving a scene file. The file it serves compares equal (exit 0, no lines);
# a file changed in two settings gives exactly those two lines with the controller's values on
# the right (exit 1) and is left as it was; without the controller it fails (exit 1).
# Usage: diff_controller_jack.sh PATH_TO_LUMO. Exit 77 (skipped) only when jackd is not installed.
set -uo pipefail

lumo=$(realpath "${1:?path to lumo}")
here=$(cd "$(dirname "$0")" && pwd)
assets="$here/../../assets"

source "$here/jack_test_support.sh"
skip_without_jackd
private_shm "$0" "$@"
work=$(mktemp -d)
virtual_pid=""

cleanup() {
    stop "$virtual_pid"
    stop "$jack_pid"
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM HUP PIPE

cd "$work" || exit 1
cp "$assets/DefPara.ini" "$assets/NotePara.ini" . 2>/dev/null
start_jack "lumo-diff-$$"

"$lumo" defaults -o served.lumo >defaults.log 2>&1 || fail "lumo defaults"
"$lumo" virtual served.lumo </dev/null >virtual.log 2>&1 &
virtual_pid=$!
wait_for "Vorel Lumo (virtual)" || fail "the virtual controller's ports did not appear"

bounded 40 "$lumo" diff served.lumo --controller >same.log 2>same-err.log
status=$?
# A read that lost a reply and started over says so on standard error, and nothing else.
grep -v "reading again from the start" same-err.log >same-other.log
[ "$status" -eq 0 ] && [ ! -s same.log ] && [ ! -s same-other.log ] ||
    fail "the served file: exit $status, $(cat same.log same-err.log)"

cp served.lumo edited.lumo
"$lumo" set edited.lumo 2 Konb-1 KonbCCNumber 74 >set.log 2>&1 || fail "lumo set"
"$lumo" set edited.lumo 4 Key-25 KeyOFFValue 9 >>set.log 2>&1 || fail "lumo set"
cp edited.lumo edited-before.lumo
bounded 40 "$lumo" diff edited.lumo --controller >diff.log 2>diff-err.log
status=$?
[ "$status" -eq 1 ] || fail "an edited file: exit $status"
printf 'scene 2, Konb-1, KonbCCNumber: 74 -> 20\nscene 4, Key-25, KeyOFFValue: 9 -> 0\n' >expected.txt
diff expected.txt diff.log >/dev/null || fail "the differences: $(cat diff.log)"
cmp -s edited.lumo edited-before.lumo || fail "the compare changed the file"
echo "diff --controller: equal and two differences as expected"

stop "$virtual_pid"
virtual_pid=""
bounded 40 "$lumo" diff served.lumo --controller >gone.log 2>&1
status=$?
[ "$status" -eq 1 ] && grep -q "Vorel Lumo Device is not exist." gone.log || fail "without the controller: exit $status, $(cat gone.log)"
echo "diff --controller: all checks passed"
