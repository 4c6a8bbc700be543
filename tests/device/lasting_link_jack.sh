#!/usr/bin/env bash
# A link that lasts through changes, through a real JACK server with its dummy driver:
# `lumo monitor` follows a controller that is replugged under the same and under other port
# names and through a restart of the server; two controllers are listed by `lumo ports --scan`
# and each is chosen in turn with --port; a read during which a sequencer's transport runs
# (start, stop, continue, song position, tune request, reset, clock) succeeds byte for byte.
# Usage: lasting_link_jack.sh PATH_TO_LUMO PATH_TO_PLAYED_CONTROLLER. Exit
# 77 (skipped) only when jackd is not installed.
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
virtual_pid=""

cleanup() {
    stop "$monitor_pid"
    stop "$played_pid"
    stop "$virtual_pid"
    stop "$jack_pid"
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM HUP PIPE

cd "$work" || exit 1
cp "$assets/DefPara.ini" "$assets/NotePara.ini" .
start_jack "lumo-lasting-$$"
echo "JACK server '$JACK_DEFAULT_SERVER' runs"

play() { # play NAME: a played controller sending CC 99 (no match) every 100 ms
    "$played" "$1" 4063B0 </dev/null >>played.log 2>&1 &
    played_pid=$!
    wait_for "$1" || fail "the played controller '$1' did not appear"
}
unplug() { stop "$played_pid"; played_pid=""; }
# saw COUNT PATTERN: until monitor.log holds COUNT lines matching PATTERN, at most 20 s.
saw() {
    for _ in $(seq 200); do
        [ "$(grep -c "$2" monitor.log)" -ge "$1" ] && return 0
        kill -0 "$monitor_pid" 2>/dev/null || fail "lumo monitor ended"
        sleep 0.1
    done
    return 1
}
lines_after_back() { # the monitor prints the controller's messages again
    local before
    before=$(grep -c "^no match" monitor.out)
    for _ in $(seq 100); do
        [ "$(grep -c "^no match" monitor.out)" -gt "$before" ] && return 0
        sleep 0.1
    done
    fail "no line from the controller after it came back"
}

# Replug under the same names, under other names, and a server restart: one monitor throughout.
play "Vorel Lumo (played)"
"$lumo" monitor </dev/null >monitor.out 2>monitor.log &
monitor_pid=$!
saw 1 "following" || fail "lumo monitor found no controller"
unplug
saw 1 "vanished; waiting for it to come back" || fail "no line for the controller's going"
play "Vorel Lumo (played)"
saw 1 "is back on \".*Vorel Lumo (played)" || fail "no line for the controller's coming back"
lines_after_back
echo "monitor: replugged under the same names"
unplug
saw 2 "vanished; waiting" || fail "no line for the second going"
play "Vorel Lumo (elsewhere)"
saw 1 "is back on \".*Vorel Lumo (elsewhere)" || fail "not found again under other names"
lines_after_back
echo "monitor: replugged under other names"
unplug
stop "$jack_pid"
saw 3 "vanished; waiting" || fail "no line for the server's going"
start_jack "$JACK_DEFAULT_SERVER"
play "Vorel Lumo (played)"
saw 2 "is back on \".*Vorel Lumo (played)" || fail "not found again after the server restarted"
lines_after_back
kill -INT "$monitor_pid"
wait "$monitor_pid"; status=$?; monitor_pid=""
[ "$status" -eq 0 ] || fail "lumo monitor ended with $status after SIGINT"
echo "monitor: through a server restart"
unplug

# Two controllers, each chosen in turn.
"$lumo" virtual </dev/null >virtual.log 2>&1 &
virtual_pid=$!
wait_for "Vorel Lumo (virtual)" || fail "the virtual controller did not appear"
play "Vorel Lumo (played)"
bounded 40 "$lumo" ports --scan >scan.out 2>scan.log || fail "lumo ports --scan"
grep -q "^answering: 2$" scan.out || fail "the scan did not list both controllers: $(cat scan.out)"
for name in "(virtual)" "(played)"; do
    bounded 40 "$lumo" read --port "$name" -o "chosen.lumo" >read.log 2>&1 || fail "a read with --port $name"
    grep -q "Vorel Lumo $name" config/vorel-lumo/device.ini || fail "--port $name did not choose it"
done
bounded 40 "$lumo" read --port "nobody" -o none.lumo >read.log 2>&1 && fail "a read with --port of no port succeeded"
grep -q "Vorel Lumo Device is not exist." read.log || fail "no not-found message for --port nobody"
echo "two controllers: listed, each chosen by --port"
unplug

# A sequencer's transport and clock throughout a read: left out, the read is byte-exact.
"$played" "Vorel Lumo (sequenced)" --always F8 FA F8 FC FB 0010F2 F6 FF FE </dev/null >>played.log 2>&1 &
played_pid=$!
wait_for "Vorel Lumo (sequenced)" || fail "the sequenced controller did not appear"
bounded 40 "$lumo" read --port "(sequenced)" -o sequenced.lumo >read.log 2>&1 || fail "a read during transport messages"
cmp -s sequenced.lumo chosen.lumo || fail "the read during transport messages differs"
echo "read: transport messages left out"
echo "PASSED"
