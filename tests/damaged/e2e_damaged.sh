#!/usr/bin/env bash
# Starts the real program on each damaged file of this folder's corpus (and on a
# few made here, too large to keep): every time it must start, show what it could
# read, keep the unreadable original, stay responsive and end when asked. Then
# files too large or not text are handed over to become notes.
# $1 is the folder of Zephyn3.exe.
source "$(dirname "${BASH_SOURCE[0]}")/../support/e2e-common.sh"
corpus="$VN_ROOT/tests/damaged"
prog="$work/prog"

# The program runs from a copy, so that damaged languages and skins can lie beside it.
mkdir -p "$prog"
cp "$bin/Zephyn3.exe" "$prog/"
cp -r "$bin/Languages" "$bin/Skins" "$prog/"
cp "$corpus/languages/Hostile.ini" "$prog/Languages/"
for skin in Absurd BadBitmaps; do
    cp -r "$prog/Skins/Default" "$prog/Skins/$skin"
    cp -r "$corpus/skins/$skin/." "$prog/Skins/$skin/"
done
python3 "$corpus/make_corpus.py" --huge "$work/corpus"

# A fresh profile holding the given notes file (or three good notes) and settings.
profile() {
    rm -rf "$data" && mkdir -p "$data"
    if [ -n "${1:-}" ]; then cp "$1" "$data/Notes.dat"; else python3 "$notes_dat" write "$data/Notes.dat"; fi
    [ -z "${2:-}" ] || cp "$2" "$data/Settings.ini"
}
start() {
    wine "$prog/Zephyn3.exe" "$@" &
    app_pid=$!
}
wait_main() {
    e2e_wait_main "${1:-60000}"
    # The window exists before the skin gives it its size; a sent message is
    # answered only once the start is over and the message loop runs.
    responsive 60
    e2e_wait_main 1000
}
# The window thread answers at once: nothing is stuck in a loop or a huge read.
responsive() {
    timeout "${1:-10}" wine "$driver" send "$main_hwnd" 0 0 0 >/dev/null || fail "the program does not answer"
}
finish() {
    responsive
    wine "$driver" quit 15000 >/dev/null || fail "the program did not end when asked"
    local rc=0
    wait "$app_pid" || rc=$?
    app_pid=""
    [ "$rc" = 0 ] || fail "the program ended with $rc"
}
# The original bytes survive somewhere in the user's folder under another name.
kept() {
    python3 - "$1" "$data" "$2" <<'EOF' || fail "the unreadable original was not kept"
import pathlib, sys
original = pathlib.Path(sys.argv[1]).read_bytes()
live = pathlib.Path(sys.argv[2]) / sys.argv[3]
sys.exit(not any(p.is_file() and p != live and p.read_bytes() == original
                 for p in pathlib.Path(sys.argv[2]).rglob("*")))
EOF
}
whole_count() {
    for _ in $(seq 50); do
        python3 "$notes_dat" count "$data/Notes.dat" 2>/dev/null && return 0
        sleep 0.2
    done
    fail "Notes.dat was not rewritten whole"
}
# Answers the message box that must now be up; its text must hold $1.
answer_dialog() {
    local box
    box="$(wine "$driver" box 10000 | tr -d '\r')" || fail "no message shown ($1)"
    grep -qi -- "$1" <<<"$box" || fail "the message '$box' does not say '$1'"
    wine "$driver" post "${box%% *}" 273 "${2:-1}" 0 >/dev/null
    for _ in $(seq 50); do
        wine "$driver" box 0 >/dev/null 2>&1 || return 0
        sleep 0.1
    done
    fail "the message did not close"
}

# --- Damaged notes files ------------------------------------------------------
# name, file, note windows expected (- when the bytes decide), notes after one
# more, and what the user is told first when nothing of the file could be read
# (here a version number from the future): nothing is saved before that.
for c in "cut short|$corpus/notes/cut-short.dat|4|5|" \
    "random bytes|$corpus/notes/random-bytes.dat|0|1|could not be read" \
    "random bytes after a good header|$corpus/notes/random-body.dat|-|-|" \
    "absurd counts and lengths|$corpus/notes/absurd-counts.dat|1|2|"; do
    IFS='|' read -r e2e_context file shown after told <<<"$c"
    profile "$file"
    start
    wait_main
    [ -z "$told" ] || answer_dialog "$told"
    [ "$shown" = - ] || e2e_wait_notes "$shown"
    before="$(e2e_note_count)"
    e2e_new_note "A new note"
    count="$(whole_count)"
    [ "$after" = - ] || [ "$count" = "$after" ] || fail "$count notes saved, expected $after"
    [ "$count" = $((before + 1)) ] || fail "$count notes saved, $before were shown before the new one"
    kept "$file" Notes.dat
    finish
