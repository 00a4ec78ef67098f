#!/usr/bin/env bash
# Every way the program ends or restarts, met in the states a user can be in:
# each row starts the program on three notes, brings it into a state (an
# editor open with typing in it, a menu or a dialog open, a drag or a resize
# under way), takes a way out, and checks that nothing crashed, that the
# program ended (or came back, after a restart) with no dialog left, and that
# the notes file holds what was typed. Rows run one after another and each is
# reported; the script fails when any row did.
#   bash tests/app/e2e_ways_out.sh build/win/bin [ROW...]   only the rows named
# $1 is the folder of Zephyn3.exe.
source "$(dirname "${BASH_SOURCE[0]}")/../support/e2e-common.sh"
shift
only=("$@")

# A crash must end the process, not wait in the crash dialog.
wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1

WM_CLOSE=0x10 WM_QUERYENDSESSION=0x11 WM_ENDSESSION=0x16 WM_COMMAND=0x111 WM_RBUTTONUP=0x205
IDM_EXIT=148 IDM_GENERAL_SETTINGS=142 IDM_ABOUT=147 IDM_RESTORE_BACKUP=240
IDM_FIRST_LANGUAGE=3000 IDM_FIRST_COLOR_THEME=5000
IDM_NOTE_DELETE=150 IDM_NOTE_SAVE_AS=152 IDM_NOTE_FONT_SELECT_CUSTOM=176
IDM_NOTE_TITLE_CHANGE=196 IDM_NOTE_ALARM_CHANGE=205
tray_message=5260

d() { wine "$driver" "$@" | tr -d '\r'; }
main_post() { d post "$main_hwnd" "$@" >/dev/null; }
# The note window whose left and top are as given (the notes file's places).
note_at() { d notes | awk -v l="$1" -v t="$2" '$3 == l && $4 == t { print $1 }'; }
crashed() { grep -aE "Unhandled (page fault|exception)|Program Error|wine: .*crash" "$1"; }
row_fail() { echo "    $*" >&2; exit 1; }

# --- states: each leaves `word` typed somewhere and says where it must end up ---
begin_edit_first() {
    d dblclick 200 200
    sleep 0.5
    [ -n "$(d children "$(note_at 100 120)")" ] || row_fail "no editor opened on the first note"
}
# Typed, and seen by the note: keys still queued would come after a way out.
type_word() {
    d type " $word"
    d wait-text "$word" 5000 || row_fail "the typing did not reach the note"
}
state_new_blank() { e2e_new_note_open; word=""; }
state_new_typed() { e2e_new_note_open; type_word; }
state_editing() { begin_edit_first; type_word; }
# Typed and the edit ended: the notes are idle, so the main menu lists the
# languages (it offers none while a note is being edited).
state_edited() { begin_edit_first; type_word; d key 27; }
state_editor_menu() {
    begin_edit_first
    type_word
    d rclick 150 200
    d menu 3000 || row_fail "the editor's menu did not open"
}
state_note_menu() {
    begin_edit_first
    type_word
    d rclick 500 200
    d menu 3000 || row_fail "the note menu did not open"
}
state_main_menu() {
    begin_edit_first
    type_word
    main_post "$tray_message" 0 "$WM_RBUTTONUP"
    d menu 3000 || row_fail "the main menu did not open"
}
note_dialog() {
    begin_edit_first
    type_word
    d post "$(note_at 420 120)" "$WM_COMMAND" "$1" 0
    d box 5000 >/dev/null || row_fail "no dialog for command $1"
}
state_title() { note_dialog "$IDM_NOTE_TITLE_CHANGE"; }
state_alarm() { note_dialog "$IDM_NOTE_ALARM_CHANGE"; }
state_font() { note_dialog "$IDM_NOTE_FONT_SELECT_CUSTOM"; }
state_save_as() { note_dialog "$IDM_NOTE_SAVE_AS"; }
state_delete_question() { note_dialog "$IDM_NOTE_DELETE"; }
main_dialog() {
    begin_edit_first
    type_word
    main_post "$WM_COMMAND" "$1" 0
    d box 5000 >/dev/null || row_fail "no dialog for command $1"
}
state_settings() { main_dialog "$IDM_GENERAL_SETTINGS"; }
state_restore_dialog() { main_dialog "$IDM_RESTORE_BACKUP"; }
state_message_box() { main_dialog "$IDM_ABOUT"; }
state_drag() {
    begin_edit_first
    type_word
    d press 500 200
    d moveto 560 260
}
state_resize() {
    begin_edit_first
    type_word
    d press 616 266
    d moveto 680 320
}

