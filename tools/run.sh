#!/usr/bin/env bash
# Builds the program and runs it under Wine. With a display it opens there; with
# none (or with --headless) it runs in a virtual X server for a few seconds and
# saves a screenshot to build/screenshot.png. --refresh-screenshot does the same
# and copies the screenshot over docs/screenshot.png, the README's picture.
set -euo pipefail
# shellcheck source=tools/script-errors.sh
source "$(dirname "${BASH_SOURCE[0]}")/script-errors.sh"
VN_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export VN_ROOT
cd "$VN_ROOT"

headless=""
refresh=""
case "${1:-}" in
    --headless) headless=1; shift ;;
    --refresh-screenshot) headless=1; refresh=1; shift ;;
esac

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
# Running the program never changes the tracked tree: the shot goes under build/.
shot=build/screenshot.png
mkdir -p build
import -window root "$shot"
# The virtual X server draws no desktop: give the empty screen a desktop colour.
convert "$shot" -fill '#3b6386' -draw "color 0,$(($(identify -format %h "$shot") - 1)) floodfill" "$shot"
echo "screenshot saved to $shot"
if [ -n "$refresh" ]; then
    cp "$shot" docs/screenshot.png
    echo "docs/screenshot.png refreshed"
fi
wineserver -k 2>/dev/null || true
