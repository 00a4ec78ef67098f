#!/usr/bin/env python3
"""Writes and reads Notes.dat for the end-to-end test of the note windows.

  notes_dat.py write FILE            three notes side by side
  notes_dat.py dump FILE             one line per note: left top right bottom hidden text
"""
import struct
import sys


def write(path):
    notes = [(100, 120, 300, 270, "First note"), (420, 120, 620, 270, "Second note"),
             (100, 420, 300, 570, "Third note")]
    out = struct.pack("<iIB", 4, len(notes), 0)
    for left, top, right, bottom, text in notes:
        units = text.encode("utf-16-le")
        out += struct.pack("<4i", left, top, right, bottom)
        out += struct.pack("<I", len(units) // 2) + units
        out += struct.pack("<I", 0)  # no title
        out += struct.pack("<B5H", 0, 2024, 5, 6, 7, 8)
        out += struct.pack("<BB", 0, 0)  # locked, own font
        out += struct.pack("<BBBB", 2, 0, 0, 0)  # priority, hidden, alarm on, has alarm
    open(path, "wb").write(out)


def dump(path):
    data = open(path, "rb").read()
    pos = 0

    def take(fmt):
        nonlocal pos
        values = struct.unpack_from(fmt, data, pos)
        pos += struct.calcsize(fmt)
        return values

    version, count, has_font = take("<iIB")
    if has_font:
        take("<92s")
    for _ in range(count):
        rect = take("<4i")
        (length,) = take("<I")
        text = data[pos:pos + 2 * length].decode("utf-16-le")
        pos += 2 * length
        (title_length,) = take("<I")
        pos += 2 * title_length
        take("<B5H")
        _, own_font = take("<BB")
        if own_font:
            take("<92s")
        _, hidden, _, has_alarm = take("<BBBB")
        if has_alarm:
            take("<8H")
        print(*rect, hidden, text.replace("\r\n", "|"))


if __name__ == "__main__":
    {"write": write, "dump": dump}[sys.argv[1]](sys.argv[2])
