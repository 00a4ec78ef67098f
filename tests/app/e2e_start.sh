#!/usr/bin/env bash
# Starts the program on a fresh profile, checks the main window's place, hands
# a text file over from a second start, closes the program and checks that the
# note was saved. $1 is the folder of Zephyn3.exe.
source "$(dirname "${BASH_SOURCE[0]}")/../support/e2e-common.sh"

e2e_start
e2e_wait_main
[ "$mleft" = 600 ] && [ "$mtop" = 24 ] || fail "main window at ($mleft, $mtop), not (600, 24)"

# A file with a name that needs quoting, handed over by a second start.
printf 'Hand-over note\r\nsecond line\r\n' >"$work/my note.txt"
wine "$bin/Zephyn3.exe" "$(winepath -w "$work/my note.txt")" || fail "second start ended with $?"
e2e_wait_notes 1 "after the hand-over"

e2e_close
# Notes.dat keeps text as UTF-16LE.
python3 -c 'import sys; sys.exit("Hand-over note".encode("utf-16-le") not in open(sys.argv[1], "rb").read())' \
    "$data/Notes.dat" || fail "Notes.dat is missing or does not hold the text"
echo "e2e_start: ok"
