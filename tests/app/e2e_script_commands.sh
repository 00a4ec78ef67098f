#!/usr/bin/env bash
# The command line for scripts with the real program: started by a switch when
# none runs, then every switch handed over by second starts, each of which ends
# at once. $1 is the folder of Zephyn3.exe.
source "$(dirname "${BASH_SOURCE[0]}")/../support/e2e-common.sh"

# A second start: it must hand over and end by itself.
second() {
    e2e_context="Zephyn3.exe $*"
    timeout 60 wine "$bin/Zephyn3.exe" "$@" || fail "the second start did not end well"
    sleep 0.5
}
shown() { wine "$driver" notes | tr -d '\r' | awk '$2 == 1' | grep -c . || true; }
wait_shown() {
    for _ in $(seq 100); do
        [ "$(shown)" = "$1" ] && return 0
        sleep 0.1
    done
    fail "$(shown) notes shown, expected $1"
}
dump_has() { e2e_dump | grep -q -- "$1" || fail "Notes.dat lacks \"$1\": $(e2e_dump)"; }

# None runs: the program starts and makes the note.
e2e_start /new "started by a script"
e2e_wait_main 60000
e2e_wait_notes 1 "the note of the starting switch"
dump_has "started by a script"

second /new "second \"quoted\" note"
e2e_wait_notes 2
dump_has 'second "quoted" note'
# Switches without an argument, handed over (what /toggle does: the in-process test).
second /hide
wait_shown 0
second /show
wait_shown 2

out="$work/export out.txt"
second /export "Z:${out//\//\\}"
[ -s "$out" ] || fail "nothing exported to $out"
grep -q "started by a script" "$out" || fail "the export lacks the first note"

# Relative paths name files from where the second start was started, not
# from where the running program works.
mkdir -p "$work/elsewhere"
printf 'handed over by a relative path' >"$work/elsewhere/relative.txt"
pushd "$work/elsewhere" >/dev/null
second /export "relative out.txt"
second "relative.txt"
popd >/dev/null
[ -s "$work/elsewhere/relative out.txt" ] || fail "a relative /export went elsewhere"
e2e_wait_notes 3 "the note of a relative hand-over"
dump_has "handed over by a relative path"

second /find "quoted"
find="$(wine "$driver" box 10000 | tr -d '\r')" || fail "no Find notes window"
wine "$driver" send "${find%% *}" 0x0111 2 0 >/dev/null  # WM_COMMAND IDCANCEL closes it
second "/?"
box="$(wine "$driver" box 10000 | tr -d '\r')" || fail "no usage shown"
[[ "$box" == *"/new-from-clipboard"* ]] || fail "the usage box says: $box"
wine "$driver" send "${box%% *}" 0x0111 1 0 >/dev/null  # WM_COMMAND IDOK
e2e_context=""
e2e_close
echo "script commands: ok"
