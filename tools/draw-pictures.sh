#!/usr/bin/env bash
# Redraws the two pictures of the editor (assets/pictures/*.jpg) from draw_pictures.cpp.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build}
cmake -S . -B "$build" >/dev/null
cmake --build "$build" --target draw-pictures -j2
"$build"/editor/draw-pictures assets/pictures
