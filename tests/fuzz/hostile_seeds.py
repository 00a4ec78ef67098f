#!/usr/bin/env python3
"""Writes the large hostile inputs of one fuzz target into a corpus folder.

They are made afresh for each run instead of being kept in the tree: each is
hundreds of kilobytes of repetition. With the per-input time-out of the fuzz
run, each one fails a target whose work grows with the square of its input.

usage: hostile_seeds.py TARGET FOLDER   (TARGET without the "fuzz_" prefix)
"""
import os
import sys


def utf16(text):
    return text.encode("utf-16-le", "surrogatepass")


def ini_with_themes(themes):
    lines = ["[ColorThemes]", "Count=%d" % themes]
    for t in range(themes):
        lines += ["[ColorTheme%d]" % t, "Name=Theme number %d" % t, "Red=%d" % (t % 256),
                  "Green=%d" % (t * 7 % 256), "Blue=%d" % (t * 13 % 256), "Comment=" + "x" * 200]
    return "\r\n".join(lines).encode("ascii")


def language(keys):
    lines = ["[Text]"] + ["Key%d=Text of key %d\\n" % (k, k) for k in range(keys)]
    return "\r\n".join(lines).encode("ascii")


def seeds(target):
    if target == "links":
        yield "brackets", utf16("http://a" + ")" * 262000)
        yield "long-address", utf16("www." + "w" * 500000 + " http://b.org")
        yield "many-schemes", utf16("http://" * 70000)
    elif target == "ini":
        yield "themes", ini_with_themes(1000)
        yield "keys", language(10000)
    elif target == "skin_language":
        yield "themes", ini_with_themes(1000)
        yield "keys", language(10000)
    elif target == "language":
        yield "escapes", utf16("\\n" * 260000)
    elif target == "hand_over":
        yield "long-path", utf16("C:\\" + "d\u0000" * 5 + "\\" * 300000)
        yield "line", utf16("C:\\Program Files\\V N\\Z.exe " + "\"'" * 200000)
    elif target == "notes":
        # One record header claiming a huge count, then many smallest records.
        import struct
        record = struct.pack("<4i", 0, 0, 32767, 32767) + struct.pack("<I", 0) * 2 + bytes(20)
        yield "records", struct.pack("<iIB", 4, 1000000, 0) + record * 20000


def main():
    target, folder = sys.argv[1], sys.argv[2]
    os.makedirs(folder, exist_ok=True)
    for name, data in seeds(target):
        assert len(data) <= 1 << 20, name
        with open(os.path.join(folder, "hostile-" + name), "wb") as f:
            f.write(data)


main()
