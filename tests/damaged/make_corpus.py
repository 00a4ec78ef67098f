#!/usr/bin/env python3
"""Writes the corpus of damaged input files that e2e_damaged.sh starts the program on.

`make_corpus.py DIR` writes the small files that are kept in the repository (run it
with this folder to regenerate them); `make_corpus.py --huge DIR` writes the large
ones, which are made afresh for each test run. Every file is the same on every run.
"""
import random
import struct
import sys
from pathlib import Path


def note(left, top, text, title=""):
    t, h = text.encode("utf-16-le"), title.encode("utf-16-le")
    out = struct.pack("<4iI", left, top, left + 200, top + 150, len(t) // 2) + t
    out += struct.pack("<I", len(h) // 2) + h
    # on top; created; locked, own font; priority; hidden, alarm armed, has alarm
    out += struct.pack("<B5HBBBBBB", 0, 2026, 5, 6, 7, 8, 0, 0, 2, 0, 0, 0)
    return out


def notes_file(notes, count=None):
    head = struct.pack("<iIB", 4, len(notes) if count is None else count, 0)
    return head + b"".join(notes)


def cut_short():
    """Five notes, cut in the middle of the fourth note's text: three whole notes
    and a fourth with what could be read."""
    whole = [note(60 + 230 * i, 300, f"Cut-short note {i + 1}") for i in range(5)]
    data = notes_file(whole)
    fourth = len(notes_file(whole[:3]))
    return data[: fourth + 16 + 4 + 10]


def random_bytes():
    """Random bytes throughout. Read as a header they give a version above 4, so
    the file counts as written by a later version: no notes, the file kept."""
    rng = random.Random(1)
    data = bytes(rng.randrange(256) for _ in range(4096))
    assert struct.unpack_from("<i", data)[0] > 4
    return data


def random_body():
    """A valid header that promises a thousand notes, then random printable bytes.
    (Wholly random UTF-16 text makes Wine's text shaping crash in the edit
    control, in GPOS mark-to-mark positioning; Windows shapes any text.)"""
    rng = random.Random(20261207)
    return struct.pack("<iIB", 4, 1000, 0) + bytes(rng.randrange(32, 127) for _ in range(6000))


def absurd_counts():
    """Four billion notes promised; the first note's text claims two billion units."""
    body = struct.pack("<4iI", 100, 100, 300, 250, 0x7FFFFFFF) + "short".encode("utf-16-le")
    return struct.pack("<iIB", 4, 0xFFFFFFFF, 0) + body


def binary_settings():
    rng = random.Random(7)
    return bytes(rng.randrange(256) for _ in range(3000))


HOSTILE_LANGUAGE = (
    "[Text]\r\n"
    "LanguageName=Hostile\r\n"
    # Conversions that would read or write memory that is not there.
    "Title_App=%s%s%s%n%x\r\n"
    "About=%n%s%s%s%s%999999999d %.999999999s %d%d%d%d%d %\r\n"
    "Confirm_DeleteNote=%n%n%s%s%s%s%s%p%c\r\n"
    "Confirm_Restart=%s\r\n"
    # A file name that climbs out of the user's folder.
    "RecycleBinFile=..\\..\\..\\..\\escaped-recycle-bin.txt\r\n"
    "TrayIconToolTip=" + "T" * 5000 + "\r\n"
    "TextFilesFilter=;;;;\r\n"
    "EmptySubMenu=\\n\\n\\n\\t\\r\r\n"
    "MainMenu_Exit=" + "\\n" * 3000 + "\r\n"
    "NoteMenu_Edit=\r\n"
    # Every other key is missing.
)


def absurd_skin():
    big, small = "2147483647", "-2147483648"
    lines = ["[Skin]", "Name=" + "N" * 3000, "[NoteBackground]", "FixedSize=0"]
    for side in ("Left", "Top", "Right", "Bottom"):
        lines.append(f"{side}Border={big if side in ('Left', 'Right') else small}")
    lines += ["[NoteMask]", f"LeftBorder={small}", f"TopBorder={big}", "RightBorder=-1",
              "BottomBorder=99999999999999999999"]
    lines += ["[NoteResize]", f"PositionX={small}", f"PositionY={big}", f"Width={big}",
              f"Height={small}"]
    lines += ["[NoteEdit]", f"LeftBorder={big}", f"TopBorder={big}", f"RightBorder={big}",
              f"BottomBorder={big}"]
    lines += ["[NoteFont]", "Face=" + "F" * 500, f"PointSize={small}", "Bold=-7", "Italic=2"]
    lines += ["[MoreText]", f"PositionX={big}", f"PositionY={small}"]
    lines += ["[ColorThemes]", "Count=4294967295"]
    for i in range(3):
        lines += [f"[ColorTheme{i}]", "R=-99999", "G=4294967296", "B=0x7FFFFFFF", "Name="]
    lines += ["[TextColor]", f"R={big}", f"G={small}", "B=abc"]
    lines += ["[MenuButton]", "Visible=1", f"X={big}", f"Y={small}"]
    lines += ["[DeleteButton]", "Visible=1", f"X={small}", f"Y={big}"]
    lines += ["[NotePriority]", f"X={big}", f"Y={big}"]
    lines += ["[MainWindow]", f"ButtonX={small}", f"ButtonY={big}"]
    return ("\r\n".join(lines) + "\r\n").encode("ascii")


def bmp(width, height, bits=24, pixels=True):
    stride = (width * bits + 31) // 32 * 4
    size = stride * abs(height)
    claimed = min(size, 0xFFFFFFFF - 54)  # the size fields have 32 bits
    head = b"BM" + struct.pack("<IHHI", 54 + claimed, 0, 0, 54)
    head += struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, claimed, 2835, 2835, 0, 0)
    return head + (bytes([0x80]) * size if pixels else b"")


def write_small(folder):
    files = {
        "notes/cut-short.dat": cut_short(),
        "notes/random-bytes.dat": random_bytes(),
        "notes/random-body.dat": random_body(),
        "notes/absurd-counts.dat": absurd_counts(),
        "settings/binary.ini": binary_settings(),
        "languages/Hostile.ini": HOSTILE_LANGUAGE.encode("ascii"),
        "skins/Absurd/Skin.ini": absurd_skin(),
        # Half of a 40 x 180 background: the headers promise pixels that are not there.
        "skins/BadBitmaps/Note/Background.bmp": bmp(40, 180)[: 54 + 40 * 3 * 90],
        # Headers of a 60000 x 60000 picture (10 GB of pixels) in a file of 54 bytes.
        "skins/BadBitmaps/MainWindow/Background.bmp": bmp(60000, 60000, pixels=False),
        # 20000 x 1 is only 60 KB, yet wider than any skin bitmap may be.
        "skins/BadBitmaps/Note/MoreText.bmp": bmp(20000, 1),
    }
    for name, data in files.items():
        path = Path(folder) / name
        path.parent.mkdir(parents=True, exist_ok=True)
        path.write_bytes(data)


def write_huge(folder):
    path = Path(folder) / "settings" / "huge.ini"
    path.parent.mkdir(parents=True, exist_ok=True)
    line = b"Key%08d=a value that makes the line longer than it needs to be\r\n"
    with open(path, "wb") as out:
        out.write(b"[Settings]\r\nSnapSize=12\r\n")
        block = b"".join(line % i for i in range(1000))
        for _ in range(300):  # about 20 MB
            out.write(block)


if __name__ == "__main__":
    if sys.argv[1] == "--huge":
        write_huge(sys.argv[2])
    else:
        write_small(sys.argv[1])
