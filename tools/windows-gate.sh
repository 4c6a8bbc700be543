#!/usr/bin/env bash
# The Windows compile gate: every translation unit of the shipped layers compiles with MinGW-w64
# against the Qt headers, with the build's own flags. Only the POSIX platform files
# (*_posix.cpp) are left out; their *_win.cpp counterparts are compiled.
# Usage: tools/windows-gate.sh [BUILD_DIR]   (a configured tree; default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
compiler=x86_64-w64-mingw32-g++-posix
commands="$build/compile_commands.json"
[ -f "$commands" ] || { echo "windows-gate: $commands is missing: configure $build first" >&2; exit 1; }
command -v "$compiler" >/dev/null || { echo "windows-gate: $compiler is not installed" >&2; exit 1; }

root=$(pwd -P)
# One line per unit: the file, a tab, its command. Generated sources (moc, rcc) are left out;
# a *_win.cpp unit takes the command of its *_posix.cpp counterpart (the build has none).
units=$(jq -r --arg root "$root/" '.[]
  | select(.file | startswith($root) and (ltrimstr($root) | test("^(scene|device|app|editor|cli)/")))
  | if (.file | endswith("_posix.cpp"))
    then (.file | sub("_posix\\.cpp$"; "_win.cpp")) as $win | "\($win)\t\(.command | gsub("_posix\\.cpp"; "_win.cpp"))"
    else "\(.file)\t\(.command)" end' "$commands")
[ -n "$units" ] || { echo "windows-gate: no units found in $commands" >&2; exit 1; }

# libjpeg's headers sit in /usr/include beside glibc's, which MinGW must not see: the gate
# looks for them in a folder of their own.
state="$(cd "$build" && pwd -P)/windows-gate"
mkdir -p "$state/include" "$state/passed"
for header in $(echo '#include <jpeglib.h>' | c++ -M -x c++ - 2>/dev/null | tr ' \\' '\n\n' | grep -E '/j[a-z]*\.h$'); do
    ln -sf "$header" "$state/include/"
done

# The Linux command made a Windows one: the MinGW compiler, Qt's win32-g++ platform header, no
# JACK backend (no Windows JACK headers here), RtMidi's Windows API instead of ALSA and JACK,
# no object file.
check() {
    local file=${1%%$'\t'*} command=${1#*$'\t'}
    local -a args
    eval "args=($command)"
    local -a flags=()
    local skip=0 arg
    for arg in "${args[@]:1}"; do
        if [ $skip = 1 ]; then skip=0; continue; fi
        case $arg in
        -o) skip=1 ;;
        -c | -fPIC | -DLUMO_HAVE_JACK | -D__UNIX_JACK__ | -D__LINUX_ALSA__) ;;
        */mkspecs/linux-g++) flags+=("${arg%/linux-g++}/win32-g++") ;;
        "$file") ;;
        *) flags+=("$arg") ;;
        esac
    done
    flags+=(-isystem "$state/include" -D__WINDOWS_MM__)
    # A unit whose preprocessed text and flags passed before passes again: only changed units
    # are compiled on a second run.
    local stamp
    stamp=$({ printf '%s\n' "${flags[@]}"; "$compiler" "${flags[@]}" -E "$file" 2>/dev/null; } | sha1sum | cut -c1-40)
    [ -e "$state/passed/$stamp" ] && return 0
    if ! output=$("$compiler" "${flags[@]}" -fsyntax-only "$file" 2>&1); then
        printf 'windows-gate: %s\n%s\n' "${file#"$root"/}" "$output" >&2
        return 1
    fi
    touch "$state/passed/$stamp"
}
export -f check
export compiler root state

count=$(printf '%s\n' "$units" | wc -l)
start=$SECONDS
if printf '%s\n' "$units" | tr '\n' '\0' | xargs -0 -n1 -P"$(nproc)" bash -c 'check "$1"' _; then
    echo "windows-gate: $count units compile for Windows ($((SECONDS - start)) s)"
else
    echo "windows-gate: some of $count units do not compile for Windows" >&2
    exit 1
fi
