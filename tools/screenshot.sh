#!/usr/bin/env bash
# Runs the editor under Xvfb from the folder of the shipped parameter files and saves PNGs of
# the main window and of the About window.
# Usage: tools/screenshot.sh [editor binary] [output folder, default build/screenshots]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
editor=$(realpath "${1:-$root/build/editor/vorel-lumo}")
out=$(mkdir -p "${2:-$root/build/screenshots}" && cd "${2:-$root/build/screenshots}" && pwd)
[ -x "$editor" ] || { echo "screenshot.sh: no editor at $editor" >&2; exit 1; }

display=":$((90 + RANDOM % 400))"
Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
app=""
cleanup() {
  [ -n "$app" ] && kill "$app" 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true
}
trap cleanup EXIT
export DISPLAY=$display QT_QPA_PLATFORM=xcb

# Waits up to 10 s for a visible window whose title is $1 and prints its id.
wait_window() {
  for _ in $(seq 1 100); do
    id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n1 || true)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  echo "screenshot.sh: window \"$1\" did not appear" >&2
  return 1
}

for _ in $(seq 1 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
(cd "$root/assets" && exec "$editor") &
app=$!
main=$(wait_window CTL_614)
sleep 1
import -window "$main" "$out/main-window.png"

xdotool windowfocus --sync "$main" 2>/dev/null || true
xdotool key --window "$main" ctrl+h
about=$(wait_window "About Vorel Lumo")
sleep 0.5
import -window "$about" "$out/about-window.png"
# A screenshot of the whole screen shows the About window over the main window.
import -window root "$out/screen.png"
echo "$out/main-window.png $out/about-window.png $out/screen.png"
