#!/usr/bin/env bash
# Builds everything and runs every test: the portable core natively under ASan and
# UBSan, the fuzz targets for a bounded time, and the Windows build under Wine in
# a headless X server with throwaway Wine prefixes.
set -uo pipefail
VN_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export VN_ROOT
# Builds in other checkouts of the tree may reuse these objects from the compiler cache.
export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$VN_ROOT}" CCACHE_NOHASHDIR=1
cd "$VN_ROOT"
jobs="$(nproc 2>/dev/null || echo 2)"
fuzz_seconds="${VN_FUZZ_SECONDS:-20}"

bash tools/deps.sh || exit 1

total_pass=0
total_fail=0
failed_steps=()

# ctest prints "NN% tests passed, F tests failed out of T"; keep a running sum.
run_ctest() {
    local label="$1"; shift
    local log
    log="$(mktemp)"
    ctest "$@" --output-on-failure 2>&1 | tee "$log"
    local line
    line="$(grep -E 'tests failed out of [0-9]+' "$log" | tail -n 1)"
    if [ -n "$line" ]; then
        local f t
        f="$(sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\1/' <<<"$line")"
        t="$(sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\2/' <<<"$line")"
        total_pass=$((total_pass + t - f))
        total_fail=$((total_fail + f))
        ((f == 0)) || failed_steps+=("$label")
    elif ! grep -q 'No tests were found' "$log"; then
        total_fail=$((total_fail + 1))
        failed_steps+=("$label")
    fi
    rm -f "$log"
}

step() { printf '\n==== %s ====\n' "$*"; }

step "native build (clang, ASan + UBSan)"
if CC=clang CXX=clang++ cmake -S . -B build/native -DCMAKE_BUILD_TYPE=Debug >/dev/null &&
    cmake --build build/native -j "$jobs"; then
    step "native tests"
    ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
        run_ctest native --test-dir build/native -j "$jobs"

    step "fuzz targets (${fuzz_seconds} s each)"
    for f in build/native/bin/fuzz_*; do
        [ -x "$f" ] || continue
        name="$(basename "$f")"
        work="$(mktemp -d)"
        cp -r "tests/fuzz/corpus/${name#fuzz_}/." "$work/" 2>/dev/null || true
        if "$f" -max_total_time="$fuzz_seconds" -rss_limit_mb=2048 -print_final_stats=0 \
            "$work" >"$work.log" 2>&1; then
            echo "$name: ok ($(grep -Eo 'Done [0-9]+ runs in [0-9]+ second' "$work.log" | tail -n1)s)"
            total_pass=$((total_pass + 1))
        else
            tail -n 40 "$work.log"
            echo "$name: FAILED"
            total_fail=$((total_fail + 1))
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
    VN_FORCE_XVFB=1 VN_XINERAMA="1280x1024+1024+0,1024x768+0+0" \
        bash -c 'source tools/wine-env.sh; trap vn_wine_cleanup EXIT
                 VN_FORCE_XVFB=1 vn_start_x 2304x1024x24 && vn_make_prefix &&
                 ctest --test-dir build/win -L twomon --output-on-failure' >/tmp/vn-twomon.$$ 2>&1
    cat /tmp/vn-twomon.$$
    line="$(grep -E 'tests failed out of [0-9]+' /tmp/vn-twomon.$$ | tail -n 1)"
    if [ -n "$line" ]; then
        f="$(sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\1/' <<<"$line")"
        t="$(sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\2/' <<<"$line")"
        total_pass=$((total_pass + t - f))
        total_fail=$((total_fail + f))
        ((f == 0)) || failed_steps+=("twomon")
    fi
    rm -f /tmp/vn-twomon.$$
else
    total_fail=$((total_fail + 1))
    failed_steps+=("windows build")
fi

echo
if ((${#failed_steps[@]})); then
    echo "failed: ${failed_steps[*]}"
fi
echo "$total_pass passed, $total_fail failed"
((total_fail == 0))
