#!/usr/bin/env bash
# Makes the Debian package of a built tree and checks it as Debian would: lintian may report
# no error and no warning (information tags are shown), and the desktop entry must validate.
# Usage: tools/check-package.sh [BUILD_DIR]   (default: build, a Release tree)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}

desktop-file-validate packaging/vorel-lumo.desktop

rm -f "$build"/vorel-lumo_*.deb
if ! cmake --build "$build" --target package >"$build/package.log" 2>&1; then
  cat "$build/package.log" >&2
  exit 1
fi
deb=$(echo "$build"/vorel-lumo_*.deb)
# lintian warns when run as root (a container); that line says nothing about the package.
lintian --fail-on error,warning --display-info "$deb" 2> >(grep -v 'running with root privileges' >&2)
echo "lintian: no errors or warnings in $(basename "$deb")"

# The installed programs find the MIDI module in the package's own folder, without the build
# tree's run path.
unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
dpkg-deb -x "$deb" "$unpacked"
if ! ports=$("$unpacked/usr/bin/lumo" ports 2>&1) || grep -q "MIDI module" <<<"$ports"; then
  printf 'check-package: the installed lumo finds no MIDI module:\n%s\n' "$ports" >&2
  exit 1
fi
echo "package: the installed programs load their MIDI module"
