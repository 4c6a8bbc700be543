#!/usr/bin/env bash
# Installs what is missing, builds the three trees (Release, sanitizers, fuzz) and runs every
# test through CTest. A failing tree does not stop the others: all of them run, one summary at
# the end names every failure, and the exit status is non-zero when anything failed. Arguments
# go to the Release tree's ctest, which runs last so that its own summary stays in place.
set -uo pipefail
cd "$(dirname "$0")"
tools/install-deps.sh || exit 1
jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen
summary=()
passed_total=0
failed_total=0

# record TREE PASSED FAILED SKIPPED SECONDS FAILURES...: one line of the summary.
record() {
    local tree=$1 passed=$2 failed=$3 skipped=$4 seconds=$5
    shift 5
    summary+=("$(printf '%-11s %4d passed, %d failed, %d skipped (%d s)' "$tree" "$passed" "$failed" "$skipped" "$seconds")")
    [ $# -eq 0 ] || summary+=("            failed: $*")
    passed_total=$((passed_total + passed))
    failed_total=$((failed_total + failed))
}

# build TREE DIR TARGETS -- CMAKE_ARGS...: configures and builds one tree; a failure is shown
# and counts as one failure of the tree, whose tests then do not run.
build() {
    local tree=$1 dir=$2 targets=$3 start=$SECONDS
    shift 4
    local log="$dir/build-output.log"
    mkdir -p "$dir"
    if cmake -S . -B "$dir" "$@" >"$log" 2>&1 && cmake --build "$dir" -j"$jobs" $targets >>"$log" 2>&1; then
        rm -f "$log"
        return 0
    fi
    cat "$log"
    record "$tree" 0 1 0 $((SECONDS - start)) "(build, log in $log)"
    return 1
}

# run_ctest TREE DIR CTEST_ARGS...: runs a tree's tests and records their results from
# CTest's JUnit report.
run_ctest() {
    local tree=$1 dir=$2 start=$SECONDS
    shift 2
    local report="$PWD/$dir/ctest-report.xml"
    rm -f "$report"
    ctest --test-dir "$dir" --output-on-failure -j"$jobs" --output-junit "$report" "$@"
    local status=$?
    local cases
    cases=$(grep -o '<testcase name="[^"]*" .*status="[a-z]*"' "$report" 2>/dev/null |
        sed 's/^<testcase name="\([^"]*\)" .*status="\([a-z]*\)"$/\2 \1/')
    local passed failed skipped failures
    passed=$(grep -c '^run ' <<<"$cases")
    failed=$(grep -c '^fail ' <<<"$cases")
    skipped=$(grep -vcE '^(run|fail) |^$' <<<"$cases")
    failures=$(sed -n 's/^fail //p' <<<"$cases" | tr '\n' ' ')
    # CTest itself failed (no tests found, a bad argument): that counts too.
    if [ "$status" -ne 0 ] && [ "$failed" -eq 0 ]; then
        failed=1
        failures="(ctest exit status $status)"
    fi
    # shellcheck disable=SC2086 # one word per failed test
    record "$tree" "$passed" "$failed" "$skipped" $((SECONDS - start)) $failures
}

# Checks outside CTest, each one counted as a test of the "checks" line.
checks_passed=0
checks_failed=()
check() { # check NAME COMMAND...
    local name=$1
    shift
    if "$@"; then checks_passed=$((checks_passed + 1)); else checks_failed+=("$name"); fi
}

# The software-centre description of the package.
check appstream appstreamcli validate --no-net packaging/io.github.vorel_lumo.editor.metainfo.xml
# Every text of the window is in translations/vorel-lumo.ts.
check translations tools/update-translations.sh --check

# The unit and window tests again with AddressSanitizer + UndefinedBehaviorSanitizer (no
# benchmarks); any sanitizer report fails its test. Its JACK tests run on --sync only: the
# clients run several times slower there, and in the other modes the server loses messages
# the more often a client is late (the Release tree runs -R too).
if build sanitizers build-asan "" -- -DCMAKE_BUILD_TYPE=Debug -DLUMO_SANITIZE=ON -DLUMO_BUILD_BENCH=OFF \
    -DLUMO_JACK_TEST_MODES=sync; then
    ASAN_OPTIONS=detect_leaks=1:halt_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        run_ctest sanitizers build-asan
fi

# The fuzz targets only, built with clang and libFuzzer: a short pass of each from its seed
# corpus, one after another (under 60 s in all).
if build fuzz build-fuzz "--target fuzz_targets" -- -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLUMO_FUZZ=ON -DLUMO_BUILD_TESTS=OFF -DLUMO_BUILD_BENCH=OFF \
    -DLUMO_BUILD_EDITOR=OFF; then
    run_ctest fuzz build-fuzz -L fuzz-smoke -j1
fi

if build Release build "" -- -DCMAKE_BUILD_TYPE=Release; then
    # Windows: every unit compiles with MinGW-w64 (with the Release tree's own flags); the
    # Windows safe save passes its test under Wine.
    check windows-gate tools/windows-gate.sh build
    check windows-safe-save tools/windows-file-test.sh build
    # The Debian package of the Release tree: no lintian error or warning, a valid desktop entry.
    check package tools/check-package.sh build
    record checks "$checks_passed" ${#checks_failed[@]} 0 0 "${checks_failed[@]}"
    run_ctest Release build "$@"
else
    record checks "$checks_passed" ${#checks_failed[@]} 0 0 "${checks_failed[@]}"
fi

echo
echo "Summary of all trees:"
printf '  %s\n' "${summary[@]}"
echo "$passed_total passed, $failed_total failed"
[ "$failed_total" -eq 0 ]
