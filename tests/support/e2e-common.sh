# Sourced first by the end-to-end scripts (tests/*/e2e_*.sh), which drive the
# real program under Wine through tools/driver. The script's $1 is the folder
# of Zephyn3.exe. A script also runs by hand: `bash tests/store/e2e_kill.sh
# build/win/bin` starts its own X server when DISPLAY does not work.
#
# Every script runs in a throwaway Wine prefix of its own: a copy of the
# prefix of the test run when it has one (quicker than a new one), else a new
# one. The prefix goes when the script ends, with all the script changed in
# it, so a script may replace system files or registry keys and leave them.
#
#   bin driver notes_dat data work app_pid   the program, the driver, the notes
#                             file tool, the user's data folder, a scratch folder
#   fail MESSAGE              ends the script as failed; e2e_context, when set, is
#                             named, and a function e2e_on_fail is run first
#   e2e_start ARGS...         starts the program in the background (app_pid)
#   e2e_wait_main [MS]        waits for the main window; sets main_hwnd, mleft,
#                             mtop, mright, mbottom
#   e2e_close                 closes the main window as a user does; waits for the end
#   e2e_dump                  the notes of Notes.dat, one line each (notes_dat.py dump)
#   e2e_note_count, e2e_wait_notes N [WHAT]   note windows on screen
#   e2e_new_note TEXT         a new note from a double click on the main window
#                             (after e2e_wait_main), typed into, ended with Escape
# A script adds its own clean-up as a function e2e_on_exit.
set -euo pipefail
VN_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
export VN_ROOT
# shellcheck source=tools/wine-env.sh
source "$VN_ROOT/tools/wine-env.sh"

bin="$(cd "$1" && pwd)"
driver="$bin/vn_driver.exe"
notes_dat="$VN_ROOT/tests/support/notes_dat.py"
work="$(mktemp -d)"
app_pid=""
e2e_context=""

fail() {
    echo "FAIL${e2e_context:+ [$e2e_context]}: $*" >&2
    if declare -F e2e_on_fail >/dev/null; then e2e_on_fail >&2 || true; fi
    exit 1
}

_e2e_exit() {
    if [ -n "$app_pid" ] && kill -0 "$app_pid" 2>/dev/null; then
        wine "$driver" close-main >/dev/null 2>&1 || true
        sleep 1
        kill -9 "$app_pid" 2>/dev/null || true
    fi
    if declare -F e2e_on_exit >/dev/null; then e2e_on_exit || true; fi
    rm -rf "$work"
    vn_wine_cleanup
}
trap _e2e_exit EXIT

# The X server of the test run, when it has one.
VN_FORCE_XVFB="" vn_start_x
if [ -n "${WINEPREFIX:-}" ] && [ -f "$WINEPREFIX/system.reg" ]; then
    vn_copy_prefix "$WINEPREFIX"
else
    unset WINEPREFIX
    vn_make_prefix
fi
data="$WINEPREFIX/drive_c/users/${USER:-$(whoami)}/AppData/Roaming/Vellomar Notes 3"

e2e_start() {
    wine "$bin/Zephyn3.exe" "$@" &
    app_pid=$!
}
e2e_wait_main() {
    local main
    main="$(wine "$driver" wait-main "${1:-20000}" | tr -d '\r')" || fail "no main window"
    read -r main_hwnd mleft mtop mright mbottom <<<"$main"
}
e2e_close() {
    wine "$driver" close-main >/dev/null || fail "could not close the main window"
    for _ in $(seq 100); do
        kill -0 "$app_pid" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$app_pid" 2>/dev/null && fail "the program did not end"
    app_pid=""
}
e2e_dump() { python3 "$notes_dat" dump "$data/Notes.dat"; }
e2e_note_count() { wine "$driver" notes | tr -d '\r' | grep -c . || true; }
e2e_wait_notes() {
    for _ in $(seq 100); do
        [ "$(e2e_note_count)" = "$1" ] && return 0
        sleep 0.1
    done
    fail "$(e2e_note_count) note windows, expected $1${2:+ ($2)}"
}
# Whether there are more note windows than $1 within five seconds.
e2e_more_notes_than() {
    for _ in $(seq 50); do
        [ "$(e2e_note_count)" -gt "$1" ] && return 0
        sleep 0.1
    done
    return 1
}
e2e_new_note() {
    local had ready
    had="$(e2e_note_count)"
    # Input goes to the window under the cursor as it is queued: the main
    # window must be on screen, enabled (no box of the program open) and done
    # with the start; the driver stamps the two clicks as one double click
    # however busy the machine is.
    ready="$(wine "$driver" wait-ready 20000 2>&1 | tr -d '\r')" ||
        fail "the main window cannot take a double click: $ready $(wine "$driver" box 0 | tr -d '\r')"
    read -r main_hwnd mleft mtop mright mbottom <<<"$ready"
    wine "$driver" dblclick $(((mleft + mright) / 2)) $(((mtop + mbottom) / 2))
    e2e_more_notes_than "$had" || fail "no new note from a double click on the main window"
    sleep 0.3 && wine "$driver" type "$1"
    sleep 0.3 && wine "$driver" key 27
}
