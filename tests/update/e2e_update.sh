#!/usr/bin/env bash
# The real program, built as a test build, checks a local server at start-up:
# once, silently, and records the time of the check. $1 is the folder of
# Zephyn3.exe; DISPLAY and WINEPREFIX are set.
set -euo pipefail
bin="$1"
driver="$bin/vn_driver.exe"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
data="$WINEPREFIX/drive_c/users/${USER:-$(whoami)}/AppData/Roaming/Vellomar Notes 3"
rm -rf "$data"
work="$(mktemp -d)"
app_pid=""
server_pid=""
cleanup() {
    [ -z "$app_pid" ] || wine "$driver" close-main >/dev/null 2>&1 || kill "$app_pid" 2>/dev/null || true
    [ -z "$server_pid" ] || kill "$server_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

printf '200\n302' >"$work/answer"
python3 "$here/update_server.py" "$work" &
server_pid=$!
for _ in $(seq 100); do [ -s "$work/port" ] && break || sleep 0.1; done
[ -s "$work/port" ] || fail "the local server did not start"

VN_TEST_UPDATE_SERVER="127.0.0.1:$(cat "$work/port")" wine "$bin/Zephyn3.exe" &
app_pid=$!
wine "$driver" wait-main 20000 >/dev/null || fail "no main window"
for _ in $(seq 100); do [ -s "$work/requests" ] && break || sleep 0.1; done
[ "$(cat "$work/requests" 2>/dev/null)" = "/notes/versiondata.txt" ] ||
    fail "requests at start-up: $(cat "$work/requests" 2>/dev/null || echo none)"
# The silent check that found the running version records its time; new
# settings files are UTF-16.
recorded() {
    python3 -c 'import sys; sys.exit("LastUpdateCheck_High=".encode("utf-16-le") not in open(sys.argv[1], "rb").read())' \
        "$data/Settings.ini" 2>/dev/null
}
for _ in $(seq 50); do recorded && break || sleep 0.1; done
recorded || fail "no time recorded"

wine "$driver" close-main || fail "could not close the main window"
for _ in $(seq 100); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$app_pid" 2>/dev/null && fail "the program did not end"
app_pid=""
[ "$(wc -l <"$work/requests")" = 1 ] || fail "more than one check"
echo "e2e_update: ok"
