#!/usr/bin/env bash
# Installs what is missing, builds (Release) and starts the editor in the folder that holds
# the shipped DefPara.ini and NotePara.ini. The build shows one progress line; its full output
# only when it fails. Nothing is left behind.
set -euo pipefail
cd "$(dirname "$0")"
tools/install-deps.sh
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# progress: turns the build's lines into one line that counts its steps ("[12/85]"), redrawn in
# place on a terminal and printed once otherwise.
progress() {
    if [ -t 1 ]; then
        local line
        while IFS= read -r line; do
            [[ $line =~ ^\[\ *([0-9]+(/[0-9]+|%))\] ]] && printf '\rBuilding... %s' "${BASH_REMATCH[1]}"
        done
        printf '\r\033[K'
    else
        echo "Building..."
        cat >/dev/null
    fi
}

log="$scratch/build.log"
if ! { cmake -S . -B build -DCMAKE_BUILD_TYPE=Release && cmake --build build -j"$(nproc)"; } 2>&1 |
    tee "$log" | progress; then
    cat "$log"
    echo "run.sh: the build failed" >&2
    exit 1
fi

cd assets
# The editor needs a desktop; without one the defaults are shown as text instead.
if [ -x ../build/editor/vorel-lumo ] && [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    rm -rf "$scratch"
    trap - EXIT
    exec ../build/editor/vorel-lumo "$@"
fi
# A file in a fresh folder: saving over an existing file would leave a backup beside it.
../build/cli/lumo defaults -o "$scratch/defaults.lumo"
../build/cli/lumo show "$scratch/defaults.lumo"
