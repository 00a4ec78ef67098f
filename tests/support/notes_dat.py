#!/usr/bin/env python3
"""Notes.dat for the end-to-end scripts: `write FILE` puts three notes side by side,
`dump FILE` prints one line per note: left top right bottom hidden text;
`count FILE` prints the number of notes of a whole file and fails on any other.
As a module: `note` and `notes_file` make the bytes, `records` reads them."""
import struct
import sys
from collections import namedtuple

Note = namedtuple("Note", "rect text title on_top own_font hidden alarm")


def note(left, top, text, title="", on_top=False):
    """A 200 x 150 note of version 4, created 2024-05-06 07:08, normal priority."""
    t, h = text.encode("utf-16-le"), title.encode("utf-16-le")
    out = struct.pack("<4iI", left, top, left + 200, top + 150, len(t) // 2) + t
    out += struct.pack("<I", len(h) // 2) + h
    # on top; created; not locked, no own font; priority, hidden, alarm on, has alarm
    return out + struct.pack("<B5HBBBBBB", on_top, 2024, 5, 6, 7, 8, 0, 0, 2, 0, 0, 0)


def notes_file(notes):
    return struct.pack("<iIB", 4, len(notes), 0) + b"".join(notes)  # no default font


def write(path):
    notes = [note(100, 120, "First note"), note(420, 120, "Second note"),
             note(100, 420, "Third note")]
    open(path, "wb").write(notes_file(notes))


def records(path, whole=None):
    """A Note per note. With a list for `whole`, appends to it whether the file
    ended with the last note of version 4."""
    data, pos = open(path, "rb").read(), 0

    def take(fmt):
        nonlocal pos
        pos += struct.calcsize(fmt)
        return struct.unpack_from(fmt, data, pos - struct.calcsize(fmt))

    def string():
        nonlocal pos
        (length,) = take("<I")
        pos += 2 * length
        return data[pos - 2 * length:pos].decode("utf-16-le", "surrogatepass")

    version, count, has_font = take("<iIB")
    pos += 92 if has_font else 0
    for _ in range(count):
        rect, text, title = take("<4i"), string(), string()
        on_top, *_, own_font = take("<B5HBB")
        pos += 92 if own_font else 0
        _, hidden, alarm, has_alarm = take("<BBBB")
        pos += 16 if has_alarm else 0
        if len(data) < pos:
            raise struct.error(f"the file ends {pos - len(data)} bytes early")
        yield Note(rect, text, title, on_top, own_font, hidden, alarm or has_alarm)
    if whole is not None:
        whole.append(version == 4 and pos == len(data))


def dump(path):
    for n in records(path):
        print(*n.rect, n.hidden, n.text.replace("\r\n", "|"))


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
