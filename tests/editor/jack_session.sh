#!/usr/bin/env bash
# The running editor from before the JACK server starts, through a replug of the controller, a
# restart of the server under it and a second controller: jack_session_window drives the window
# and tells this script when to start, unplug, plug, restart and add the second; `lumo virtual`
# is each controller.
# Usage: jack_session.sh PATH_TO_LUMO PATH_TO_JACK_SESSION_WINDOW. Exit 77 (skipped) only when
# jackd is not installed.
set -uo pipefail

lumo=$(realpath "${1:?path to lumo}")
window_test=$(realpath "${2:?path to jack_session_window}")
here=$(cd "$(dirname "$0")" && pwd)

source "$here/../device/jack_test_support.sh"
skip_without_jackd
private_shm "$0" "$@"
work=$(mktemp -d)
virtual_pid=""
second_pid=""
jack_pid=""
window_pid=""

cleanup() {
    stop "$window_pid"
    stop "$second_pid"
    stop "$virtual_pid"
    stop "$jack_pid"
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM HUP PIPE

cd "$work" || exit 1
cp "$here/../../assets/DefPara.ini" "$here/../../assets/NotePara.ini" .
start_virtual() {
    "$lumo" virtual </dev/null >>virtual.log 2>&1 &
    virtual_pid=$!
    wait_for "Vorel Lumo (virtual)" || fail "the virtual controller's ports did not appear"
}
server="lumo-session-$$"
# The second controller serves Konb-1 of scene 1 on CC 99, the first on the default 20.
"$lumo" defaults -o second.lumo >defaults.log 2>&1 && "$lumo" set second.lumo 1 Konb-1 KonbCCNumber 99 >>defaults.log 2>&1 ||
    fail "the second controller's scenes"

# The editor starts before the server.
jack_environment "$server"
coproc WINDOW { QT_QPA_PLATFORM=offscreen "$window_test" 2>&1 | tee window.log | grep --line-buffered -E '^(start|unplug|plug|restart|second)$'; }
window_pid=$WINDOW_PID
while read -r -t 120 step <&"${WINDOW[0]}"; do
    case "$step" in
        start) start_jack "$server"; start_virtual ;;
        unplug) stop "$virtual_pid"; virtual_pid="" ;;
        plug) start_virtual ;;
        restart)
            stop "$virtual_pid"
            stop "$jack_pid"
            start_jack "$server"
            start_virtual ;;
        second)
            "$lumo" virtual second.lumo </dev/null >>second.log 2>&1 &
            second_pid=$!
            for _ in $(seq 100); do
                [ "$(bounded 5 "$lumo" ports --scan 2>/dev/null | grep -c "Vorel Lumo")" -ge 2 ] && break
                sleep 0.1
            done ;;
    esac
    echo done >&"${WINDOW[1]}"
done
wait "$window_pid"
status=$?
window_pid=""
grep -q '^Totals: .* 0 failed' window.log || fail "the window test failed"
[ "$status" -eq 0 ] || fail "the window test ended with $status"
echo "PASSED: the running editor from before the server, through a replug, a server restart and two controllers"
