#!/usr/bin/env bash
# End to end through a real MIDI server: a JACK server with its dummy driver, `lumo virtual` as
# the controller in one process, `lumo send` (backup and read-back check) and `lumo read` in
# others; the scenes read back must equal the scenes sent, byte for byte, the backup must hold
# what the controller held before, a controller that stores a byte wrongly must fail the send,
# and `--save` must write the scenes back.
# Usage: e2e_jack.sh PATH_TO_LUMO. Exit 77 (skipped) only when jackd is not installed.
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
start_jack "lumo-e2e-$$"
echo "JACK server '$JACK_DEFAULT_SERVER' runs"

start_virtual() { # start_virtual ARGS...
    "$lumo" virtual "$@" </dev/null >virtual.log 2>&1 &
    virtual_pid=$!
    wait_for "Vorel Lumo (virtual)" || fail "the virtual controller's ports did not appear"
}

start_virtual
timeout 60 "$lumo" read -o base.lumo >read-base.log 2>&1 || fail "lumo read of the defaults"

# An image in which every byte differs from its neighbours, written onto the defaults.
perl -e 'print map { chr(($_ * 37 + 11) % 256) } 0 .. 915' >image.bin
"$lumo" unpack image.bin --onto base.lumo -o sent.lumo >unpack.log 2>&1 || fail "lumo unpack"

timeout 60 "$lumo" send sent.lumo >send.log 2>&1 || fail "lumo send"
backups="$work/data/vorel-lumo/backups"
backup=$(sed -n 's/^backup: //p' send.log)
[ "$(dirname "$backup")" = "$backups" ] && [ "$(ls "$backups" | wc -l)" = 1 ] || fail "no backup in $backups"
cmp base.lumo "$backup" || fail "the backup differs from what the controller held"
timeout 60 "$lumo" read -o back.lumo >read.log 2>&1 || fail "lumo read"
cmp sent.lumo back.lumo || fail "the scenes read back differ from the scenes sent"
# Logs: none by default; --verbose shows the pairs the search tries and the transfer's course.
grep -q '^lumo\.' read.log && fail "lumo read logged without --verbose"
timeout 60 "$lumo" --verbose read -o verbose.lumo >read-verbose.log 2>&1 || fail "lumo --verbose read"
grep -q '^lumo.device: tried ".*" -> ".*" - answered in' read-verbose.log || fail "--verbose: no answering pair logged"
grep -q '^lumo.app: read of 916 image bytes started$' read-verbose.log || fail "--verbose: no read start logged"
grep -q '^lumo.app: read done$' read-verbose.log || fail "--verbose: no read end logged"
"$lumo" pack back.lumo -o back.bin >pack.log 2>&1 || fail "lumo pack"
cmp image.bin back.bin || fail "the image packed from the scenes read back differs from the one sent"
echo "sent with a backup and read back: identical"

# A controller that stores byte 300 wrongly: the check names the one setting and fails the send.
stop "$virtual_pid"
start_virtual --store-wrong 300
timeout 60 "$lumo" send sent.lumo --no-backup >send-wrong.log 2>&1 && fail "a wrong store passed the check"
[ "$(grep -c '^scene 2, .*: sent [0-9]*, read [0-9]*$' send-wrong.log)" = 1 ] || fail "not one difference listed"
grep -q "^lumo: 1 difference between the scenes sent and read back" send-wrong.log || fail "no count of differences"
[ "$(ls "$backups" | wc -l)" = 1 ] || fail "--no-backup stored a backup"
timeout 60 "$lumo" send sent.lumo --no-backup --no-verify >send-unchecked.log 2>&1 || fail "lumo send --no-verify"
echo "a wrong store: reported"

# --save writes the scenes it was sent back to its file on exit.
stop "$virtual_pid"
virtual_pid=""
cp base.lumo served.lumo
start_virtual served.lumo --save
timeout 60 "$lumo" send sent.lumo >send-save.log 2>&1 || fail "lumo send to the saving controller"
stop "$virtual_pid"
virtual_pid=""
cmp sent.lumo served.lumo || fail "lumo virtual --save did not write the scenes it was sent"
echo "virtual --save: written"

# With the controller gone the search reports it, and nothing hangs.
timeout 60 "$lumo" read -o none.lumo >missing.log 2>&1 && fail "lumo read without a controller succeeded"
grep -q "Vorel Lumo Device is not exist." missing.log || fail "no 'Vorel Lumo Device is not exist.'"
[ ! -e none.lumo ] || fail "a file was written without a controller"
echo "PASSED"
