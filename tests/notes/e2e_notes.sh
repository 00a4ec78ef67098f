#!/usr/bin/env bash
# Starts the program with three notes, reads a note's text from outside as a
# screen reader would, makes a fourth by double-clicking the main window, types
# into it, ends the edit with Escape, drags a note next to another, gives a note
# a title, lets a hidden note's alarm bring it back, e-mails a note through a
# stand-in mail library, and checks what Notes.dat and the mail library then hold.
# $1 is the folder of Zephyn3.exe; DISPLAY and WINEPREFIX are set.
set -euo pipefail
bin="$1"
driver="$bin/vn_driver.exe"
notes_dat="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/notes_dat.py"
data="$WINEPREFIX/drive_c/users/${USER:-$(whoami)}/AppData/Roaming/Vellomar Notes 3"
rm -rf "$data" && mkdir -p "$data"
app_pid=""
# The stand-in mail library takes the place of Wine's own in this throwaway
# prefix for the program's run (mapi32=n,b), and records what it is handed.
system32="$WINEPREFIX/drive_c/windows/system32"
mail_record="$(mktemp "${TMPDIR:-/tmp}/e2e_mail.XXXXXX")"
cp "$system32/mapi32.dll" "$mail_record.dll"
cp "$bin/fakemapi/full/mapi32.dll" "$system32/mapi32.dll"
cleanup() {
    if [ -n "$app_pid" ] && kill -0 "$app_pid" 2>/dev/null; then
        wine "$driver" close-main >/dev/null 2>&1 || true
        sleep 1 && kill "$app_pid" 2>/dev/null || true
    fi
    cp "$mail_record.dll" "$system32/mapi32.dll" && rm -f "$mail_record" "$mail_record.dll"
}
trap cleanup EXIT
dump() { python3 "$notes_dat" dump "$data/Notes.dat"; }
fail() {
    echo "FAIL: $*" >&2 && dump >&2 || true
    exit 1
}
wait_notes() {
    for _ in $(seq 100); do
        [ "$(wine "$driver" notes | tr -d '\r' | grep -c .)" = "$1" ] && return 0
        sleep 0.1
    done
    fail "expected $1 note windows: $2"
}

python3 "$notes_dat" write "$data/Notes.dat"
WINEDLLOVERRIDES="mapi32=n,b" VN_FAKE_MAPI_RECORD="Z:$mail_record" wine "$bin/Zephyn3.exe" &
app_pid=$!
main="$(wine "$driver" wait-main 20000 | tr -d '\r')" || fail "no main window"
read -r _ mleft mtop mright mbottom <<<"$main"
wait_notes 3 "at start"

# An idle note is a single window, and it tells other programs its text.
first="$(wine "$driver" notes | tr -d '\r' | awk '$3 == 100 && $4 == 120 { print $1 }')"
[ -n "$first" ] || fail "no note at 100,120"
[ "$(wine "$driver" text "$first" | tr -d '\r')" = "First note" ] || fail "WM_GETTEXT on the note"
[ -z "$(wine "$driver" children "$first" | tr -d '\r')" ] || fail "an idle note has child windows"

# A new note from the main window, written into and closed with Escape.
wine "$driver" dblclick $(((mleft + mright) / 2)) $(((mtop + mbottom) / 2))
wait_notes 4 "after the double click"
sleep 0.5 && wine "$driver" type "Typed in the e2e test"
sleep 0.3 && wine "$driver" key 27
sleep 1
dump | grep -q "Typed in the e2e test" || fail "the typed note is not in Notes.dat"

