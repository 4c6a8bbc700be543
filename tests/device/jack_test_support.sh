# Shared by the JACK end-to-end tests and benchmarks (sourced): a JACK server of the test's own
# with the dummy driver, and helpers that stop what the test started. The sourcing script sets
# `lumo` (the tool under test) and `work` (its folder, whose *.log files a failure prints).
# Nothing here touches any other JACK server or its files.
#
# LUMO_JACK_MODE chooses the server, as users run it:
#   async     jackd in its default (asynchronous) mode, no real-time scheduling (the default);
#   sync      jackd --sync: every client finishes each cycle before the driver goes on;
#   rt        jackd -R: real-time scheduling for the server and its clients' process threads;
#   pipewire  a headless PipeWire daemon (its dummy driver, quantum 64, real-time) reached
#             through PipeWire's libjack, with a runtime folder of its own: no D-Bus, no
#             session manager. Without real time it loses many messages once the machine is
#             busy; with it, two cores let it lose one now and then (one core: none).
# LUMO_JACK_PRIVATE_SHM=0 takes the path of machines without user namespaces (a chroot, most
# containers), where our server shares /dev/shm with the machine's.

jack_pid=""
jack_mode=${LUMO_JACK_MODE:-async}
pipewire_jack=/usr/lib/x86_64-linux-gnu/pipewire-0.3/jack

# Each wait below is bounded by what is left of the test's own time, which ends well before
# CTest's timeout (180 s), so that a stuck step fails with its logs instead of being killed.
test_deadline=$((SECONDS + ${LUMO_TEST_SECONDS:-150}))

# seconds_left N: N, or the test's time left when that is shorter; 0 once it has run out.
seconds_left() {
    local rest=$((test_deadline - SECONDS))
    [ "$rest" -gt 0 ] || rest=0
    echo $(($1 < rest ? $1 : rest))
}

# bounded N COMMAND...: COMMAND for at most N seconds (timeout's status 124 when it ran out).
bounded() {
    local limit
    limit=$(seconds_left "$1")
    shift
    [ "$limit" -gt 0 ] || fail "the test ran out of its ${LUMO_TEST_SECONDS:-150} s before: $*"
    timeout "$limit" "$@"
}

