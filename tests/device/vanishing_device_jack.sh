#!/usr/bin/env bash
# A controller that vanishes in the middle of a read, through a real MIDI server: `lumo virtual`
# is killed (SIGKILL, its JACK ports disappear) once `lumo read` has shown some progress. The
# read must fail within the reply bound (1 s) plus slack and its process end soon after, with exit
# status 1, show neither "Read data OK." nor a device-search message, and leave the existing
# scene file and its backup as they were.
# Usage: vanishing_device_jack.sh PATH_TO_LUMO. Exit 77 (skipped) when jackd or script is missing.
set -uo pipefail

lumo=$(realpath "${1:?path to lumo}")
here=$(cd "$(dirname "$0")" && pwd)
assets="$here/../../assets"

for tool in jackd script; do
    if ! command -v $tool >/dev/null 2>&1; then
        echo "SKIPPED: $tool is not installed"
        exit 77
    fi
done

source "$here/jack_test_support.sh"
private_shm "$0" "$@"
work=$(mktemp -d)
virtual_pid=""
read_pid=""

cleanup() {
    stop "$read_pid"
    stop "$virtual_pid"
    # The server is stuck on the clients that vanished (the killed controller's and the read's
    # own, which could not be closed); stopped now, it leaves its registry entry behind, which
    # stop_stuck_jack frees.
    stop_stuck_jack
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM HUP PIPE

cd "$work" || exit 1
cp "$assets/DefPara.ini" "$assets/NotePara.ini" . 2>/dev/null
start_jack "lumo-vanish-$$"

# The file that a successful read would replace, with a backup beside it.
"$lumo" defaults -o scenes.lumo >defaults.log 2>&1 || fail "lumo defaults"
"$lumo" defaults -o scenes.lumo >>defaults.log 2>&1 || fail "lumo defaults"
cp scenes.lumo scenes-before.lumo
cp scenes.BAK backup-before.BAK

"$lumo" virtual </dev/null >virtual.log 2>&1 &
virtual_pid=$!
wait_for "Vorel Lumo (virtual)" || fail "the virtual controller's ports did not appear"

# `script` gives the read a terminal, so that it draws its progress bar, copied to read.log.
script -qfec "exec $lumo read -o scenes.lumo" read.log </dev/null >/dev/null 2>&1 &
read_pid=$!

# Kill the controller once the read has passed 10 % (but has not finished).
killed=""
for _ in $(seq 1000); do
    if grep -qE '(1[0-9]|[2-9][0-9])%' read.log 2>/dev/null; then
        kill -KILL "$virtual_pid"
        killed=$(date +%s%N)
        break
    fi
    kill -0 "$read_pid" 2>/dev/null || break
    sleep 0.01
done
[ -n "$killed" ] || fail "the read showed no progress before it ended"
grep -q '100%' read.log && fail "the read had already finished when the controller was killed"
wait "$virtual_pid" 2>/dev/null
virtual_pid=""

# The read waits at most 1 s for the reply that never comes; allow 2 s until it reports, and 4 s
# until the process has ended. The server is stuck on the killed client for about 9 s, and
# closing the ports and clients must not wait for it (it did, ending the process after 10 s);
# the loop goes on to 30 s so that a slow end is measured rather than cut off.
reported=""
status=""
for _ in $(seq 3000); do
    [ -z "$reported" ] && grep -q "lumo: " <(tr '\r' '\n' <read.log) && reported=$(date +%s%N)
    if ! kill -0 "$read_pid" 2>/dev/null; then
        wait "$read_pid"
        status=$?
        break
    fi
    sleep 0.01
done
ended=$(date +%s%N)
[ -n "$reported" ] || reported=$ended
echo "the read failed $(( (reported - killed) / 1000000 )) ms after the controller was killed;" \
     "the process ended after $(( (ended - killed) / 1000000 )) ms with exit status ${status:-none}"
[ -n "$status" ] || fail "the read was still running 30 s after the controller vanished"
read_pid=""
[ $(( (reported - killed) / 1000000 )) -le 2000 ] || fail "the read took longer than 2 s to fail"
[ $(( (ended - killed) / 1000000 )) -le 4000 ] || fail "the process took longer than 4 s to end"

[ "$status" = 1 ] || fail "exit status $status instead of 1"
grep -q "Read data OK." read.log && fail "the failed read reported success"
grep -q "Vorel Lumo Device is not exist." read.log && fail "the failed read reported a failed search"
cmp scenes.lumo scenes-before.lumo || fail "the scene file changed"
cmp scenes.BAK backup-before.BAK || fail "the backup changed"
[ -z "$(find . -name '.scenes.lumo*' -o -name '*.tmp')" ] || fail "a temporary file was left behind"
echo "PASSED"
