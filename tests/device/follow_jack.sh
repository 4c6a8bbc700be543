#!/usr/bin/env bash
# Following the controller through a real MIDI server: a JACK server with its dummy driver, a
# played controller in one process, `lumo monitor` in another. The controller's Control Changes
# come out as lines naming their control; SIGINT ends the monitor with status 0, a controller
# that goes away is reported and the monitor listens on; a read from a controller that sends clock and active
# sensing all the time succeeds.
# Usage: follow_jack.sh PATH_TO_LUMO PATH_TO_PLAYED_CONTROLLER. Exit 77 (skipped) only when
# jackd is not installed.
set -uo pipefail

lumo=$(realpath "${1:?path to lumo}")
played=$(realpath "${2:?path to played_controller}")
here=$(cd "$(dirname "$0")" && pwd)
assets="$here/../../assets"

source "$here/jack_test_support.sh"
skip_without_jackd
private_shm "$0" "$@"
work=$(mktemp -d)
played_pid=""
monitor_pid=""

cleanup() {
    stop "$monitor_pid"
    stop "$played_pid"
    stop "$jack_pid"
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM HUP PIPE

cd "$work" || exit 1
cp "$assets/DefPara.ini" "$assets/NotePara.ini" .
start_jack "lumo-follow-$$"
echo "JACK server '$JACK_DEFAULT_SERVER' runs"

# B0 15 40: Konb-2 of the default scenes; B0 63 40: CC 99, which no control sends.
"$played" "Vorel Lumo (played)" 4015B0 4063B0 </dev/null >played.log 2>&1 &
played_pid=$!
wait_for "Vorel Lumo (played)" || fail "the played controller's ports did not appear"

start_monitor() {
    "$lumo" monitor </dev/null >monitor.out 2>monitor.log &
    monitor_pid=$!
    for _ in $(seq 100); do grep -q "^no match" monitor.out && return 0; sleep 0.1; done
    fail "lumo monitor printed no line"
}
ended_with() { # ended_with STATUS: the monitor ends within 10 s with that exit status
    for _ in $(seq 100); do kill -0 "$monitor_pid" 2>/dev/null || break; sleep 0.1; done
    kill -0 "$monitor_pid" 2>/dev/null && fail "lumo monitor did not end"
    wait "$monitor_pid"
    local status=$?
    monitor_pid=""
    [ "$status" -eq "$1" ] || fail "lumo monitor ended with $status, wanted $1"
}

start_monitor
grep -qx "scene 1, Konb-2: CC 21 = 64 on channel 1" monitor.out || fail "no line for Konb-2"
grep -qx "no match: CC 99 = 64 on channel 1" monitor.out || fail "CC 99 not marked as matching nothing"
kill -INT "$monitor_pid"
ended_with 0
echo "monitor: lines as played, ended by SIGINT"

start_monitor
stop "$played_pid"
played_pid=""
for _ in $(seq 100); do grep -q "^lumo: the controller's MIDI port vanished; waiting" monitor.log && break; sleep 0.1; done
grep -q "^lumo: the controller's MIDI port vanished; waiting" monitor.log || fail "no word of the vanished port"
kill -INT "$monitor_pid"
ended_with 0
echo "monitor: the controller's going reported, listening on"

timeout 60 "$lumo" monitor >monitor.out 2>monitor.log && fail "lumo monitor without a controller succeeded"
grep -q "^lumo: Vorel Lumo Device is not exist." monitor.log || fail "no 'Vorel Lumo Device is not exist.'"

# Timing clock and active sensing, which many keyboards send all the time, are no part of a
# transfer: a read from a controller that sends them throughout succeeds.
"$played" "Vorel Lumo (sensing)" --always F8 FE </dev/null >>played.log 2>&1 &
played_pid=$!
wait_for "Vorel Lumo (sensing)" || fail "the sensing controller's ports did not appear"
timeout 60 "$lumo" read -o sensing.lumo >read.log 2>&1 || fail "a read from a controller that sends clock"
echo "read: clock and active sensing left out"
echo "PASSED"
