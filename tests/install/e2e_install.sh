#!/usr/bin/env bash
# Packs the installer and the portable zip, then installs as a user would, under
# Wine: a silent installation asked to run at log-on, the program started from the
# installed folder while nothing in that folder may change, an upgrade over it, a
# silent uninstallation, and an installation again. The user's notes, settings
# and run-at-log-on choice must outlive all of it.
# $1 is the build folder (holding CPackConfig.cmake).
build="$(cd "$1" && pwd)"
source "$(dirname "${BASH_SOURCE[0]}")/../support/e2e-common.sh" "$build/bin"
install_win='C:\Program Files\Vellomar Notes 3'
install_dir="$WINEPREFIX/drive_c/Program Files/Vellomar Notes 3"
run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Vellomar Notes 3'
# The prefix goes with the script; a read-only program folder would outlive it.
e2e_on_exit() { [ ! -d "$install_dir" ] || chmod -R u+w "$install_dir" 2>/dev/null; }
run_value() {
    wine reg query "$run_key" /v "Vellomar Notes 3" 2>/dev/null | tr -d '\r' |
        sed -n 's/.*REG_SZ[[:space:]]*//p'
}
# An uninstaller copies itself away and returns at once; the wineserver ends
# once every process of the prefix has.
wait_prefix() { wineserver -w; }
note_count() { python3 "$notes_dat" dump "$data/Notes.dat" | wc -l; }
snapshot() { (cd "$install_dir" && find . -printf '%p %s %T@ %m\n' | sort); }

# --- Packages --------------------------------------------------------------
cpack --config "$build/CPackConfig.cmake" -B "$work/packages" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log" >&2; fail "cpack could not pack"; }
installer="$(ls "$work"/packages/VellomarNotes3-*-win64.exe)" || fail "no installer"
zip="$(ls "$work"/packages/VellomarNotes3-*-win64.zip)" || fail "no portable zip"
python3 - "$zip" <<'EOF' || fail "the portable zip lacks the program, its languages or skins"
import sys, zipfile
names = zipfile.ZipFile(sys.argv[1]).namelist()
top = names[0].split("/")[0]
need = ["Zephyn3.exe", "Languages/English.ini", "Skins/Default/Skin.ini",
        "Skins/Default/Note/Background.bmp"]
missing = [n for n in need if f"{top}/{n}" not in names]
sys.exit(f"missing {missing}" if missing else 0)
EOF

# --- The user's notes are there before the program is ----------------------
rm -rf "$data" && mkdir -p "$data"
python3 "$notes_dat" write "$data/Notes.dat"
printf '[Settings]\r\nSnapSize=12\r\n' >"$data/Settings.ini"

# --- Silent installation, asked to run at log-on ----------------------------
wine "$installer" /S /RUNATLOGON || fail "the silent installation ended with $?"
wait_prefix
for f in Zephyn3.exe Uninstall.exe Languages/English.ini Skins/Default/Skin.ini; do
    [ -f "$install_dir/$f" ] || fail "not installed: $f"
done
shortcut="$(find "$WINEPREFIX/drive_c" -path '*Start Menu/Programs/*' -name 'Vellomar Notes 3.lnk' |
    head -n 1)"
[ -n "$shortcut" ] || fail "no Start-menu entry"
[ -f "$(dirname "$shortcut")/Uninstall.lnk" ] || fail "no uninstaller in the Start menu"
wine reg query "$uninstall_key" /v UninstallString >/dev/null 2>&1 ||
    fail "not listed among the installed programs"
[ "$(run_value)" = "\"$install_win\\Zephyn3.exe\"" ] || fail "run at log-on is '$(run_value)'"

# --- The program runs from a folder it may not write to ---------------------
chmod -R a-w "$install_dir"
before="$(snapshot)"
wine "$install_win\\Zephyn3.exe" &
app_pid=$!
e2e_wait_main
e2e_wait_notes 3
# Now that the notes are loaded, the main window has its final size.
e2e_wait_main
# The skin beside the executable gave the main window its background's size.
skin_size="$(python3 -c 'import struct,sys; d=open(sys.argv[1],"rb").read(26); print(*struct.unpack("<ii", d[18:26]))' \
    "$install_dir/Skins/Default/MainWindow/Background.bmp")"
read -r bw bh <<<"$skin_size"
[ $((mright - mleft)) = "$bw" ] && [ $((mbottom - mtop)) = "${bh#-}" ] ||
    fail "main window $((mright - mleft))x$((mbottom - mtop)), not the skin's ${bw}x${bh#-}"
# A new note is saved to the user's folder.
e2e_new_note "Written in the installed program"
for _ in $(seq 50); do
    [ "$(note_count)" = 4 ] && break
    sleep 0.2
done
[ "$(note_count)" = 4 ] || fail "the new note was not saved ($(note_count) notes in Notes.dat)"
wine "$driver" quit 10000 >/dev/null || fail "the program did not end on request"
app_pid=""
[ "$(snapshot)" = "$before" ] || {
    diff <(echo "$before") <(snapshot) >&2 || true
    fail "something in the program folder changed"
}
chmod -R u+w "$install_dir"

# --- An upgrade over the installed copy -------------------------------------
wine "$installer" /S || fail "the upgrade ended with $?"
wait_prefix
[ -f "$install_dir/Zephyn3.exe" ] || fail "the upgrade left no program"
[ "$(note_count)" = 4 ] || fail "the upgrade lost notes"
[ "$(run_value)" = "\"$install_win\\Zephyn3.exe\"" ] || fail "the upgrade lost run at log-on"

# --- Silent uninstallation --------------------------------------------------
wine "$install_dir/Uninstall.exe" /S || fail "the uninstaller ended with $?"
wait_prefix
[ ! -e "$install_dir/Zephyn3.exe" ] || fail "the program is still installed"
[ ! -e "$shortcut" ] || fail "the Start-menu entry is still there"
[ -z "$(run_value)" ] || fail "run at log-on still points at the removed program"
wine reg query "$uninstall_key" >/dev/null 2>&1 && fail "still listed among the installed programs"
[ "$(note_count)" = 4 ] || fail "the uninstaller touched Notes.dat"
grep -q 'SnapSize=12' "$data/Settings.ini" || fail "the uninstaller touched Settings.ini"

# --- Installed again, the user's choice comes back ---------------------------
wine "$installer" /S || fail "the second installation ended with $?"
wait_prefix
[ "$(run_value)" = "\"$install_win\\Zephyn3.exe\"" ] || fail "run at log-on did not come back"
echo "install_e2e: ok"