# Ends the sourcing test as skipped (exit 77) when the chosen server is not installed.
skip_without_jackd() {
    if [ "$jack_mode" = pipewire ]; then
        command -v pipewire >/dev/null 2>&1 && [ -e "$pipewire_jack/libjack.so.0" ] && return 0
        echo "SKIPPED: PipeWire's JACK is not installed (Debian packages pipewire, pipewire-jack)"
        exit 77
    fi
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
    # Root's right to real-time scheduling does not reach into a user namespace: jackd -R
    # runs on the machine's /dev/shm where only that gives it real time. So does PipeWire,
    # which takes real time as a desktop's does (it keeps nothing in /dev/shm).
    if { [ "$jack_mode" = rt ] || [ "$jack_mode" = pipewire ]; } && chrt -f 1 true 2>/dev/null &&
        ! unshare --user --map-root-user chrt -f 1 true 2>/dev/null; then
        export LUMO_JACK_PRIVATE_SHM=0
        return 0
    fi
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

# fail MESSAGE: prints it and every log of the work folder, and ends the test. A server that
# misses cycles writes a line for each (XRun, or "Process error" in the default mode), hundreds
# of them; they are counted, not shown.
missed_cycle='XRun|ProcessGraphAsyncMaster: Process error'
fail() {
    echo "FAILED ($jack_mode): $*"
    for log in "$work"/*.log; do
        [ -f "$log" ] || continue
        echo "--- $(basename "$log")"
        grep -vE "$missed_cycle" "$log" | cat -v
        local missed
        missed=$(grep -cE "$missed_cycle" "$log")
        [ "$missed" -eq 0 ] || echo "($missed lines of missed cycles left out: XRun, Process error)"
    done
    exit 1
}

# wait_for PATTERN [SECONDS]: until `lumo ports` prints PATTERN, at most SECONDS (20).
wait_for() {
    local until=$((SECONDS + ${2:-20}))
    while [ "$SECONDS" -lt "$until" ]; do
        [ "$(seconds_left 1)" -gt 0 ] || fail "the test ran out of its time waiting for '$1'"
        # Read whole first: grep -q would end the pipe early and fail it under pipefail.
        local listed
        listed=$(bounded $((until - SECONDS + 1)) "$lumo" ports 2>/dev/null)
        grep -qF "$1" <<<"$listed" && return 0
        kill -0 "$jack_pid" 2>/dev/null || return 1
        sleep 0.1
    done
    return 1
}

# jack_environment NAME: what our clients need to find the server NAME, also when they start
# before it: JACK forced on machines that also have an ALSA sequencer, and the settings (the
# remembered port pair) and the send backups in the work folder.
jack_environment() {
    export JACK_DEFAULT_SERVER="$1" JACK_NO_START_SERVER=1 LUMO_MIDI_API=jack XDG_CONFIG_HOME="$work/config" \
        XDG_DATA_HOME="$work/data"
}

# stop_stuck_jack: stops our server after it was stuck on vanished clients. Such a server exits
# without taking its entry out of JACK's registry in /dev/shm, which holds 8 servers and frees an
# entry only for a server of the same name. In a mount namespace of our own that does not
# matter; on the machine's /dev/shm (no user namespaces: a chroot, most containers) every run
# would take one slot for good, and after 8 runs no JACK server would start. A short clean run
# of a server under our name frees it, and the semaphores the stuck one left go with it.
stop_stuck_jack() {
    [ -n "$jack_pid" ] || return 0
    stop "$jack_pid"
    jack_pid=""
    [ "${LUMO_JACK_PRIVATE_SHM:-}" = 0 ] && [ "$jack_mode" != pipewire ] || return 0
    # JACK names a semaphore jack_sem.UID_SERVER_CLIENT: these are our server's alone.
    local ours="/dev/shm/jack_sem.$(id -u)_${JACK_DEFAULT_SERVER}_"
    ls "$ours"* >/dev/null 2>&1 || return 0
    jackd --no-realtime -p 16 -n "$JACK_DEFAULT_SERVER" -d dummy -r 48000 -p 1024 </dev/null >>jackd-reclaim.log 2>&1 &
    jack_pid=$!
    wait_for "MIDI system: JACK" 10 || echo "could not free the JACK registry entry of $JACK_DEFAULT_SERVER"
    stop "$jack_pid"
    jack_pid=""
    rm -f "$ours"*
}

# start_jack NAME: a server of our own under a unique name.
start_jack() {
    jack_environment "$1"
    # JACK has every client lock the server's shared graph into memory (mlock), which only
    # root may do beyond the 8 MB limit: for the default 2,048 ports that is 107 MB per client,
    # and under load a client's open then outlasted the bound our clients give it. A client
    # given up in the middle of its activation stalls a --sync server for 5 s per cycle
    # (10 client timeouts), the opens after it give up too, and the test hung. 128 ports (more
    # than any test makes) are 42 MB.
    local ports=(-p 128)
    case "$jack_mode" in
        sync) jackd --no-realtime --sync "${ports[@]}" -n "$1" -d dummy -r 48000 -p "${LUMO_JACK_PERIOD:-32}" </dev/null >jackd.log 2>&1 & ;;
        async) jackd --no-realtime "${ports[@]}" -n "$1" -d dummy -r 48000 -p "${LUMO_JACK_PERIOD:-32}" </dev/null >jackd.log 2>&1 & ;;
        rt) jackd -R "${ports[@]}" -n "$1" -d dummy -r 48000 -p "${LUMO_JACK_PERIOD:-32}" </dev/null >jackd.log 2>&1 & ;;
        pipewire)
            # PipeWire's libjack takes the server from the runtime folder, not from its name.
            export XDG_RUNTIME_DIR="$work/runtime" PIPEWIRE_RUNTIME_DIR="$work/runtime" \
                LD_LIBRARY_PATH="$pipewire_jack${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}"
            mkdir -p -m 700 "$XDG_RUNTIME_DIR"
            pipewire -c "$(dirname "${BASH_SOURCE[0]}")/pipewire_test.conf" </dev/null >pipewire.log 2>&1 & ;;
        *) echo "FAILED: LUMO_JACK_MODE=$jack_mode is none of async, sync, rt, pipewire"; exit 1 ;;
    esac
    jack_pid=$!
    wait_for "MIDI system: JACK" || fail "the $jack_mode server did not start"
}
