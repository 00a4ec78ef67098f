#!/usr/bin/env bash
# Starts the program with three notes, makes a fourth by double-clicking the
# main window, types into it, ends the edit with Escape, drags a note next to
# another and checks what Notes.dat then holds; leaves a screenshot.
# $1 is the folder of Zephyn3.exe; DISPLAY and WINEPREFIX are set.
set -euo pipefail
bin="$1"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
driver="$bin/vn_driver.exe"
notes_dat="$here/notes_dat.py"
data="$WINEPREFIX/drive_c/users/${USER:-$(whoami)}/AppData/Roaming/Vellomar Notes 3"
rm -rf "$data"
mkdir -p "$data"
shot="${VN_E2E_SHOTS:-$(mktemp -d)}/e2e_notes.png"
app_pid=""
cleanup() {
    if [ -n "$app_pid" ] && kill -0 "$app_pid" 2>/dev/null; then
        wine "$driver" close-main >/dev/null 2>&1 || true
        sleep 1
        kill "$app_pid" 2>/dev/null || true
    fi
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*" >&2
    [ -f "$data/Notes.dat" ] && python3 "$notes_dat" dump "$data/Notes.dat" >&2 || true
    exit 1
}
note_lines() { wine "$driver" notes | tr -d '\r' | grep . || true; }
wait_notes() {
    local want="$1"
    for _ in $(seq 100); do
        [ "$(note_lines | wc -l)" = "$want" ] && return 0
        sleep 0.1
    done
    return 1
}

python3 "$notes_dat" write "$data/Notes.dat"
wine "$bin/Zephyn3.exe" &
app_pid=$!
main="$(wine "$driver" wait-main 20000 | tr -d '\r')" || fail "no main window"
read -r _ mleft mtop mright mbottom <<<"$main"
wait_notes 3 || fail "$(note_lines | wc -l) note windows at start, expected 3"

# A new note from the main window, written into and closed with Escape.
wine "$driver" dblclick $(((mleft + mright) / 2)) $(((mtop + mbottom) / 2))
wait_notes 4 || fail "no new note after the double click"
sleep 0.5
wine "$driver" type "Typed in the e2e test"
sleep 0.3
wine "$driver" key 27
sleep 1
python3 "$notes_dat" dump "$data/Notes.dat" | grep -q "Typed in the e2e test" ||
    fail "the typed note is not in Notes.dat"

# Drag the second note (body 420..620) to just right of the first (right edge 300):
# snapping leaves the gap of the spacing setting between the visible shapes.
wine "$driver" drag 500 140 395 140
sleep 1
second="$(python3 "$notes_dat" dump "$data/Notes.dat" | grep "Second note")" ||
    fail "the second note is gone"
read -r left top _ <<<"$second"
[ "$top" = 120 ] || fail "dragged note top $top, expected 120 (aligned with the first)"
[ "$left" -gt 300 ] && [ "$left" -le 330 ] || fail "dragged note left $left, not beside the first"

import -window root "$shot" 2>/dev/null || true
echo "e2e_notes: ok ($(python3 "$notes_dat" dump "$data/Notes.dat" | wc -l) notes; screenshot $shot)"
