#!/usr/bin/env bash
# The device search in a crowded JACK graph, and stopping a read with SIGINT: a client whose
# ports came and went before the controller's (JACK hands their port ids out again), and two
# silent clients listed before the controller, must not hide it; SIGINT during a read ends it
# with status 1 and writes no file.
# Usage: crowded_jack.sh PATH_TO_LUMO PATH_TO_SILENT_MIDI_CLIENT. Exit 77 (skipped) without jackd.
set -uo pipefail

lumo=$(realpath "${1:?path to lumo}")
silent=$(realpath "${2:?path to silent_midi_client}")
here=$(cd "$(dirname "$0")" && pwd)

source "$here/jack_test_support.sh"
skip_without_jackd
private_shm "$0" "$@"
work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do stop "$pid"; done
    stop "$jack_pid"
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM HUP PIPE

cd "$work" || exit 1
cp "$here/../../assets/DefPara.ini" "$here/../../assets/NotePara.ini" .
start_jack "lumo-crowded-$$"

start_silent() { # start_silent NAME
    "$silent" "$1" </dev/null >>silent.log 2>&1 &
    pids+=($!)
    wait_for "$1" || fail "silent client $1 did not appear"
}

# A client that leaves after the controller came: its freed port ids go to the next ports made.
start_silent gone
start_silent quiet-1
start_silent quiet-2
"$lumo" virtual </dev/null >virtual.log 2>&1 &
pids+=($!)
wait_for "Vorel Lumo (virtual)" || fail "the virtual controller's ports did not appear"
stop "${pids[0]}"

bounded 40 "$lumo" read -o found.lumo >read.log 2>&1 || fail "lumo read with other clients around"
[ -s found.lumo ] || fail "no scene file after the read"
bounded 40 "$lumo" read -o again.lumo >again.log 2>&1 || fail "lumo read on the remembered pair"
echo "found among other clients"

# SIGINT once the read runs: it stops, says so, and writes nothing. `exec` makes the read the
# terminal's process itself: where SHELL is dash, `sh -c` would otherwise sit between them.
script -qfec "exec $lumo read -o interrupted.lumo" interrupted.log </dev/null >/dev/null 2>&1 &
reader=$!
for _ in $(seq 500); do
    grep -qE '[0-9]+%' interrupted.log 2>/dev/null && break
    sleep 0.01
done
child=$(pgrep -P "$reader")
[ -n "$child" ] || fail "the read under script did not start"
kill -INT "$child"
wait "$reader"
grep -q "The read was cancelled" interrupted.log || fail "the interrupted read did not say it was cancelled"
[ ! -e interrupted.lumo ] || fail "the interrupted read wrote its file"
echo "PASSED"
