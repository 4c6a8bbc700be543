# Shared by the JACK end-to-end tests (sourced): a JACK server of the test's own with the dummy
# driver, and helpers that stop what the test started. The sourcing script sets `lumo` (the tool
# under test) and `work` (its folder, whose *.log files a failure prints).

jack_pid=""

stop() { # stop PID: ends one process we started and waits for it
    local pid=$1
    [ -n "$pid" ] || return 0
    kill -TERM "$pid" 2>/dev/null
    for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    kill -KILL "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
}

fail() {
    echo "FAILED: $*"
    for log in "$work"/*.log; do [ -f "$log" ] && { echo "--- $(basename "$log")"; cat -v "$log"; }; done
    exit 1
}

# wait_for PATTERN: until `lumo ports` prints PATTERN, at most 10 s.
wait_for() {
    for _ in $(seq 100); do
        # Read whole first: grep -q would end the pipe early and fail it under pipefail.
        local listed
        listed=$(timeout 10 "$lumo" ports 2>/dev/null)
        grep -qF "$1" <<<"$listed" && return 0
        kill -0 "$jack_pid" 2>/dev/null || return 1
        sleep 0.1
    done
    return 1
}

# start_jack NAME: a server of our own, so that no other JACK user is disturbed, with JACK forced
# on machines that also have an ALSA sequencer.
start_jack() {
    export JACK_DEFAULT_SERVER="$1" JACK_NO_START_SERVER=1 LUMO_MIDI_API=jack
    # JACK's shared registry holds 8 servers; a server that was killed leaves its entry behind,
    # and after 8 of those no server starts any more. With no server running every entry is
    # stale, so the registry can go.
    if ! pgrep -x jackd >/dev/null 2>&1; then
        rm -f /dev/shm/jack-shm-registry /dev/shm/jack_* /dev/shm/jack_sem.* 2>/dev/null
    fi
    jackd --no-realtime --sync -n "$1" -d dummy -r 48000 -p 32 </dev/null >jackd.log 2>&1 &
    jack_pid=$!
    wait_for "MIDI system: JACK" || fail "the JACK server did not start"
}
