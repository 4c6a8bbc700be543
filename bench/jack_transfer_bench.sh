#!/usr/bin/env bash
# The cost of the device search and of a full read through a JACK server with the dummy driver:
# 0 to 3 silent clients (an input and an output port each that never answer) listed before the
# controller (`lumo virtual`). For each count it times the search alone (jack_search_bench), with
# no remembered pair and with one, then `lumo read` with no remembered pair and with the pair
# remembered from the read before, and `lumo ports` as the tool's start-up; CPU time is the read
# process's own (getrusage). Prints one table row per count, medians of RUNS.
# With READS=N it times N reads on the remembered pair instead: how many complete, how many
# restarts after a lost reply, their times; LOAD=K keeps K busy processes per core running
# meanwhile. LUMO_JACK_MODE chooses the server (async, sync, rt, pipewire; see
# tests/device/jack_test_support.sh).
# Usage: [COUNTS="0 3"] [READS=20 [LOAD=2]] [LUMO_JACK_MODE=rt] [LUMO=path]
#        jack_transfer_bench.sh BUILD_DIR [RUNS]
set -uo pipefail
export LUMO_TEST_SECONDS=${LUMO_TEST_SECONDS:-36000} # no test's time limit

build=$(realpath "${1:?build folder}")
runs=${2:-5}
lumo=${LUMO:-$build/cli/lumo} # LUMO=path measures another build of the tool
measure="$build/bench/measure_command"
search="$build/bench/jack_search_bench"
silent="$build/tests/support/silent_midi_client"
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../tests/device/jack_test_support.sh"
private_shm "$0" "$@"
work=$(mktemp -d)
virtual_pid=""
silent_pids=()

stop_all() {
    stop "$virtual_pid"
    virtual_pid=""
    for pid in "${silent_pids[@]}"; do stop "$pid"; done
    silent_pids=()
    stop "$jack_pid"
    jack_pid=""
}
trap 'stop_all; rm -rf "$work"' EXIT
trap 'exit 1' INT TERM HUP PIPE

cd "$work" || exit 1
cp "$here/../assets/DefPara.ini" "$here/../assets/NotePara.ini" .

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

if [ -n "${READS:-}" ]; then
    busy=()
    trap 'for pid in "${busy[@]}"; do kill "$pid" 2>/dev/null; done; stop_all; rm -rf "$work"' EXIT
    start_jack "lumo-bench-$$-reads"
    "$lumo" virtual </dev/null >virtual.log 2>&1 &
    virtual_pid=$!
    wait_for "Vorel Lumo (virtual)" || fail "the virtual controller's ports did not appear"
    "$lumo" read -o first.lumo >first.log 2>&1 # finds and remembers the pair
    for _ in $(seq $((${LOAD:-0} * $(nproc)))); do
        sh -c 'while :; do :; done' &
        busy+=($!)
    done
    : >reads.txt
    restarts=0
    for n in $(seq "$READS"); do
        "$measure" "$lumo" read -o "read-$n.lumo" >>reads.txt 2>"read-$n.log"
        restarts=$((restarts + $(grep -c "reading again from the start" "read-$n.log")))
        # Every read that completes takes the same scenes, whichever came first.
        [ -e "read-$n.lumo" ] && [ ! -e expected.lumo ] && cp "read-$n.lumo" expected.lumo
        [ ! -e "read-$n.lumo" ] || cmp -s expected.lumo "read-$n.lumo" || fail "read $n took a wrong byte"
    done
    complete=$(grep -c ' 0$' reads.txt)
    times=$(grep ' 0$' reads.txt | cut -d' ' -f1)
    printf "%s mode, %s busy per core: %s of %s reads complete, %s restarts, median %s s, max %s s\n" \
        "$jack_mode" "${LOAD:-0}" "$complete" "$READS" "$restarts" \
        "$(median <<<"$times")" "$(sort -n <<<"$times" | tail -1)" | sed "s/median  s, max  s/no times/"
    grep -h "^lumo: " read-*.log | sed 's/byte [0-9]*/byte N/' | sort | uniq -c
    exit 0
fi

printf "%-6s | %-9s %-13s | %-10s %-10s | %-10s %-10s | %-10s %-10s | %s\n" silent search_ms remembered_ms \
    read_s read_cpu_s \
    remembered_s remembered_cpu_s startup_s startup_cpu_s "cpu share beyond start-up"
for count in ${COUNTS:-0 1 2 3}; do
    start_jack "lumo-bench-$$-$count"
    for n in $(seq "$count"); do
        "$silent" "silent-$n" </dev/null >>silent.log 2>&1 &
        silent_pids+=($!)
        wait_for "silent-$n" || fail "silent client $n did not appear"
    done
    "$lumo" virtual </dev/null >virtual.log 2>&1 &
    virtual_pid=$!
    wait_for "Vorel Lumo (virtual)" || fail "the virtual controller's ports did not appear"

    searches=$("$search" "$runs" 2>>read.log) || fail "the search bench found no controller"
    : >fresh.txt; : >remembered.txt; : >startup.txt
    for _ in $(seq "$runs"); do
        rm -rf "$XDG_CONFIG_HOME" # start_jack put the settings (the remembered pair) into $work
        "$measure" "$lumo" read -o fresh.lumo >>fresh.txt 2>>read.log
        "$measure" "$lumo" read -o remembered.lumo >>remembered.txt 2>>read.log
        "$measure" "$lumo" ports >>startup.txt 2>/dev/null
    done
    grep -qv ' 0$' fresh.txt remembered.txt && fail "a read failed: $(cat fresh.txt remembered.txt)"
    fw=$(cut -d' ' -f1 fresh.txt | median); fc=$(cut -d' ' -f2 fresh.txt | median)
    rw=$(cut -d' ' -f1 remembered.txt | median); rc=$(cut -d' ' -f2 remembered.txt | median)
    sw=$(cut -d' ' -f1 startup.txt | median); sc=$(cut -d' ' -f2 startup.txt | median)
    share=$(awk -v rw="$rw" -v rc="$rc" -v sw="$sw" -v sc="$sc" \
        'BEGIN { d = rw - sw; printf "%.1f %%", (d > 0) ? 100 * (rc - sc) / d : 0 }')
    printf "%-6s | %-9s %-13s | %-10s %-10s | %-12s %-16s | %-10s %-13s | %s\n" "$count" $searches "$fw" "$fc" "$rw" "$rc" "$sw" "$sc" "$share"
    stop_all
done
