#!/usr/bin/env bash
# Builds the program and its screenshot test, takes the pictures under Wine in a
# virtual X server and compares them with the references; the contact sheet is
# build/screenshots/contact-sheet.png. --refresh takes the pictures as the new
# references (after an intended change of what the user sees).
set -euo pipefail
# shellcheck source=tools/script-errors.sh
source "$(dirname "${BASH_SOURCE[0]}")/script-errors.sh"
VN_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$VN_ROOT"
export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$VN_ROOT}" CCACHE_NOHASHDIR=1
case "${1:-}" in
    --refresh) export VN_REFRESH_SCREENSHOTS=1 ;;
    "") ;;
    *) echo "usage: bash tools/screenshots.sh [--refresh]" >&2; exit 2 ;;
esac
bash tools/deps.sh
cmake -S . -B build/win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release \
    -DVN_TEST_BUILD=ON >/dev/null
cmake --build build/win -j "$(nproc 2>/dev/null || echo 2)" --target Zephyn3 vn_data vn_driver \
    vn_screenshots
VN_FORCE_XVFB=1 bash -c 'source tools/wine-env.sh; trap vn_wine_cleanup EXIT
    VN_FORCE_XVFB=1 vn_start_x 1600x1200x24 && vn_make_prefix &&
    bash tests/visual/e2e_screenshots.sh build/win/bin'
