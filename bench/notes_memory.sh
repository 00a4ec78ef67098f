#!/usr/bin/env bash
# Memory per note and the time from a key press to the painted character, of
# the real program under Wine, measured from outside.
#
# Memory: the program starts with 10, 1000 and 5000 notes of about 200
# characters; once every note is shown and painted, the resident memory of its
# process (VmRSS in /proc, with its anonymous, file and shared parts) is read.
# Per note is the difference to the start with 10 notes over the difference in
# notes; the median of a few starts. The floor program (vn_floor_notes: bare
# layered popups of the same sizes, a fill and a line of text each) is measured
# the same way in the same run: under Wine every visible top-level window keeps
# a copy of its pixels in the process (its window surface, shared with the X
# server), which no program can do without; the program's own part is what it
# holds beyond the floor.
# Key press: in each start with the fewest and with the most notes, a double
# click opens the editor of the note on top, and characters are typed one at a
# time; each is timed from the key press until the editor's caret has moved and
# nothing of the note waits to be painted (vn_driver keytime, which reads both
# from the system without sending the program a message); the median over the
# keys of a start, then over the starts. The floor's
# windows get a bare edit control on a double click, timed the same way: what
# the system itself adds per key with more windows.
#   bench/notes_memory.sh BIN-FOLDER [runs]
# VN_MEMORY_COUNTS (default "10 1000 5000") picks the note counts; the first is
# the reference. BIN-FOLDER holds Zephyn3.exe, vn_driver.exe and
# bench_notewindows_win.exe; DISPLAY and WINEPREFIX are set.
set -uo pipefail
bin="$1"
runs="${2:-3}"
driver="$bin/vn_driver.exe"
data="$WINEPREFIX/drive_c/users/${USER:-$(whoami)}/AppData/Roaming/Vellomar Notes 3"
out="$(mktemp)"
trap 'rm -f "$out"' EXIT
exe="$(winepath -w "$bin/Zephyn3.exe" 2>/dev/null | tr -d '\r')"
floor="$(winepath -w "$bin/vn_floor_notes.exe" 2>/dev/null | tr -d '\r')"
floor_names=("VN Floor" "VN Floor")
read -r -a counts <<<"${VN_MEMORY_COUNTS:-10 1000 5000}"
keys=31

# The Linux process of the program NAME (Zephyn3.exe) in this Wine prefix
# (other prefixes may run copies of it at the same time).
program_pid() {
    local p
    for p in /proc/[0-9]*; do
        # Processes come and go meanwhile: one that is gone is no match.
        { tr '\0' '\n' <"$p/cmdline" | head -n 1 | grep -qF "$1"; } 2>/dev/null || continue
        { tr '\0' '\n' <"$p/environ" | grep -qx "WINEPREFIX=$WINEPREFIX"; } 2>/dev/null || continue
        echo "${p#/proc/}"
        return 0
    done
    return 1
}

# Resident kilobytes: "total anonymous file shared".
resident_kb() {
    awk '/^VmRSS:/ {t=$2} /^RssAnon:/ {a=$2} /^RssFile:/ {f=$2} /^RssShmem:/ {s=$2}
         END {print t, a, f, s}' "/proc/$1/status"
}

# One start: prints "rss anon file shmem" and, with keys, the key times after a colon.
start_once() {
    local count="$1" with_keys="$2" pid rss note times=""
    rm -rf "$data"
    mkdir -p "$data"
    wine "$bin/bench_notewindows_win.exe" write-notes "$count" \
        "$(winepath -w "$data/Notes.dat" | tr -d '\r')" || return 1
    wine "$driver" launch-wait "$exe" "$count" 900000 >"$out" || {
        wine "$driver" quit 20000 >/dev/null 2>&1
        return 1
    }
    # Let start-up timers settle before measuring.
    sleep 2
    pid="$(program_pid Zephyn3.exe)" || {
        echo "no process of the program found" >&2
        wine "$driver" quit 900000 >/dev/null 2>&1
        return 1
    }
    rss="$(resident_kb "$pid")"
    if [ "$with_keys" = 1 ]; then
        # The topmost note: the first that the system lists.
        note="$(wine "$driver" notes | tr -d '\r' | awk '$2 == 1 {print $1; exit}')"
        times="$(wine "$driver" keytime "$note" "$keys" | tr -d '\r' | tr '\n' ' ')" || {
            echo "key times with $count notes failed" >&2
            times=""
        }
    fi
    wine "$driver" quit 900000 >/dev/null 2>&1 || return 1
    echo "$rss : $times"
}

# One start of the floor program: prints "rss anon file shmem" and, with keys,
# the key times of its bare editor after a colon.
floor_once() {
    local count="$1" with_keys="$2" pid rss note times=""
    wine "$driver" launch-wait "$floor" "$count" 900000 "${floor_names[@]}" >"$out" || {
        wine "$driver" quit 20000 "${floor_names[@]}" >/dev/null 2>&1
        return 1
    }
    sleep 2
    pid="$(program_pid vn_floor_notes.exe)" || {
        echo "no process of the floor program found" >&2
        wine "$driver" quit 900000 "${floor_names[@]}" >/dev/null 2>&1
        return 1
    }
    rss="$(resident_kb "$pid")"
    if [ "$with_keys" = 1 ]; then
        note="$(wine "$driver" notes "${floor_names[@]}" | tr -d '\r' | awk '$2 == 1 {print $1; exit}')"
        times="$(wine "$driver" keytime "$note" "$keys" | tr -d '\r' | tr '\n' ' ')" || {
            echo "floor key times with $count notes failed" >&2
            times=""
        }
    fi
    wine "$driver" quit 900000 "${floor_names[@]}" >/dev/null 2>&1 || return 1
    echo "$rss : $times"
}

