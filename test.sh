#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test through CTest.
set -euo pipefail
cd "$(dirname "$0")"
tools/install-deps.sh
# The software-centre description of the package.
appstreamcli validate --no-net packaging/io.github.vorel_lumo.editor.metainfo.xml
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j"$(nproc)"
# Windows: every unit compiles with MinGW-w64; the Windows safe save passes its test under Wine.
tools/windows-gate.sh build && tools/windows-file-test.sh build
# The unit and window tests again with AddressSanitizer + UndefinedBehaviorSanitizer (no benchmarks).
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DLUMO_SANITIZE=ON -DLUMO_BUILD_BENCH=OFF >/dev/null
cmake --build build-asan -j"$(nproc)"
# The fuzz targets only, built with clang and libFuzzer.
cmake -S . -B build-fuzz -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLUMO_FUZZ=ON \
  -DLUMO_BUILD_TESTS=OFF -DLUMO_BUILD_BENCH=OFF -DLUMO_BUILD_EDITOR=OFF >/dev/null
cmake --build build-fuzz --target fuzz_targets -j"$(nproc)"
export QT_QPA_PLATFORM=offscreen
# Any sanitizer report fails its test.
ASAN_OPTIONS=detect_leaks=1:halt_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-asan --output-on-failure -j"$(nproc)"
# A short pass of every fuzz target from its seed corpus, one after another (under 60 s in all).
ctest --test-dir build-fuzz --output-on-failure -L fuzz-smoke
cd build && ctest --output-on-failure -j"$(nproc)" "$@"
