#!/usr/bin/env bash
# Starts the program with three notes, hides one from its note menu, brings it
# back with the main menu's "Unhide", tiles the notes, switches the colour
# theme (which restarts the program in the same process) and checks windows,
# Notes.dat, Settings.ini and the screen after each step.
# $1 is the folder of Zephyn3.exe; DISPLAY and WINEPREFIX are set.
set -euo pipefail
bin="$1"
driver="$bin/vn_driver.exe"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
notes_dat="$here/../notes/notes_dat.py"
data="$WINEPREFIX/drive_c/users/${USER:-$(whoami)}/AppData/Roaming/Vellomar Notes 3"
rm -rf "$data" && mkdir -p "$data"
app_pid=""
cleanup() {
    [ -n "$app_pid" ] && kill -0 "$app_pid" 2>/dev/null || return 0
    wine "$driver" close-main >/dev/null 2>&1 || true
    sleep 1 && kill "$app_pid" 2>/dev/null || true
}
trap cleanup EXIT
dump() { python3 "$notes_dat" dump "$data/Notes.dat"; }
fail() {
    echo "FAIL: $*" >&2 && dump >&2 || true
    exit 1
}
notes() { wine "$driver" notes | tr -d '\r'; }
# Waits until the note windows, as "visible left top" lines sorted, are $1.
wait_windows() {
    local got=""
    for _ in $(seq 100); do
        got="$(notes | awk '{print $2, $3, $4}' | sort | tr '\n' ';')"
        [ "$got" = "$1" ] && return 0
        sleep 0.1
    done
    fail "windows: $got, expected $1 ($2)"
}
main_hwnd() { wine "$driver" wait-main 20000 | tr -d '\r' | awk '{print $1}'; }
command() { wine "$driver" post "$(main_hwnd)" 273 "$1" 0; }  # WM_COMMAND
pixel() {
    local shot="${TMPDIR:-/tmp}/e2e_mainmenu.$$.png"
    import -window root "$shot"
    convert "$shot" -crop "1x1+$1+$2" -depth 8 txt:- | tail -n 1 | grep -Eo '#[0-9A-F]{6}'
    rm -f "$shot"
}

python3 "$notes_dat" write "$data/Notes.dat"
wine "$bin/Zephyn3.exe" &
app_pid=$!
main_hwnd >/dev/null || fail "no main window"
wait_windows "1 100 120;1 100 420;1 420 120;" "at start"

# Hide the second note from its own menu (command 198 to the note).
second="$(notes | awk '$3 == 420 {print $1}')"
wine "$driver" post "$second" 273 198 0
wait_windows "0 420 120;1 100 120;1 100 420;" "after hiding the second note"
sleep 0.5
[ "$(dump | awk '$5 == 1' | wc -l)" = 1 ] || fail "the hidden flag is not saved"

# "Unhide" of the main menu.
command 32774
wait_windows "1 100 120;1 100 420;1 420 120;" "after unhiding"
sleep 0.5
[ "$(dump | awk '$5 == 1' | wc -l)" = 0 ] || fail "the note is still saved as hidden"

# Tile: three 200 x 150 notes on a work area of W x H make two columns and two
# rows; each note is centred in its cell, in list order.
read -r width height < <(xdpyinfo | awk '/dimensions:/ {split($2, d, "x"); print d[1], d[2]}')
cw=$((width / 2)) ch=$((height / 2))
x0=$(((cw - 200) / 2)) y0=$(((ch - 150) / 2))
tiled="$(printf '1 %d %d\n' $x0 $y0 $((cw + x0)) $y0 $x0 $((ch + y0)) | sort | tr '\n' ';')"
command 169
wait_windows "$tiled" "after tiling"
sleep 0.5
[ "$(dump | awk '{print $1, $2}' | head -n 1)" = "$x0 $y0" ] || fail "the tiled places are not saved"

# Switch the colour theme: the program restarts in the same process, with every
# note where it was and the notes drawn in the new tint.
before="$(pixel $((x0 + 100)) $((y0 + 75)))"
old_main="$(main_hwnd)"
command 5001
for _ in $(seq 100); do
    now="$(wine "$driver" wait-main 200 2>/dev/null | tr -d '\r' | awk '{print $1}')" || now=""
    [ -n "$now" ] && [ "$now" != "$old_main" ] && break
    sleep 0.1
done
[ -n "$now" ] && [ "$now" != "$old_main" ] || fail "no new main window after the theme change"
kill -0 "$app_pid" 2>/dev/null || fail "the program ended instead of restarting"
# Settings.ini is UTF-16 with a byte-order mark.
iconv -f UTF-16 -t UTF-8 "$data/Settings.ini" | tr -d '\r' | grep -qx 'SkinColorThemeIndex=1' ||
    fail "the theme is not stored"
wait_windows "$tiled" "after the restart"
sleep 1
after="$(pixel $((x0 + 100)) $((y0 + 75)))"
[ -n "$after" ] && [ "$after" != "$before" ] || fail "the note looks the same after the theme change ($before)"

wine "$driver" quit || fail "the program did not end"
app_pid=""
echo "e2e_mainmenu: ok"