done

# --- Damaged settings ---------------------------------------------------------
for c in "binary Settings.ini|$corpus/settings/binary.ini" \
    "20 MB Settings.ini|$work/corpus/settings/huge.ini"; do
    IFS='|' read -r e2e_context file <<<"$c"
    profile "" "$file"
    start
    SECONDS=0
    wait_main 20000
    e2e_wait_notes 3
    ((SECONDS < 15)) || fail "took $SECONDS s to start"
    kept "$file" Settings.ini
    finish
done

# --- A hostile language file ----------------------------------------------------
e2e_context="hostile language file"
printf '[Root]\r\nLanguageFile=Hostile.ini\r\n' >"$work/settings.ini"
profile "" "$work/settings.ini"
start
wait_main
e2e_wait_notes 3
responsive
# The delete question is a format text full of conversions.
first_note="$(wine "$driver" notes | tr -d '\r' | head -n 1 | cut -d' ' -f1)"
wine "$driver" post "$first_note" 273 150 0 >/dev/null
answer_dialog "" 6
e2e_wait_notes 2
# The recycle bin's name from the language cannot leave the user's folder.
for _ in $(seq 30); do [ -f "$data/escaped-recycle-bin.txt" ] && break || sleep 0.1; done
[ -f "$data/escaped-recycle-bin.txt" ] || fail "the deleted note is not in the recycle bin"
[ -z "$(find "$WINEPREFIX/drive_c" -name escaped-recycle-bin.txt ! -path "$data/*")" ] ||
    fail "the recycle bin was written outside the user's folder"
finish

# --- Skins with absurd numbers and damaged bitmaps ------------------------------
for skin in Absurd BadBitmaps; do
    e2e_context="skin $skin"
    printf '[Root]\r\nSkinName=%s\r\nSkinColorThemeIndex=4000000000\r\n' "$skin" >"$work/settings.ini"
    profile "" "$work/settings.ini"
    start
    wait_main
    e2e_wait_notes 3
    # A refused background leaves the main window its own size, not 60000 pixels.
    ((mright - mleft < 2000 && mbottom - mtop < 2000)) ||
        fail "main window $((mright - mleft)) x $((mbottom - mtop))"
    e2e_new_note "A new note"
    [ "$(whole_count)" = 4 ] || fail "the new note was not saved"
    finish
done

# --- Files handed over to become notes --------------------------------------------
e2e_context="hand-over"
big="$work/big notes.txt"
truncate -s 200M "$big" # sparse: a 200 MB file that takes no disk space
binary="$work/program.txt"
head -c 100000 "$prog/Zephyn3.exe" >"$binary" # small enough, but no text
printf 'A short note\r\nfrom a file\r\n' >"$work/good.txt"
profile
start
wait_main
e2e_wait_notes 3
for c in "$big|too large" "$binary|not hold text" "$work/missing.txt|could not be read"; do
    IFS='|' read -r file says <<<"$c"
    # The second start hands the path over and ends at once, whatever the file.
    timeout 20 wine "$prog/Zephyn3.exe" "$(winepath -w "$file")" || fail "the second start hung on $file"
    answer_dialog "$says"
    responsive
    [ "$(e2e_note_count)" = 3 ] || fail "$file became a note"
done
read -r _ _ _ _ working_kb _ <<<"$(wine "$driver" stats | tr -d '\r')"
((working_kb < 150000)) || fail "the program grew to $working_kb KB"
timeout 20 wine "$prog/Zephyn3.exe" "$(winepath -w "$work/good.txt")"
e2e_wait_notes 4
finish

# On the command line of the first start, before the message loop runs.
e2e_context="too large on the command line"
start "$(winepath -w "$big")"
answer_dialog "too large"
wait_main
e2e_wait_notes 4
finish
echo "e2e_damaged: ok"
