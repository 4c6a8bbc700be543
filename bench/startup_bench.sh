#!/usr/bin/env bash
# Start-up of the editor against a bare Qt main window, on a private Xvfb without a window
# manager, from the folder of the shipped parameter files.
# Usage: bench/startup_bench.sh [BUILD_DIR, default build] [PAIRS, default 25]
# LUMO_EDITOR=PATH times another build of the editor (an older one, for a before/after).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath "${1:-$root/build}")
pairs=${2:-25}
display=":$((500 + RANDOM % 400))"
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
runtime=$(mktemp -d)
trap 'kill $xvfb 2>/dev/null || true; rm -rf "$runtime"' EXIT
export DISPLAY=$display QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR=$runtime
for _ in $(seq 1 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
cd "$root/assets"
"$build/bench/startup_map_bench" "$pairs" "${LUMO_EDITOR:-$build/editor/vorel-lumo}" "$build/bench/bare_window"
