#!/usr/bin/env python3
"""Notes.dat for the end-to-end test: `write FILE` puts three notes side by side,
`dump FILE` prints one line per note: left top right bottom hidden text;
`count FILE` prints the number of notes of a whole file and fails on any other."""
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


def records(path, whole=None):
    """(rect, text, hidden) per note.
    With a list for `whole`, appends to it whether the file ended with the last
    note of version 4."""
    data, pos = open(path, "rb").read(), 0

    def take(fmt):
        nonlocal pos
        pos += struct.calcsize(fmt)
        return struct.unpack_from(fmt, data, pos - struct.calcsize(fmt))

    version, count, has_font = take("<iIB")
    pos += 92 if has_font else 0
    for _ in range(count):
        rect = take("<4i")
        (length,) = take("<I")
        text = data[pos:pos + 2 * length].decode("utf-16-le", "surrogatepass")
        pos += 2 * length
        (title_length,) = take("<I")
        pos += 2 * title_length
        own_font = take("<B5HBB")[-1]
        pos += 92 if own_font else 0
        _, hidden, _, has_alarm = take("<BBBB")
        pos += 16 if has_alarm else 0
        if len(data) < pos:
            raise struct.error(f"the file ends {pos - len(data)} bytes early")
        yield rect, text, hidden
    if whole is not None:
        whole.append(version == 4 and pos == len(data))


def dump(path):
    for rect, text, hidden in records(path):
        print(*rect, hidden, text.replace("\r\n", "|"))


def count(path):
    whole = []
    try:
        notes = sum(1 for _ in records(path, whole))
    except (struct.error, UnicodeDecodeError, OSError) as error:
        sys.exit(f"{path}: {error}")
    if not whole[0]:
        sys.exit(f"{path}: not version 4, or bytes after the notes")
    print(notes)


if __name__ == "__main__":
    {"write": write, "dump": dump, "count": count}[sys.argv[1]](sys.argv[2])
