#!/usr/bin/env bash
# The real program, built as a test build, checks a local server at start-up:
# once, silently, and records the time of the check. $1 is the folder of
# Zephyn3.exe.
source "$(dirname "${BASH_SOURCE[0]}")/../support/e2e-common.sh"
server_pid=""
e2e_on_exit() { [ -z "$server_pid" ] || kill "$server_pid" 2>/dev/null || true; }

printf '200\n302' >"$work/answer"
python3 "$VN_ROOT/tests/update/update_server.py" "$work" &
server_pid=$!
for _ in $(seq 100); do [ -s "$work/port" ] && break || sleep 0.1; done
[ -s "$work/port" ] || fail "the local server did not start"

VN_TEST_UPDATE_SERVER="http://127.0.0.1:$(cat "$work/port")" e2e_start
e2e_wait_main
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

e2e_close
[ "$(wc -l <"$work/requests")" = 1 ] || fail "more than one check"
echo "e2e_update: ok"
