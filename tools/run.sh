#!/usr/bin/env bash
# Builds the program and runs it under Wine. With a display it opens there; with
# none (or with --headless) it runs in a virtual X server for a few seconds and
# saves a screenshot to docs/screenshot.png.
set -euo pipefail
VN_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export VN_ROOT
cd "$VN_ROOT"

headless=""
if [ "${1:-}" = "--headless" ]; then
    headless=1
    shift
fi

bash tools/deps.sh
cmake -S . -B build/win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release \
    -DVN_TEST_BUILD=OFF -DVN_UPDATE_SERVER="${VN_UPDATE_SERVER:-}" >/dev/null
cmake --build build/win -j "$(nproc 2>/dev/null || echo 2)" --target Zephyn3 vn_data vn_demo_notes
bin="$VN_ROOT/build/win/bin"

# shellcheck source=tools/wine-env.sh
source tools/wine-env.sh

if [ -z "$headless" ] && [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    # A prefix of our own keeps the program's data apart from other Wine programs.
    export WINEPREFIX="${WINEPREFIX:-$HOME/.local/share/vellomar-notes-wine}"
    mkdir -p "$WINEPREFIX"
    vn_make_prefix
    exec wine "$bin/Zephyn3.exe" "$@"
fi

trap vn_wine_cleanup EXIT
unset WINEPREFIX
VN_FORCE_XVFB=1 vn_start_x 1280x800x24
vn_make_prefix
# A few notes to look at.
appdata="$WINEPREFIX/drive_c/users/$(whoami)/AppData/Roaming/Vellomar Notes 3"
mkdir -p "$appdata"
wine "$bin/vn_demo_notes.exe" "$(winepath -w "$appdata/Notes.dat")" >/dev/null 2>&1 || true
wine "$bin/Zephyn3.exe" "$@" &
sleep "${VN_SHOT_DELAY:-8}"
mkdir -p docs
import -window root docs/screenshot.png
# The virtual X server draws no desktop: give the empty screen a desktop colour.
convert docs/screenshot.png -fill '#3b6386' -draw "color 0,$(($(identify -format %h docs/screenshot.png) - 1)) floodfill" docs/screenshot.png
echo "screenshot saved to docs/screenshot.png"
wineserver -k 2>/dev/null || true