# The first start in a new prefix fills Wine's caches.
start_once 0 0 >/dev/null || true
floor_once 1 0 >/dev/null || true

status=0
rows=""
first="${counts[0]}"
last="${counts[${#counts[@]}-1]}"
for count in "${counts[@]}"; do
    for i in $(seq "$runs"); do
        k=0
        # Key times in every start of the smallest and the largest count.
        if [ "$count" = "$first" ] || [ "$count" = "$last" ]; then k=1; fi
        r="$(start_once "$count" "$k")" || {
            echo "start with $count notes failed" >&2
            status=1
            continue
        }
        f="$(floor_once "$count" "$k")" || {
            echo "floor with $count notes failed" >&2
            status=1
            continue
        }
        # "count floor-memory : floor-keys : program-memory : program-keys"
        rows+="$count $f : $r"$'\n'
    done
done

echo "starts: notes, resident KB of the floor (total anonymous file shared) : its key times (ms)"
echo "        : the same of the program"
printf '%s' "$rows"
echo
printf '%s' "$rows" | python3 <(cat <<'PY'
import sys, statistics
med = statistics.median
mem, keys, floorkeys = {}, {}, {}
for line in sys.stdin:
    if not line.strip():
        continue
    parts = line.split(":")
    if len(parts) != 4:
        continue
    fm, fk, pm, pk = (p.split() for p in parts)
    c = int(fm[0])
    mem.setdefault(c, []).append(list(map(float, fm[1:5] + pm[0:4])))
    if pk:
        keys.setdefault(c, []).append([float(x) for x in pk])
    if fk:
        floorkeys.setdefault(c, []).append([float(x) for x in fk])
counts = sorted(mem)
if not counts:
    sys.exit(1)
ref = counts[0]
base = [med([r[i] for r in mem[ref]]) for i in range(8)]
print("Resident memory from outside, the program beside the floor (median of the starts)")
print("KB per note over the start with %d notes: total, anonymous, shared (window surfaces)" % ref)
print("%6s %4s | %9s %20s | %9s %20s | %s" % ("notes", "runs", "floor MB", "per note: all anon shm",
                                              "prog. MB", "per note: all anon shm", "program - floor"))
for c in counts:
    x = [med([r[i] for r in mem[c]]) for i in range(8)]
    if c == ref:
        print("%6d %4d | %9.1f %20s | %9.1f %20s |" % (c, len(mem[c]), x[0] / 1024, "", x[4] / 1024, ""))
        continue
    per = [(x[i] - base[i]) / (c - ref) for i in range(8)]
    print("%6d %4d | %9.1f %6.1f %6.1f %6.1f | %9.1f %6.1f %6.1f %6.1f | %6.1f" % (
        c, len(mem[c]), x[0] / 1024, per[0], per[1], per[3], x[4] / 1024, per[4], per[5], per[7],
        per[4] - per[0]))
if keys:
    # The first key of a start grows a note whose text overflows it: a window
    # resize, reported apart. A start's figure is the median of its other keys;
    # the figure of a count is the median of its starts.
    def start_medians(table, c):
        return [med(run[1:]) for run in table.get(c, []) if len(run) > 1]
    def figure(table, c):
        runs = start_medians(table, c)
        return med(runs) if runs else float("nan")
    print()
    print("Key press to painted character in a note's editor (median over the keys of a")
    print("start, then over the starts, ms), beside the floor's bare editor (an edit")
    print("control in a floor window): the program's own part is the difference")
    low = min(keys)
    def own(c):
        return figure(keys, c) - figure(floorkeys, c)
    print("%6s | %8s %8s | %8s %8s | %8s %8s" % ("notes", "program", "x low", "floor", "x low",
                                                "own", "x low"))
    for c in sorted(keys):
        m, ml = figure(keys, c), figure(keys, low)
        f, fl = figure(floorkeys, c), figure(floorkeys, low)
        print("%6d | %8.2f %8.2f | %8.2f %8.2f | %8.2f %8.2f" % (
            c, m, m / ml, f, f / fl, own(c), own(c) / own(low) if own(low) > 0 else float("nan")))
    for c in sorted(keys):
        print("%6d notes, each start: program %s; floor %s" % (
            c, " ".join("%.2f" % x for x in start_medians(keys, c)),
            " ".join("%.2f" % x for x in start_medians(floorkeys, c))))
    print("(first key, each start: %s ms)" % "; ".join(
        "%d notes %s" % (c, " ".join("%.1f" % run[0] for run in keys[c])) for c in sorted(keys)))
PY
)
exit "$status"
