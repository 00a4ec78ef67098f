#!/usr/bin/env bash
# The processor time the real program takes while nobody uses it, with sync
# through a folder on, beside the same program with sync off, started back to
# back in the same run: the program's own CPU time (user + system, from /proc)
# and the wineserver's over the same seconds, which carries the program's
# messages and timers. Each start has three notes and waits a few seconds for
# start-up work to settle before counting. Prints each start and the medians.
#   bench/idle_cpu.sh BIN-FOLDER
# VN_IDLE_SECONDS (default 31: one 30-second poll of the folder falls inside)
# and VN_IDLE_RUNS (default 3) set the window and the starts of each kind.
# BIN-FOLDER holds Zephyn3.exe and vn_driver.exe; DISPLAY and WINEPREFIX are set.
set -uo pipefail
bin="$1"
seconds="${VN_IDLE_SECONDS:-31}"
runs="${VN_IDLE_RUNS:-3}"
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
driver="$bin/vn_driver.exe"
data="$WINEPREFIX/drive_c/users/${USER:-$(whoami)}/AppData/Roaming/Vellomar Notes 3"
folder="$WINEPREFIX/drive_c/idle-sync"
hz="$(getconf CLK_TCK)"
# A start that fails half-way leaves no program running.
trap 'wine "$driver" quit 20000 >/dev/null 2>&1' EXIT

# CPU ticks (user + system) of a process; empty when it is gone.
ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat" 2>/dev/null; }

# The Linux process of the program started in this prefix.
program_pid() {
    local p
    for p in $(pgrep -f 'Zephyn3.exe'); do
        if tr '\0' '\n' <"/proc/$p/environ" 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX"; then
            echo "$p"
            return 0
        fi
    done
    return 1
}

server_pid() {
    local p
    for p in $(pgrep -x wineserver); do
        if tr '\0' '\n' <"/proc/$p/environ" 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX"; then
            echo "$p"
            return 0
        fi
    done
    return 1
}

# One start: prints "program_ms server_ms".
once() {
    local sync="$1" pid server p0 p1 s0 s1
    rm -rf "$data" "$folder"
    mkdir -p "$data" "$folder"
    python3 "$root/tests/support/notes_dat.py" write "$data/Notes.dat"
    {
        if [ "$sync" = on ]; then
            printf '[Sync]\r\nEnabled=1\r\nFolder=C:\\idle-sync\r\nComputerName=IDLEPC\r\n'
        fi
        printf '[Settings]\r\nCheckForUpdatesAtStartup=0\r\n'
    } >"$data/Settings.ini"
    wine "$bin/Zephyn3.exe" >/dev/null 2>&1 &
    wine "$driver" wait-main 30000 >/dev/null || { echo "no main window" >&2; return 1; }
    sleep 5
    pid="$(program_pid)" || { echo "no program process" >&2; return 1; }
    server="$(server_pid)" || server=""
    p0="$(ticks "$pid")"
    s0="$( [ -n "$server" ] && ticks "$server" || echo 0)"
    sleep "$seconds"
    p1="$(ticks "$pid")"
    s1="$( [ -n "$server" ] && ticks "$server" || echo 0)"
    wine "$driver" quit 20000 >/dev/null 2>&1
    if [ "$sync" = on ] && ! ls "$folder"/*.vnsync >/dev/null 2>&1; then
        echo "sync wrote no device file" >&2
        return 1
    fi
    echo "$(((p1 - p0) * 1000 / hz)) $(((s1 - s0) * 1000 / hz))"
}

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR ? v[int((NR + 1) / 2)] : 0) }'; }

declare -A program server
for ((run = 1; run <= runs; ++run)); do
    for sync in off on; do
        result="$(once "$sync")" || exit 1
        read -r p s <<<"$result"
        program[$sync]+="$p "
        server[$sync]+="$s "
        echo "start $run, sync $sync: program $p ms, wineserver $s ms of CPU in $seconds s"
    done
done
declare -A total
for sync in off on; do
    p="$(tr ' ' '\n' <<<"${program[$sync]}" | grep . | median)"
    s="$(tr ' ' '\n' <<<"${server[$sync]}" | grep . | median)"
    total[$sync]=$((p + s))
    echo "idle, sync $sync (median of $runs): program $p ms, wineserver $s ms of CPU in $seconds s"
done
if ((total[off] > 0)); then
    echo "idle CPU, sync on over sync off: $(awk -v a="${total[on]}" -v b="${total[off]}" \
        'BEGIN { printf "%.2f", a / b }')"
else
    echo "idle CPU, sync on over sync off: ${total[on]} ms against 0 ms"
fi
