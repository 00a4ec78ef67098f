#!/usr/bin/env bash
# Times the start of the real program with 10, 100, 1000 and 5000 notes in its
# Notes.dat (about 200 characters each) beside the floor program (vn_floor_notes:
# as many bare layered popups, a fill and a line of text each) in the same run:
# time until the first note is visible, until every note is visible, until no
# note waits to be painted, and the program's times over the floor's (the median
# of the ratios of starts made back to back). Then the program's windows and
# private bytes per note, over a start without notes.
#   bench/notes_startup.sh BIN-FOLDER [runs] [runs-at-5000]
# VN_BENCH_COUNTS (default "10 100 1000 5000") picks the note counts.
# BIN-FOLDER holds Zephyn3.exe, vn_driver.exe, vn_floor_notes.exe and
# bench_notewindows_win.exe; DISPLAY and WINEPREFIX are set.
set -uo pipefail
bin="$1"
runs="${2:-3}"
runs5000="${3:-1}"
driver="$bin/vn_driver.exe"
data="$WINEPREFIX/drive_c/users/${USER:-$(whoami)}/AppData/Roaming/Vellomar Notes 3"
out="$(mktemp)"
trap 'rm -f "$out"' EXIT
exe="$(winepath -w "$bin/Zephyn3.exe" 2>/dev/null | tr -d '\r')"
floor="$(winepath -w "$bin/vn_floor_notes.exe" 2>/dev/null | tr -d '\r')"
floor_names=("VN Floor" "VN Floor")

# One start of the program: prints "main_ms first_ms all_ms idle_ms painted_ms
# gdi user windows notes ws_kb private_kb".
program_once() {
    local count="$1" times stats
    rm -rf "$data"
    mkdir -p "$data"
    wine "$bin/bench_notewindows_win.exe" write-notes "$count" \
        "$(winepath -w "$data/Notes.dat" | tr -d '\r')" || return 1
    # Into a file: the program inherits the driver's output, so a pipe would
    # stay open until the program ends.
    wine "$driver" launch-wait "$exe" "$count" 900000 >"$out" || {
        wine "$driver" quit 20000 >/dev/null 2>&1
        return 1
    }
    times="$(tr -d '\r' <"$out")"
    # Let start-up timers settle before counting.
    sleep 1
    stats="$(wine "$driver" stats | tr -d '\r')"
    wine "$driver" quit 900000 >/dev/null 2>&1 || return 1
    echo "$times $stats"
}

# One start of the floor program: prints "main_ms first_ms all_ms idle_ms painted_ms".
floor_once() {
    local count="$1"
    wine "$driver" launch-wait "$floor" "$count" 900000 "${floor_names[@]}" >"$out" || {
        wine "$driver" quit 20000 "${floor_names[@]}" >/dev/null 2>&1
        return 1
    }
    tr -d '\r' <"$out"
    wine "$driver" quit 900000 "${floor_names[@]}" >/dev/null 2>&1 || return 1
}

# Every start follows the end of another at once: Wine's own processes wind
# down within a second or so of the last program's end, and a start after that
# pays half a second to bring them back. Starts made in turns, without pauses,
# find the same system.
# The first starts in a new prefix fill Wine's caches.
program_once 0 >/dev/null || true
floor_once 1 >/dev/null || true

status=0
rows=""
for count in 0 ${VN_BENCH_COUNTS:-10 100 1000 5000}; do
    n="$runs"
    [ "$count" = 5000 ] && n="$runs5000"
    [ "$count" = 0 ] && n=1
    for i in $(seq "$n"); do
        # Turn about, so that neither program always starts just after the
        # other has torn its windows down.
        f="0 0 0 0 0"
        if [ "$count" != 0 ] && [ $((i % 2)) = 0 ]; then
            f="$(floor_once "$count")" || {
                echo "floor with $count notes failed" >&2
                status=1
                continue
            }
        fi
        p="$(program_once "$count")" || {
            echo "start with $count notes failed" >&2
            status=1
            continue
        }
        if [ "$count" != 0 ] && [ $((i % 2)) = 1 ]; then
            f="$(floor_once "$count")" || {
                echo "floor with $count notes failed" >&2
                status=1
                continue
            }
        fi
        rows+="$count $p $f"$'\n'
    done
done

# The raw starts first, so that nothing measured is lost.
echo "starts: notes, program main first all idle painted gdi user windows notes ws_kb priv_kb,"
echo "        floor main first all idle painted (milliseconds, kilobytes)"
printf '%s' "$rows"
echo
printf '%s' "$rows" | python3 <(cat <<'PY'
import sys, statistics
runs = {}
for line in sys.stdin:
    v = list(map(float, line.split()))
    if v:
        runs.setdefault(int(v[0]), []).append(v[1:])
med = statistics.median
# columns: program main first all idle painted gdi user windows notes ws priv
#          | floor main first all idle painted
P_FIRST, P_ALL, P_PAINTED, P_WIN, P_PRIV = 1, 2, 4, 7, 10
F_FIRST, F_ALL, F_PAINTED = 12, 13, 15
print("Start-up until the notes are visible and painted: the program beside the floor")
print("program, same run (seconds from process start; ratio = program / floor, median")
print("over starts made back to back)")
print("%6s %4s | %18s | %18s | %5s %5s %7s" % ("notes", "runs", "floor first/all/pnt",
                                              "prog. first/all/pnt", "first", "all", "painted"))
def ratio(r, p, f):
    v = [x[p] / x[f] for x in r if x[f] > 0 and x[p] >= 0]
    return med(v) if v else float("nan")
for c in sorted(runs):
    if c == 0:
        continue
    r = runs[c]
    s = lambda i: med([x[i] for x in r]) / 1000
    print("%6d %4d | %5.2f %5.2f %6.2f | %5.2f %5.2f %6.2f | %5.2f %5.2f %7.2f" % (
        c, len(r), s(F_FIRST), s(F_ALL), s(F_PAINTED), s(P_FIRST), s(P_ALL), s(P_PAINTED),
        ratio(r, P_FIRST, F_FIRST), ratio(r, P_ALL, F_ALL), ratio(r, P_PAINTED, F_PAINTED)))
base = runs.get(0, [None])[0]
if base:
    print()
    print("The program per note, over its start without notes")
    print("%6s | %7s %7s" % ("notes", "windows", "priv KB"))
    for c in sorted(runs):
        if c == 0:
            continue
        x = [med([r[i] for r in runs[c]]) for i in range(len(runs[c][0]))]
        print("%6d | %7.2f %7.1f" % (c, (x[P_WIN] - base[P_WIN]) / c,
                                     (x[P_PRIV] - base[P_PRIV]) / c))
PY
)
exit "$status"