# --- ways out: each ends with the program gone, or back after a restart ---
wait_end() {
    for _ in $(seq 100); do
        kill -0 "$app_pid" 2>/dev/null || return 0
        sleep 0.1
    done
    row_fail "the program did not end"
}
way_exit() { main_post "$WM_COMMAND" "$IDM_EXIT" 0; wait_end; }
way_tray_exit() {
    main_post "$tray_message" 0 "$WM_RBUTTONUP"
    d menu 3000 >/dev/null || true
    main_post "$WM_COMMAND" "$IDM_EXIT" 0
    wait_end
}
way_close() { main_post "$WM_CLOSE" 0 0; wait_end; }
way_session_end() {
    [ "$(d send "$main_hwnd" "$WM_QUERYENDSESSION" 0 0)" != 0 ] || row_fail "the session's end was refused"
    d send "$main_hwnd" "$WM_ENDSESSION" 1 0 >/dev/null
    # The system may end the process as soon as the message returns.
    kill -9 "$app_pid" 2>/dev/null || true
    wait "$app_pid" 2>/dev/null || true
    app_pid=""
}
restart_back() {
    local old="$main_hwnd"
    for _ in $(seq 100); do
        e2e_wait_main 2000
        [ "$main_hwnd" != "$old" ] && break
        sleep 0.1
    done
    [ "$main_hwnd" != "$old" ] || row_fail "no new main window after the restart"
    kill -0 "$app_pid" 2>/dev/null || row_fail "the program ended instead of restarting"
    e2e_wait_notes "$expected_notes" "after the restart"
    ! d box 500 >/dev/null || row_fail "a dialog is left after the restart"
    e2e_close
}
way_restart_theme() { main_post "$WM_COMMAND" $((IDM_FIRST_COLOR_THEME + 1)) 0; restart_back; }
way_restart_language() {
    # The languages are listed when the main menu opens.
    main_post "$tray_message" 0 "$WM_RBUTTONUP"
    d menu 3000 >/dev/null || true
    main_post "$WM_COMMAND" "$IDM_FIRST_LANGUAGE" 0
    restart_back
}
way_restore() {
    # The restore dialog lists the backups, newest first; the first is taken.
    d box 300 >/dev/null || main_post "$WM_COMMAND" "$IDM_RESTORE_BACKUP" 0
    d confirm 5000 || row_fail "no restore dialog"
    sleep 1
    ! d box 500 >/dev/null || row_fail "a dialog is left after the restore: $(d box 100)"
    e2e_close
    # The backup kept of the notes as they were holds the typing.
    where="$(ls -t "$data/Backups/"Notes-*-*-*-*.dat 2>/dev/null | head -n 1)"
    [ -n "$where" ] || row_fail "no backup of the notes was kept before the restore"
}

e2e_new_note_open() {
    local had ready
    had="$(e2e_note_count)"
    ready="$(d wait-ready 20000 2>&1 | tr -d '\r')" ||
        row_fail "the main window cannot take a double click: $ready"
    read -r main_hwnd mleft mtop mright mbottom <<<"$ready"
    d dblclick $(((mleft + mright) / 2)) $(((mtop + mbottom) / 2))
    for _ in $(seq 50); do
        [ "$(e2e_note_count)" -gt "$had" ] && break
        sleep 0.1
    done
    [ "$(e2e_note_count)" -gt "$had" ] || row_fail "no new note from a double click on the main window"
    sleep 0.3
}

# Runs one row: `$2...` in a subshell that stops at the first failing command,
# then reports the row by its name `$1`. A row that failed may have left the
# program running; it is ended before the next row starts.
guarded_row() {
    local name="$1"
    shift
    set +e
    (
        set -e
        e2e_context="$name"
        "$@"
    )
    local status=$?
    set -e
    if ((status == 0)); then
        printf '  ok    %s\n' "$name"
    else
        wineserver -k 2>/dev/null || true
        printf '  FAIL  %s\n' "$name"
        failures+=("$name")
    fi
}

# One row: state, way out, then the checks.
row_body() {
    local state="$1" way="$2"
    local err="$work/stderr.$state.$way"
    rm -rf "$data" && mkdir -p "$data/Backups"
    python3 "$notes_dat" write "$data/Notes.dat"
    # A backup of an earlier day, for the restore rows.
    cp "$data/Notes.dat" "$data/Backups/Notes-2020-01-01.dat"
    word="kept$RANDOM$RANDOM"
    where="$data/Notes.dat"
    expected_notes=3
    wine "$bin/Zephyn3.exe" 2>"$err" &
    app_pid=$!
    e2e_wait_main
    e2e_wait_notes 3 "at start"
    "state_$state"
    [ "$state" = new_typed ] && expected_notes=4
    "way_$way"
    d release >/dev/null 2>&1 || true
    if crashed "$err" >/dev/null; then row_fail "crash: $(crashed "$err" | head -n 3)"; fi
    saved="$(python3 "$notes_dat" dump "$where")"
    if [ -n "$word" ] && [[ "$saved" != *"$word"* ]]; then
        row_fail "'$word' is not in $(basename "$where"): $saved"
    fi
    [ "$(python3 "$notes_dat" count "$where")" -ge 3 ] || row_fail "notes were lost"
    [ "$state" != new_blank ] || [ "$(python3 "$notes_dat" count "$where")" = 3 ] ||
        row_fail "a blank new note was kept"
}

