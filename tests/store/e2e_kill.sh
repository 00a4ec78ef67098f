#!/usr/bin/env bash
# Kills the program outright at random moments, a dozen times: while it loads a
# few hundred notes, while a second process drags one of them, while it saves.
# After every kill Notes.dat must hold every note whole, and the program must
# start on it; at the end it shows them all.
# $1 is the folder of Zephyn3.exe.
# VN_KILL_ROUNDS (12) and VN_KILL_SEED (random) repeat a run.
source "$(dirname "${BASH_SOURCE[0]}")/../support/e2e-common.sh"
rounds="${VN_KILL_ROUNDS:-12}"
seed="${VN_KILL_SEED:-$RANDOM}"
notes=300
drag_pid=""
moved=0
e2e_context="seed $seed"

stop_dragging() {
    rm -f "$work/dragging"
    [ -z "$drag_pid" ] || wait "$drag_pid" 2>/dev/null || true
    drag_pid=""
}
e2e_on_exit() { stop_dragging; }

# Writes the notes (mode "write") or checks that the file holds every one of them
# whole (mode "check": the count, each text and title, each size, and the place of
# every note but the dragged first one); prints the first note's left and top.
notes_file() {
    PYTHONPATH="$VN_ROOT/tests/support" python3 - "$1" "$data/Notes.dat" "$notes" <<'EOF'
import struct, sys
from notes_dat import note, notes_file, records
mode, path, count = sys.argv[1], sys.argv[2], int(sys.argv[3])

def text(i):
    return f"Note {i:03d} " + "whole words " * (i % 9) + "end"

def place(i):
    return (100, 100) if i == 0 else (420 + (i % 20) * 40, 300 + (i // 20) * 40)

if mode == "write":
    # the first note stays on top of the others, to be dragged
    notes = [note(*place(i), text(i), f"Title {i}", on_top=i == 0) for i in range(count)]
    open(path, "wb").write(notes_file(notes))
    sys.exit()

try:
    whole = []
    read = list(records(path, whole))
    assert whole[0], "not version 4, or bytes after the notes"
    assert len(read) == count, f"{len(read)} notes"
    for i, n in enumerate(read):
        left, top, right, bottom = n.rect
        assert (n.text, n.title) == (text(i), f"Title {i}"), f"note {i} reads {n.text!r} {n.title!r}"
        assert (right - left, bottom - top) == (200, 150), f"note {i} is {right - left} x {bottom - top}"
        # Snapping may nudge a note that touches its neighbours by a few pixels
        # when the window system confirms its place; a note is never thrown away.
        x, y = place(i)
        assert i == 0 or (abs(left - x) <= 20 and abs(top - y) <= 20), f"note {i} moved to {left} {top}"
        assert not (n.own_font or n.hidden or n.alarm), f"note {i} flags changed"
except (AssertionError, struct.error, UnicodeDecodeError) as error:
    sys.exit(f"Notes.dat is not whole: {error}")
print(*read[0].rect[:2])
EOF
}

# Drags the first note to and fro until told to stop; every drag ends in a save.
drag_loop() {
    local left="$1" top="$2" dx=60
    while [ -f "$work/dragging" ]; do
        wine "$driver" drag $((left + 80)) $((top + 20)) $((left + 80 + dx)) $((top + 20 + dx / 2)) \
            >/dev/null 2>&1 || true
        : >"$work/dragged"
        left=$((left + dx)) top=$((top + dx / 2)) dx=$((-dx))
    done
}

rm -rf "$data" && mkdir -p "$data"
notes_file write
RANDOM=$seed
echo "seed $seed, $rounds rounds"
for round in $(seq "$rounds"); do
    e2e_context="seed $seed, round $round"
    first="$(notes_file check)" || fail "before the start"
    read -r left top <<<"$first"
    e2e_start
    wine "$driver" wait-main 30000 >/dev/null || fail "the program did not start on the file"
    # Odd rounds kill at a random moment of the start, while the notes load;
    # even rounds once they are all shown, among the drags and their saves.
    if ((round % 2 == 0)); then
        for _ in $(seq 240); do
            [ "$(wine "$driver" notes | tr -d '\r' | grep -c .)" -ge "$notes" ] && break
            sleep 0.5
        done
        # A move is saved when it ends. One drag of the driver takes a second or
        # more under load, so the kill waits for the first drag to end and then
        # comes at a random moment of the next, before it can carry the note back.
        delay=$((RANDOM % 800))
    else
        delay=$((RANDOM % 2000))
    fi
    rm -f "$work/dragged"
    touch "$work/dragging"
    drag_loop "$left" "$top" &
    drag_pid=$!
    if ((round % 2 == 0)); then
        for _ in $(seq 300); do
            [ -f "$work/dragged" ] && break
            sleep 0.1
        done
        [ -f "$work/dragged" ] || fail "no drag of the shown note ended within 30 s"
    fi
    sleep "$((delay / 1000)).$(printf '%03d' $((delay % 1000)))"
    kill -9 "$app_pid"
    wait "$app_pid" 2>/dev/null || true
    app_pid=""
    stop_dragging
    before="$left $top"
    first="$(notes_file check)" || fail "after the kill"
    [ "$first" = "$before" ] || moved=$((moved + 1))
    echo "round $round: killed $([ $((round % 2)) = 1 ] && echo "${delay} ms after the start" ||
        echo "${delay} ms after a drag ended"), first note at $first"
done
# Saves happened between the kills: otherwise nothing above was tested.
((moved > 0)) || fail "the dragged note was never saved in a new place"

e2e_context="seed $seed, end"
wine "$driver" launch-wait "$(winepath -w "$bin/Zephyn3.exe")" "$notes" 60000 >/dev/null ||
    fail "the program did not show all $notes notes"
wine "$driver" quit 20000 >/dev/null || fail "the program did not end when asked"
notes_file check >/dev/null || fail "after the last run"
leftovers="$(find "$data" -name 'Notes.dat.tmp*' | wc -l)"
echo "e2e_kill: ok ($rounds kills, $moved of them after a saved drag, $leftovers unfinished temporary files left)"
