#!/usr/bin/env bash
# Installs what is missing, builds (Release) and starts the editor in the folder that holds
# the shipped DefPara.ini and NotePara.ini.
set -euo pipefail
cd "$(dirname "$0")"
tools/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j"$(nproc)"
cd assets
# The editor needs a desktop; without one the defaults are shown as text instead.
if [ -x ../build/editor/vorel-lumo ] && [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec ../build/editor/vorel-lumo "$@"
fi
# A fresh folder: saving over an existing file would leave a backup beside it.
tmp=$(mktemp -d)/defaults.lumo
../build/cli/lumo defaults -o "$tmp"
exec ../build/cli/lumo show "$tmp"