# Drag the second note (body 420..620) to just right of the first (right edge 300):
# snapping leaves the gap of the spacing setting between the visible shapes.
wine "$driver" drag 500 140 395 140
sleep 1
second="$(dump | grep "Second note")" || fail "the second note is gone"
read -r left top _ <<<"$second"
[ "$top" = 120 ] || fail "dragged note top $top, expected 120 (aligned with the first)"
[ "$left" -gt 300 ] && [ "$left" -le 330 ] || fail "dragged note left $left, not beside the first"
# A few pixels further, still within the snap distance: the note stays put.
wine "$driver" drag $((left + 80)) 140 $((left + 86)) 143
sleep 1
read -r left2 top2 _ <<<"$(dump | grep "Second note")"
[ "$left2" = "$left" ] && [ "$top2" = 120 ] ||
    fail "a 6-pixel drag moved the snapped note to $left2,$top2 (was $left,120)"

# The screen shows the notes: inside the first note is not the desktop.
shot="${TMPDIR:-/tmp}/e2e_notes.$$.png"
import -window root "$shot"
pixel() { convert "$shot" -crop "1x1+$1+$2" -depth 8 txt:- | tail -n 1 | grep -Eo '#[0-9A-F]{6}'; }
desktop="$(pixel 2 $(($(identify -format %h "$shot") - 2)))"
inside="$(pixel 150 200)"
rm -f "$shot"
[ -n "$inside" ] && [ "$inside" != "$desktop" ] || fail "the first note is not drawn ($inside)"

# Menu commands reach a note as WM_COMMAND (0x111), as the menu sends them.
note_at() { wine "$driver" notes | tr -d '\r' | awk -v l="$1" -v t="$2" '$3 == l && $4 == t {print $1}'; }
flags() { python3 "$notes_dat" flags "$data/Notes.dat" | grep "^$1"; }
# Waits up to ten seconds for the fields FIELDS (cut -f) of the note starting
# with TEXT to read VALUE (fields separated by tabs).
wait_flags() {
    for _ in $(seq 50); do
        [ "$(flags "$1" | cut -f"$2")" = "$3" ] && return 0
        sleep 0.2
    done
    return 1
}
first="$(note_at 100 120)" && [ -n "$first" ] || fail "the first note is not on screen"
third="$(note_at 100 420)" && [ -n "$third" ] || fail "the third note is not on screen"

# A title, typed into the title dialog.
wine "$driver" post "$first" 0x111 196 0
wine "$driver" dialog "Note Title" 10000 1012="Shopping list" || fail "no title dialog"
wait_flags "First note" 2 "Shopping list" || fail "the title was not kept"

# Hidden, then an alarm set for the present minute: it falls due at once and
# brings the note back, on top.
wine "$driver" post "$third" 0x111 198 0
wait_flags "Third note" 4 1 || fail "the third note did not hide"
wine "$driver" post "$third" 0x111 205 0
wine "$driver" dialog "Set Alarm" 10000 || fail "no alarm dialog"
wait_flags "Third note" 3-6 "$(printf '1\t0\t0\t0')" ||
    fail "the alarm did not bring the note back on top: $(flags "Third note")"
wine "$driver" notes | tr -d '\r' | grep -q "^$third 1 " || fail "the third note is not shown"

# E-mail: the mail library gets the note in the body and as the attachment.
second="$(note_at "$left" 120)" && [ -n "$second" ] || fail "the second note is not on screen"
wine "$driver" post "$second" 0x111 153 0
for _ in $(seq 50); do grep -q '^recipients=' "$mail_record" 2>/dev/null && break; sleep 0.2; done
field() {
    python3 -c 'import sys; print(bytes.fromhex(sys.argv[1]).decode("utf-8", "replace"))' \
        "$(grep "^$1=" "$mail_record" | cut -d= -f2)"
}
[ "$(field subject)" = "Vellomar Note" ] || fail "no e-mail reached the mail library"
[[ "$(field body)" == *"Second note"* ]] || fail "the e-mail body lacks the note"
[ "$(field attachment)" = "Second note" ] || fail "the attachment is not the note's text"
[ "$(field name)" = "Note.zne" ] || fail "the attachment's name is $(field name)"

echo "e2e_notes: ok ($(dump | wc -l) notes)"
