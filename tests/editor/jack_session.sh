#!/usr/bin/env bash
# The running editor through a replug of the controller and a restart of the JACK server under
# it: jack_session_window drives the window and tells this script when to unplug, plug and
# restart; `lumo virtual` is the controller.
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
window_pid=""

cleanup() {
    stop "$window_pid"
    stop "$virtual_pid"
    stop "$jack_pid"
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM HUP PIPE

cd "$work" || exit 1
start_virtual() {
    "$lumo" virtual </dev/null >>virtual.log 2>&1 &
    virtual_pid=$!
    wait_for "Vorel Lumo (virtual)" || fail "the virtual controller's ports did not appear"
}
server="lumo-session-$$"
start_jack "$server"
start_virtual

coproc WINDOW { QT_QPA_PLATFORM=offscreen "$window_test" 2>&1 | tee window.log | grep --line-buffered -E '^(unplug|plug|restart)$'; }
window_pid=$WINDOW_PID
while read -r -t 120 step <&"${WINDOW[0]}"; do
    case "$step" in
        unplug) stop "$virtual_pid"; virtual_pid="" ;;
        plug) start_virtual ;;
        restart)
            stop "$virtual_pid"
            stop "$jack_pid"
            start_jack "$server"
            start_virtual ;;
    esac
    echo done >&"${WINDOW[1]}"
done
wait "$window_pid"
status=$?
window_pid=""
grep -q '^Totals: .* 0 failed' window.log || fail "the window test failed"
[ "$status" -eq 0 ] || fail "the window test ended with $status"
echo "PASSED: reads before and after a replug and a server restart under the running editor"