# What a kill loses: the text typed into an open editor reaches the file within
# seconds, without the edit ending; a kill after that keeps it.
kill_body() {
    rm -rf "$data" && mkdir -p "$data"
    python3 "$notes_dat" write "$data/Notes.dat"
    word="kept$RANDOM$RANDOM"
    wine "$bin/Zephyn3.exe" 2>/dev/null &
    app_pid=$!
    e2e_wait_main
    e2e_wait_notes 3 "at start"
    begin_edit_first
    type_word
    sleep 3
    [ -n "$(d children "$(note_at 100 120)")" ] || row_fail "the edit ended by itself"
    kill -9 "$app_pid"
    wait "$app_pid" 2>/dev/null || true
    wineserver -k 2>/dev/null || true
    saved="$(python3 "$notes_dat" dump "$data/Notes.dat")"
    [[ "$saved" == *"First note $word"* ]] || row_fail "the typing is not in Notes.dat: $saved"
    # And the next start shows it.
    wine "$bin/Zephyn3.exe" 2>/dev/null &
    app_pid=$!
    e2e_wait_main
    e2e_wait_notes 3 "after the kill"
    [ "$(d text "$(note_at 100 120)")" = "First note $word" ] || row_fail "the note does not show the typing"
    e2e_close
    wineserver -k 2>/dev/null || true
}

# A crash leaves a dump and a line in Crashes beside Notes.dat; of older
# crashes, as many are kept that with this one there are ten.
crash_body() {
    rm -rf "$data" && mkdir -p "$data/Crashes"
    for i in $(seq 10 21); do
        touch "$data/Crashes/Crash-202601${i}-120000-1.dmp" "$data/Crashes/Crash-202601${i}-120000-1.txt"
    done
    set +e
    wine "$bin/Zephyn3.exe" /fault-for-test >/dev/null 2>&1
    set -e
    wineserver -k 2>/dev/null || true
    new="$(ls "$data/Crashes" | grep -v '^Crash-202601' || true)"
    grep -q "exception 0xC0000005 at 0x" "$data/Crashes/"*.txt 2>/dev/null ||
        row_fail "no crash line: $(ls "$data/Crashes")"
    echo "$new" | grep -q '\.dmp$' || row_fail "no minidump: $new"
    [ -s "$data/Crashes/$(echo "$new" | grep '\.dmp$')" ] || row_fail "the minidump is empty"
    [ "$(ls "$data/Crashes" | sed 's/\.[a-z]*$//' | sort -u | wc -l)" = 10 ] ||
        row_fail "not ten crashes kept: $(ls "$data/Crashes")"
    [ ! -e "$data/Crashes/Crash-20260110-120000-1.dmp" ] || row_fail "the oldest crash was kept"
}

# The table: state and way out of each row.
rows=(
    "new_blank exit" "new_typed exit" "editing exit" "editor_menu exit" "note_menu exit"
    "main_menu exit" "title exit" "alarm exit" "font exit" "save_as exit" "delete_question exit"
    "settings exit" "restore_dialog exit" "message_box exit" "drag exit" "resize exit"
    "editing tray_exit"
    "editing close" "editor_menu close"
    "new_typed session_end" "editor_menu session_end" "alarm session_end"
    "message_box session_end" "resize session_end"
    "editing restart_theme" "title restart_theme" "edited restart_language"
    "editing restore" "new_typed restore"
)

failures=()
echo "e2e_ways_out:"
for r in "${rows[@]}"; do
    read -r state way <<<"$r"
    if ((${#only[@]})) && [[ ! " ${only[*]} " =~ " ${state}:${way} " ]]; then continue; fi
    guarded_row "$state x $way" row_body "$state" "$way"
done
if ((${#only[@]} == 0)) || [[ " ${only[*]} " =~ " kill " ]]; then guarded_row "editing x kill -9 after 3 s" kill_body; fi
if ((${#only[@]} == 0)) || [[ " ${only[*]} " =~ " crash " ]]; then guarded_row "crash report" crash_body; fi

if ((${#failures[@]})); then
    fail "${#failures[@]} rows failed: ${failures[*]}"
fi
echo "e2e_ways_out: ok"
