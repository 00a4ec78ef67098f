#!/usr/bin/env bash
# Starts the program with three notes, reads a note's text from outside as a
# screen reader would, makes a fourth by double-clicking the main window, types
# into it, ends the edit with Escape, drags a note next to another with the
# mouse, makes a fifth from the tray icon and a sixth from the hot key and
# types into each, and checks Notes.dat after each step. (The note's menu
# commands, its dialogs and e-mail are proven by the note tests; what the
# screen shows, by the screenshot tests.)
# $1 is the folder of Zephyn3.exe.
source "$(dirname "${BASH_SOURCE[0]}")/../support/e2e-common.sh"
dump() { e2e_dump; }
e2e_on_fail() { dump; }
wait_notes() { e2e_wait_notes "$@"; }
# Runs the command after $2 that makes a new note ($1 says how), types $2 as a
# person does, ends the edit with Escape and finds the text in Notes.dat.
new_note_then_type() {
    local how="$1" text="$2" had
    shift 2
    had="$(e2e_note_count)"
    "$@"
    e2e_more_notes_than "$had" || fail "no new note from $how"
    sleep 0.3 && xdotool type --delay 30 "$text"
    sleep 0.3 && wine "$driver" key 27
    sleep 1
    dump | grep -q "$text" || fail "text typed into a note made from $how went elsewhere"
}

rm -rf "$data" && mkdir -p "$data"
python3 "$notes_dat" write "$data/Notes.dat"
e2e_start
e2e_wait_main
wait_notes 3 "at start"

# An idle note is a single window, and it tells other programs its text.
first="$(wine "$driver" notes | tr -d '\r' | awk '$3 == 100 && $4 == 120 { print $1 }')"
[ -n "$first" ] || fail "no note at 100,120"
[ "$(wine "$driver" text "$first" | tr -d '\r')" = "First note" ] || fail "WM_GETTEXT on the note"
[ -z "$(wine "$driver" children "$first" | tr -d '\r')" ] || fail "an idle note has child windows"

# A new note from the main window, written into and closed with Escape.
e2e_new_note "Typed in the e2e test"
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

# A new note from a double click on the tray icon takes the keyboard at once:
# what a person types next goes into it, not to the tray. (Wine shows the
# notification area as a small window at the top left; ours is its only icon.)
tray="$(xdotool search --name "Wine System Tray" 2>/dev/null | head -n 1)"
[ -n "$tray" ] || fail "no notification area window"
eval "$(xdotool getwindowgeometry --shell "$tray")"
new_note_then_type "a double click on the tray icon" "Typed after the tray" \
    xdotool mousemove $((X + 13)) $((Y + 32)) click --repeat 2 --delay 80 1

# The same from the new-note hot key (Ctrl+Shift+N), pressed as a person does
# while another window of the program has the keyboard.
new_note_then_type "the hot key" "Typed after the hot key" xdotool key ctrl+shift+n

echo "e2e_notes: ok ($(dump | wc -l) notes)"
