#!/usr/bin/env bash
# The Windows safe save on real files: built with MinGW-w64 (static, so no DLLs are needed) and
# run under Wine, headless, in a Wine prefix of its own that is removed afterwards.
# Usage: tools/windows-file-test.sh [BUILD_DIR]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
wine=/usr/lib/wine/wine64
mkdir -p "$build/windows"
program="$build/windows/safe_file_win_test.exe"
x86_64-w64-mingw32-g++-posix -std=c++20 -O1 -Wall -Wextra -Wpedantic -Werror -static -I. \
    scene/safe_file_win.cpp tests/windows/safe_file_win_test.cpp -o "$program"

prefix=$(mktemp -d "${TMPDIR:-/tmp}/lumo-wine.XXXXXX")
cleanup() {
    # Waits for this prefix's own wineserver, which ends once its last program has.
    WINEPREFIX="$prefix" /usr/lib/wine/wineserver -w 2>/dev/null || true
    rm -rf "$prefix"
}
trap cleanup EXIT
# No display: Wine stays headless; its own messages are off, and so is the output of making the
# prefix (shown only when that fails).
# Wine gives Windows names to the Unix file system in the locale's character set: without a
# UTF-8 locale (a bare chroot, env -i) a non-ASCII name cannot be made at all.
run() { env -u DISPLAY -u WAYLAND_DISPLAY LC_ALL=C.UTF-8 WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" "$wine" "$@"; }
start=$SECONDS
if ! output=$(run wineboot --init 2>&1); then
    printf 'windows-file-test: Wine cannot make its prefix:\n%s\n' "$output" >&2
    exit 1
fi
made=$SECONDS
run "$program"
echo "windows-file-test: passed under Wine (prefix $((made - start)) s, test $((SECONDS - made)) s)"
