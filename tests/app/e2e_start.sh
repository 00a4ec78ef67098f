#!/usr/bin/env bash
# Starts the program on a fresh profile, checks the main window's place, hands
# a text file over from a second start, closes the program and checks that the
# note was saved. $1 is the folder of Zephyn3.exe; DISPLAY and WINEPREFIX are set.
set -euo pipefail
bin="$1"
driver="$bin/vn_driver.exe"
data="$WINEPREFIX/drive_c/users/${USER:-$(whoami)}/AppData/Roaming/Vellomar Notes 3"
rm -rf "$data"
work="$(mktemp -d)"
app_pid=""
# The program is closed as a user would; killed only when that failed.
trap '[ -z "$app_pid" ] || wine "$driver" close-main >/dev/null 2>&1 || kill "$app_pid"; rm -rf "$work"' EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

wine "$bin/Zephyn3.exe" &
app_pid=$!
main="$(wine "$driver" wait-main 20000 | tr -d '\r')" || fail "no main window"
read -r _ left top _ _ <<<"$main"
[ "$left" = 600 ] && [ "$top" = 24 ] || fail "main window at ($left, $top), not (600, 24)"

# A file with a name that needs quoting, handed over by a second start.
printf 'Hand-over note\r\nsecond line\r\n' >"$work/my note.txt"
wine "$bin/Zephyn3.exe" "$(winepath -w "$work/my note.txt")" || fail "second start ended with $?"
for _ in $(seq 50); do
    count="$(wine "$driver" notes | tr -d '\r' | grep -c . || true)"
    [ "$count" != 0 ] && break || sleep 0.2
done
[ "$count" = 1 ] || fail "$count note windows after the hand-over, expected 1"

wine "$driver" close-main || fail "could not close the main window"
for _ in $(seq 100); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$app_pid" 2>/dev/null && fail "the program did not end"
app_pid=""
# Notes.dat keeps text as UTF-16LE.
python3 -c 'import sys; sys.exit("Hand-over note".encode("utf-16-le") not in open(sys.argv[1], "rb").read())' \
    "$data/Notes.dat" || fail "Notes.dat is missing or does not hold the text"
echo "e2e_start: ok"
