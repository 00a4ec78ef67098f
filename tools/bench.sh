#!/usr/bin/env bash
# Builds the benchmarks in Release and prints their figures: every bench_*_core
# natively, every bench_*_win under Wine. A new benchmark only needs its
# vn_bench() line with a name of that form.
#   tools/bench.sh [name-filter]     e.g. tools/bench.sh notes
# VN_BENCH_RUNS (default 3) and VN_BENCH_RUNS_5000 (default 1) set how many
# starts of the program and of its floor the start-up figures take the median of
# (VN_BENCH_RUNS also the starts of the memory figures).
set -uo pipefail
# shellcheck source=tools/script-errors.sh
source "$(dirname "${BASH_SOURCE[0]}")/script-errors.sh"
VN_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export VN_ROOT
cd "$VN_ROOT"
filter="${1:-}"
jobs="$(nproc 2>/dev/null || echo 2)"
native=build/bench-native
win=build/bench-win
status=0

bash tools/deps.sh || exit 1

# Targets named bench_..._<kind> that the configured build knows.
bench_targets() {
    local dir="$1" kind="$2"
    cmake --build "$dir" --target help 2>/dev/null |
        grep -oE "bench_[A-Za-z0-9_]*_${kind}\b" | sort -u | grep -- "${filter}" || true
}

build() {
    local dir="$1"; shift
    local t
    for t in "$@"; do
        cmake --build "$dir" -j "$jobs" --target "$t" >"$dir/bench-build.log" 2>&1 || {
            tail -n 30 "$dir/bench-build.log"
            echo "build of $t failed"
            return 1
        }
    done
}

echo "==== native (Release, no sanitizers) ===="
if CC=clang CXX=clang++ cmake -S . -B "$native" -DCMAKE_BUILD_TYPE=Release \
        -DVN_SANITIZE=OFF -DVN_FUZZ=OFF >/dev/null; then
    mapfile -t targets < <(bench_targets "$native" core)
    if build "$native" "${targets[@]}"; then
        for t in "${targets[@]}"; do
            echo "---- $t"
            "$native/bin/$t" || status=1
        done
    else
        status=1
    fi
else
    echo "native configure failed"
    status=1
fi

echo
echo "==== Windows build under Wine (Release) ===="
if cmake -S . -B "$win" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
        -DCMAKE_BUILD_TYPE=Release >/dev/null; then
    mapfile -t targets < <(bench_targets "$win" win)
    # The note-window bench reads the skins beside it and drives the program.
    extra=()
    [[ " ${targets[*]} " == *" bench_notewindows_win "* ]] &&
        extra=(vn_data Zephyn3 vn_driver vn_floor_notes)
    if build "$win" "${targets[@]}" "${extra[@]}"; then
        # shellcheck source=tools/wine-env.sh
        source tools/wine-env.sh
        trap vn_wine_cleanup EXIT
        unset WINEPREFIX
        if VN_FORCE_XVFB=1 vn_start_x && vn_make_prefix; then
            for t in "${targets[@]}"; do
                echo "---- $t"
                wine "$win/bin/$t.exe" || status=1
            done
            # The real program left alone, with sync on and off.
            if [ -z "$filter" ] || [[ "idle" == *"$filter"* ]]; then
                echo "---- idle CPU of the program"
                if build "$win" Zephyn3 vn_driver vn_data; then
                    bash bench/idle_cpu.sh "$win/bin" || status=1
                else
                    status=1
                fi
            fi
            # The start of the real program, with notes written by the note bench.
            if [[ " ${targets[*]} " == *" bench_notewindows_win "* ]]; then
                echo "---- start-up of the program"
                bash bench/notes_startup.sh "$win/bin" "${VN_BENCH_RUNS:-3}" \
                    "${VN_BENCH_RUNS_5000:-1}" || status=1
                echo "---- memory per note and key presses of the program"
                bash bench/notes_memory.sh "$win/bin" "${VN_BENCH_RUNS:-3}" || status=1
            fi
        else
            echo "could not start Wine"
            status=1
        fi
    else
        status=1
    fi
else
    echo "Windows configure failed"
    status=1
fi
exit "$status"
