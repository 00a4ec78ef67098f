#!/usr/bin/env python3
"""Notes.dat for the end-to-end test: `write FILE` puts three notes side by side,
`dump FILE` prints one line per note: left top right bottom hidden text;
`flags FILE` prints one line per note: text, title, then always-on-top, hidden,
alarm armed and has-alarm as 0 or 1, separated by tabs."""
import struct
import sys


def write(path):
    out = struct.pack("<iIB", 4, 3, 0)  # version, count, no default font
    for left, top, text in [(100, 120, "First note"), (420, 120, "Second note"),
                            (100, 420, "Third note")]:
        units = text.encode("utf-16-le")
        out += struct.pack("<4iI", left, top, left + 200, top + 150, len(units) // 2) + units
        # no title; created; not locked, no own font; priority, hidden, alarm on, has alarm
        out += struct.pack("<IB5HBBBBBB", 0, 0, 2024, 5, 6, 7, 8, 0, 0, 2, 0, 0, 0)
    open(path, "wb").write(out)


def records(path):
    """(rect, text, title, on_top, hidden, alarm_enabled, has_alarm) per note."""
    data, pos = open(path, "rb").read(), 0

    def take(fmt):
        nonlocal pos
        pos += struct.calcsize(fmt)
        return struct.unpack_from(fmt, data, pos - struct.calcsize(fmt))

    _, count, has_font = take("<iIB")
    pos += 92 if has_font else 0
    for _ in range(count):
        rect = take("<4i")
        (length,) = take("<I")
        text = data[pos:pos + 2 * length].decode("utf-16-le")
        pos += 2 * length
        (title_length,) = take("<I")
        title = data[pos:pos + 2 * title_length].decode("utf-16-le")
        pos += 2 * title_length
        on_top, _, _, _, _, _, _, own_font = take("<B5HBB")
        pos += 92 if own_font else 0
        _, hidden, alarm_enabled, has_alarm = take("<BBBB")
        pos += 16 if has_alarm else 0
        yield rect, text, title, on_top, hidden, alarm_enabled, has_alarm


def dump(path):
    for rect, text, _, _, hidden, _, _ in records(path):
        print(*rect, hidden, text.replace("\r\n", "|"))


def flags(path):
    for _, text, title, *rest in records(path):
        print(text.replace("\r\n", "|"), title, *rest, sep="\t")


if __name__ == "__main__":
    {"write": write, "dump": dump, "flags": flags}[sys.argv[1]](sys.argv[2])
