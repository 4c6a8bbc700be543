#!/usr/bin/env bash
# Writes translations/vorel-lumo.ts from the texts that the window shows (editor/, and what
# scene/ and app/ make for it) with Qt's lupdate. With --check, writes nothing and fails when
# the file is not current. No line numbers are kept, so the file changes only with the texts.
# Usage: tools/update-translations.sh [--check]
set -euo pipefail
cd "$(dirname "$0")/.."
lupdate=${LUPDATE:-/usr/lib/qt6/bin/lupdate}
ts=translations/vorel-lumo.ts

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
[ -f "$ts" ] && cp "$ts" "$work/vorel-lumo.ts"
# lupdate reports texts it cannot place (a tr() outside a class with Q_OBJECT, say) on
# standard error; any such report fails.
"$lupdate" -silent -no-obsolete -locations none -extensions cpp,h -I . \
  editor scene app -ts "$work/vorel-lumo.ts" 2>"$work/report"
if [ -s "$work/report" ]; then
  cat "$work/report" >&2
  exit 1
fi

if [ "${1:-}" = --check ]; then
  if ! diff -u "$ts" "$work/vorel-lumo.ts"; then
    echo "$ts is not current: run tools/update-translations.sh and commit it" >&2
    exit 1
  fi
  echo "$ts: current"
else
  cp "$work/vorel-lumo.ts" "$ts"
fi
