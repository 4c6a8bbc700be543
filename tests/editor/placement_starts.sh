#!/usr/bin/env bash
# Starts the editor STARTS times (default 50) under Xvfb with openbox and checks after each
# start that the outer window, frame included, is centred on the work area; exits 1 when any
# start is off. Needs Xvfb, openbox, xdotool and xprop/xwininfo; skips (77) without them.
# Usage: tests/editor/placement_starts.sh EDITOR [STARTS]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
editor=$(realpath "$1")
starts=${2:-50}
for tool in Xvfb openbox xdotool xprop xwininfo; do
  command -v "$tool" >/dev/null || { echo "placement_starts: $tool missing, skipped"; exit 77; }
done

work=$(mktemp -d)
# Xvfb takes a free display number itself and writes it to fd 3.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" >/dev/null 2>"$work/xvfb.log" &
xvfb=$!
wm=""
app=""
cleanup() {
  [ -n "$app" ] && kill "$app" 2>/dev/null || true
  [ -n "$wm" ] && kill "$wm" 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
for _ in $(seq 1 300); do [ -s "$work/display" ] && break; kill -0 "$xvfb" 2>/dev/null || break; sleep 0.1; done
[ -s "$work/display" ] || { echo "placement_starts: Xvfb did not start"; cat "$work/xvfb.log"; exit 1; }
display=":$(cat "$work/display")"
export DISPLAY=$display QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR=$work XDG_CONFIG_HOME=$work/config HOME=$work
x_up=""
for _ in $(seq 1 300); do xdpyinfo >/dev/null 2>&1 && { x_up=1; break; }; kill -0 "$xvfb" 2>/dev/null || break; sleep 0.1; done
[ -n "$x_up" ] || { echo "placement_starts: Xvfb did not answer on $display"; cat "$work/xvfb.log"; exit 1; }
openbox --sm-disable >/dev/null 2>"$work/openbox.log" &
wm=$!
# A loaded machine (the sanitizer tree beside other tests) can take seconds to bring openbox
# up; every start before it would be judged without a frame.
wm_up=""
for _ in $(seq 1 300); do
  xprop -root _NET_WORKAREA 2>/dev/null | grep -q ' = ' && { wm_up=1; break; }
  kill -0 "$wm" 2>/dev/null || break
  sleep 0.1
done
if [ -z "$wm_up" ]; then
  kill -0 "$wm" 2>/dev/null && echo "placement_starts: openbox set no work area within 30 s" ||
    echo "placement_starts: openbox ended before it set a work area"
  cat "$work/openbox.log"
  exit 1
fi

off=0
for n in $(seq 1 "$starts"); do
  (cd "$root/assets" && exec "$editor") >/dev/null 2>>"${PLACEMENT_LOG:-/dev/null}" &
  app=$!
  id=""
  for _ in $(seq 1 100); do
    id=$(xdotool search --onlyvisible --name '^CTL_614$' 2>/dev/null | head -n1 || true)
    [ -n "$id" ] && break
    sleep 0.05
  done
  if [ -z "$id" ]; then echo "start $n: no window"; off=$((off + 1)); kill "$app"; wait "$app" 2>/dev/null || true; app=""; continue; fi
  # Past the second in which the window follows changes of its frame.
  sleep 1.2
  read -r x y w h < <(xwininfo -id "$id" | awk '/Absolute upper-left X/{x=$NF} /Absolute upper-left Y/{y=$NF} /Width:/{w=$NF} /Height:/{h=$NF} END{print x, y, w, h}')
  extents=$(xprop -id "$id" _NET_FRAME_EXTENTS | grep ' = ' | sed 's/.*= //; s/,//g' || true)
  area=$(xprop -root _NET_WORKAREA | grep ' = ' | sed 's/.*= //; s/,//g' || true)
  if [ -z "$extents" ] || [ -z "$area" ]; then
    echo "start $n: the window manager reports no frame or work area"; off=$((off + 1))
    kill "$app"; wait "$app" 2>/dev/null || true; app=""; continue
  fi
  read -r fl fr ft fb <<<"$extents"
  read -r ax ay aw ah _ <<<"$area"
  ow=$((w + fl + fr)); oh=$((h + ft + fb))
  ex=$((ax + (aw > ow ? (aw - ow) / 2 : 0) + fl)); ey=$((ay + (ah > oh ? (ah - oh) / 2 : 0) + ft))
  if [ "$x" -ne "$ex" ] || [ "$y" -ne "$ey" ]; then
    echo "start $n: client at ($x, $y), centred would be ($ex, $ey)"
    off=$((off + 1))
  fi
  kill "$app"; wait "$app" 2>/dev/null || true; app=""
done
echo "placement_starts: $off of $starts starts off centre"
[ "$off" -eq 0 ]
