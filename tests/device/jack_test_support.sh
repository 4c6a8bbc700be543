# Shared by the JACK end-to-end tests and benchmarks (sourced): a JACK server of the test's own
# with the dummy driver, and helpers that stop what the test started. The sourcing script sets
# `lumo` (the tool under test) and `work` (its folder, whose *.log files a failure prints).
# Nothing here touches any other JACK server or its files.

jack_pid=""

# Ends the sourcing test as skipped (exit 77) when JACK's server is not installed.
skip_without_jackd() {
    command -v jackd >/dev/null 2>&1 && return 0
    echo "SKIPPED: jackd is not installed (Debian package jackd2)"
    exit 77
}

# private_shm SCRIPT ARGS...: runs the sourcing script again in a mount namespace of its own with
# an empty /dev/shm, where JACK keeps its server registry, semaphores and sockets. Our server
# then cannot see, disturb or fill the registry of the machine's servers (it holds 8 servers,
# and a killed server leaves its entry behind). Where user namespaces are not allowed the script
# runs as it is: our server gets a unique name and is always stopped with SIGTERM, which takes
# its entry out again.
private_shm() {
    [ -n "${LUMO_JACK_PRIVATE_SHM:-}" ] && return 0
    if unshare --user --map-root-user --mount true 2>/dev/null; then
        export LUMO_JACK_PRIVATE_SHM=1
        exec unshare --user --map-root-user --mount -- \
            sh -c 'mount -t tmpfs -o mode=1777 lumo-jack-shm /dev/shm && exec "$0" "$@"' "$@"
    fi
    export LUMO_JACK_PRIVATE_SHM=0
}

stop() { # stop PID: ends one process we started and waits for it
    local pid=$1
    [ -n "$pid" ] || return 0
    kill -TERM "$pid" 2>/dev/null
    for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
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

# start_jack NAME: a server of our own under a unique name, with JACK forced on machines that
# also have an ALSA sequencer. The settings (the remembered port pair) and the send backups go
# into the work folder.
start_jack() {
    export JACK_DEFAULT_SERVER="$1" JACK_NO_START_SERVER=1 LUMO_MIDI_API=jack XDG_CONFIG_HOME="$work/config" \
        XDG_DATA_HOME="$work/data"
    jackd --no-realtime --sync -n "$1" -d dummy -r 48000 -p 32 </dev/null >jackd.log 2>&1 &
    jack_pid=$!
    wait_for "MIDI system: JACK" || fail "the JACK server did not start"
}
