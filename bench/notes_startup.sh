#!/usr/bin/env bash
# Times the start of the real program with 0, 10, 100 and 1000 notes in its
# Notes.dat (about 200 characters each) until every note window is visible,
# then reads its window, GDI and memory counters. The cost per note is the
# difference to the run without notes, divided by the number of notes.
#   bench/notes_startup.sh BIN-FOLDER [runs]
# BIN-FOLDER holds Zephyn3.exe, vn_driver.exe and bench_notewindows_win.exe;
# DISPLAY and WINEPREFIX are set.
set -uo pipefail
bin="$1"
runs="${2:-1}"
driver="$bin/vn_driver.exe"
data="$WINEPREFIX/drive_c/users/${USER:-$(whoami)}/AppData/Roaming/Vellomar Notes 3"
out="$(mktemp)"
trap 'rm -f "$out"' EXIT
exe="$(winepath -w "$bin/Zephyn3.exe" 2>/dev/null | tr -d '\r')"

# One start: prints "main_ms notes_ms idle_ms gdi user windows notes ws_kb private_kb".
start_once() {
    local count="$1" times stats
    rm -rf "$data"
    mkdir -p "$data"
    wine "$bin/bench_notewindows_win.exe" write-notes "$count" \
        "$(winepath -w "$data/Notes.dat" | tr -d '\r')" || return 1
    # Into a file: the program inherits the driver's output, so a pipe would
    # stay open until the program ends.
    wine "$driver" launch-wait "$exe" "$count" 300000 >"$out" || {
        wine "$driver" quit 20000 >/dev/null 2>&1
        return 1
    }
    times="$(tr -d '\r' <"$out")"
    # Let the first painting and any start-up timers settle before counting.
    sleep 1
    stats="$(wine "$driver" stats | tr -d '\r')"
    wine "$driver" quit 300000 >/dev/null 2>&1 || return 1
    echo "$times $stats"
}

# The median of each column over the runs.
median_runs() {
    python3 -c '
import sys, statistics
rows = [list(map(float, l.split())) for l in sys.stdin if l.strip()]
print(" ".join(str(statistics.median(c)) for c in zip(*rows)))'
}

start_once 0 >/dev/null || true  # the first start in a new prefix fills Wine's caches

declare -A result
status=0
for count in 0 10 100 1000; do
    lines=""
    for _ in $(seq "$runs"); do
        line="$(start_once "$count")" || {
            echo "start with $count notes failed" >&2
            status=1
            continue
        }
        lines+="$line"$'\n'
    done
    [ -n "$lines" ] && result[$count]="$(printf '%s' "$lines" | median_runs)"
done

python3 - "${result[0]:-}" "${result[10]:-}" "${result[100]:-}" "${result[1000]:-}" "$runs" <<'EOF'
import sys
counts = [0, 10, 100, 1000]
rows = {c: list(map(float, a.split())) if a else None for c, a in zip(counts, sys.argv[1:5])}
print(f"Start of the program until all notes are visible (median of {sys.argv[5]} starts)")
print(f"{'notes':>6} {'main ms':>8} {'notes ms':>9} {'idle ms':>8} | {'GDI':>6} {'USER':>6}"
      f" {'windows':>7} {'WS KB':>8} {'priv KB':>8}")
for c in counts:
    r = rows[c]
    if not r:
        print(f"{c:>6} failed")
        continue
    print(f"{c:>6} {r[0]:8.0f} {r[1]:9.0f} {r[2]:8.0f} | {r[3]:6.0f} {r[4]:6.0f} {r[5]:7.0f}"
          f" {r[7]:8.0f} {r[8]:8.0f}")
base = rows[0]
if base:
    print(f"\nPer note, over the start without notes")
    print(f"{'notes':>6} {'ms':>7} | {'GDI':>6} {'USER':>6} {'windows':>7} {'WS KB':>7} {'priv KB':>7}")
    for c in counts[1:]:
        r = rows[c]
        if not r:
            continue
        d = [(r[i] - base[i]) / c for i in range(len(r))]
        print(f"{c:>6} {d[1]:7.2f} | {d[3]:6.2f} {d[4]:6.2f} {d[5]:7.2f} {d[7]:7.1f} {d[8]:7.1f}")
print("(GDI and USER 0: the system does not count them; windows are counted one by one)")
if rows[100] and rows[1000]:
    slope = (rows[1000][1] - rows[100][1]) / 900
    print(f"\nms per note from 100 to 1000 notes: {slope:.2f}"
          f" (10 to 100: {(rows[100][1] - rows[10][1]) / 90:.2f})")
EOF
exit "$status"
