#!/usr/bin/env bash
# Builds everything and runs every test: the portable core natively under ASan and
# UBSan, the fuzz targets for a bounded time, and the Windows build under Wine in
# a headless X server with throwaway Wine prefixes.
set -uo pipefail
# shellcheck source=tools/script-errors.sh
source "$(dirname "${BASH_SOURCE[0]}")/script-errors.sh"
VN_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export VN_ROOT
# Builds in other checkouts of the tree may reuse these objects from the compiler cache.
export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$VN_ROOT}" CCACHE_NOHASHDIR=1
cd "$VN_ROOT"
jobs="$(nproc 2>/dev/null || echo 2)"
fuzz_seconds="${VN_FUZZ_SECONDS:-20}"
# Inputs up to a megabyte (libFuzzer's default of 4096 bytes hides work that
# grows with the square of a text's length), and a case slower than the time-out
# fails the run. The time-out is wall-clock time on a machine that may be shared:
# each large hostile seed (tests/fuzz/hostile_seeds.py) takes under a second of
# processor time with linear code, and minutes without.
fuzz_max_len="${VN_FUZZ_MAX_LEN:-1048576}"
fuzz_timeout="${VN_FUZZ_TIMEOUT:-60}"

bash tools/deps.sh || exit 1

# Programs (test executables, scripts, fuzz targets, the format check) and the
# test cases inside them, passed and failed.
total_pass=0
total_fail=0
cases_pass=0
cases_fail=0
failed_steps=()

# Adds the counts of a ctest JUnit file; a missing or unreadable file is a
# failed step of its own.
count_junit() {
    local label="$1" xml="$2" counts
    if [ -s "$xml" ] && counts="$(python3 tools/junit_counts.py "$xml")"; then
        local pp pf cp cf
        read -r pp pf cp cf <<<"$counts"
        total_pass=$((total_pass + pp))
        total_fail=$((total_fail + pf))
        cases_pass=$((cases_pass + cp))
        cases_fail=$((cases_fail + cf))
        echo "$label: $pp programs passed, $pf failed; $cp cases passed, $cf failed"
        ((pf == 0)) || failed_steps+=("$label")
    else
        total_fail=$((total_fail + 1))
        failed_steps+=("$label")
    fi
}

run_ctest() {
    local label="$1"; shift
    local xml
    xml="$(mktemp --suffix=.xml)"
    ctest "$@" --output-on-failure --output-junit "$xml" 2>&1
    count_junit "$label" "$xml"
    rm -f "$xml"
}

step() { printf '\n==== %s ====\n' "$*"; }

step "format (clang-format)"
if git ls-files '*.h' '*.cpp' '*.c' | xargs clang-format --dry-run -Werror; then
    echo "format: clean"
    total_pass=$((total_pass + 1))
else
    total_fail=$((total_fail + 1))
    failed_steps+=("format")
fi

step "native build (clang, ASan + UBSan)"
if CC=clang CXX=clang++ cmake -S . -B build/native -DCMAKE_BUILD_TYPE=Debug >/dev/null &&
    cmake --build build/native -j "$jobs"; then
    step "native tests"
    ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
        run_ctest native --test-dir build/native -j "$jobs"

    step "fuzz targets (${fuzz_seconds} s each, inputs up to ${fuzz_max_len} bytes, ${fuzz_timeout} s each)"
    for f in build/native/bin/fuzz_*; do
        [ -x "$f" ] || continue
        name="$(basename "$f")"
        work="$(mktemp -d)"
        cp -r "tests/fuzz/corpus/${name#fuzz_}/." "$work/" 2>/dev/null || true
        python3 tests/fuzz/hostile_seeds.py "${name#fuzz_}" "$work"
        if "$f" -max_total_time="$fuzz_seconds" -rss_limit_mb=2048 -print_final_stats=0 \
            -max_len="$fuzz_max_len" -timeout="$fuzz_timeout" \
            -artifact_prefix="${TMPDIR:-/tmp}/vn-$name-" \
            "$work" >"$work.log" 2>&1; then
            echo "$name: ok ($(grep -Eo 'Done [0-9]+ runs in [0-9]+ second' "$work.log" | tail -n1)s)"
            total_pass=$((total_pass + 1))
            cases_pass=$((cases_pass + 1))
        else
            tail -n 40 "$work.log"
            echo "$name: FAILED"
            total_fail=$((total_fail + 1))
            cases_fail=$((cases_fail + 1))
            failed_steps+=("$name")
        fi
        rm -rf "$work" "$work.log"
    done
else
    total_fail=$((total_fail + 1))
    failed_steps+=("native build")
fi

step "windows build (MinGW-w64)"
if cmake -S . -B build/win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
        -DCMAKE_BUILD_TYPE=Release -DVN_TEST_BUILD=ON >/dev/null &&
    cmake --build build/win -j "$jobs"; then
    # shellcheck source=tools/wine-env.sh
    source tools/wine-env.sh
    trap vn_wine_cleanup EXIT

    step "Wine tests (one monitor)"
    unset WINEPREFIX
    vn_start_x 1600x1200x24 && vn_make_prefix
    run_ctest wine --test-dir build/win -L wine -LE twomon
    vn_wine_cleanup

    step "Wine tests (two monitors, one left of the primary)"
    VN_XVFB_PID=""
    VN_OWN_PREFIX=""
    unset WINEPREFIX
    twomon_xml="$(mktemp --suffix=.xml)"
    VN_FORCE_XVFB=1 VN_XINERAMA="1280x1024+1024+0,1024x768+0+0" VN_JUNIT="$twomon_xml" \
        bash -c 'source tools/wine-env.sh; trap vn_wine_cleanup EXIT
                 VN_FORCE_XVFB=1 vn_start_x 2304x1024x24 && vn_make_prefix &&
                 ctest --test-dir build/win -L twomon --output-on-failure \
                       --output-junit "$VN_JUNIT"' 2>&1
    count_junit twomon "$twomon_xml"
    rm -f "$twomon_xml"
else
    total_fail=$((total_fail + 1))
    failed_steps+=("windows build")
fi

echo
if ((${#failed_steps[@]})); then
    echo "failed: ${failed_steps[*]}"
fi
echo "test cases: $cases_pass passed, $cases_fail failed"
echo "$total_pass passed, $total_fail failed"
((total_fail == 0))
