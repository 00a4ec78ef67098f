#!/usr/bin/env python3
"""Compares the pictures of vn_screenshots with the references and makes a
contact sheet of them for people to look at.

  screenshots.py compare CURRENT_DIR   compare CURRENT_DIR/*.bmp with the
                                       references; exit status 1 naming every
                                       picture that differs, is new or is gone
  screenshots.py refresh CURRENT_DIR   take the current pictures as references

Either writes CURRENT_DIR/../contact-sheet.png (every picture, named) and, when
pictures differ, CURRENT_DIR/../differences.png (reference, current, and the
differing pixels in red, side by side).

Fonts are smoothed, and smoothing may move by a shade between machines: a
pixel counts as different when a channel moves by more than TOLERANCE, and a
picture when more than MAX_SHARE of its pixels (and at least MIN_PIXELS) do.
"""
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
REFERENCES = os.path.join(HERE, "references")
TOLERANCE = 40
MAX_SHARE = 0.002
MIN_PIXELS = 3


def read_bmp(path):
    """(width, height, rows of RGB bytes, top line first) of a 24-bit BMP."""
    data = open(path, "rb").read()
    offset = struct.unpack_from("<I", data, 10)[0]
    width, height, _, bits = struct.unpack_from("<iiHH", data, 18)
    if bits != 24:
        raise ValueError(f"{path}: {bits} bits per pixel")
    top_down = height < 0
    height = abs(height)
    stride = (width * 3 + 3) & ~3
    rows = []
    for y in range(height):
        line = y if top_down else height - 1 - y
        raw = data[offset + line * stride: offset + line * stride + width * 3]
        row = bytearray(width * 3)
        row[0::3], row[1::3], row[2::3] = raw[2::3], raw[1::3], raw[0::3]
        rows.append(bytes(row))
    return width, height, rows


def write_png(path, width, height, rows):
    def chunk(kind, body):
        return (struct.pack(">I", len(body)) + kind + body +
                struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF))
    raw = b"".join(b"\0" + row for row in rows)
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n")
        f.write(chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)))
        f.write(chunk(b"IDAT", zlib.compress(raw, 9)))
        f.write(chunk(b"IEND", b""))


def read_png(path):
    """(width, height, rows) of an 8-bit RGB PNG (as write_png makes them)."""
    data = open(path, "rb").read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError(f"{path}: not a PNG")
    pos, idat, width = 8, b"", 0
    while pos < len(data):
        length, kind = struct.unpack_from(">I4s", data, pos)
        body = data[pos + 8: pos + 8 + length]
        if kind == b"IHDR":
            width, height, depth, colour = struct.unpack_from(">IIBB", body)
            if (depth, colour) != (8, 2):
                raise ValueError(f"{path}: not 8-bit RGB")
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    raw = zlib.decompress(idat)
    stride = width * 3
    rows, previous = [], bytearray(stride)
    for y in range(height):
        kind = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1: (y + 1) * (stride + 1)])
        for i in range(stride):
            a = line[i - 3] if i >= 3 else 0
            b = previous[i]
            c = previous[i - 3] if i >= 3 else 0
            if kind == 1:
                line[i] = (line[i] + a) & 0xFF
            elif kind == 2:
                line[i] = (line[i] + b) & 0xFF
            elif kind == 3:
                line[i] = (line[i] + (a + b) // 2) & 0xFF
            elif kind == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                line[i] = (line[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 0xFF
        rows.append(bytes(line))
        previous = line
    return width, height, rows


def differing_pixels(a, b):
    """Positions of the pixels of two pictures of one size that differ."""
    _, _, rows_a = a
    _, _, rows_b = b
    found = []
    for y, (ra, rb) in enumerate(zip(rows_a, rows_b)):
        if ra == rb:
            continue
        for x in range(len(ra) // 3):
            if max(abs(ra[3 * x + i] - rb[3 * x + i]) for i in range(3)) > TOLERANCE:
                found.append((x, y))
    return found


def label_font():
    """A font ImageMagick knows (its own default, Helvetica, is often missing)."""
    try:
        listing = subprocess.run(["convert", "-list", "font"], capture_output=True,
                                 text=True).stdout
    except OSError:
        return None
    fonts = [line.split(":", 1)[1].strip() for line in listing.splitlines()
             if line.strip().startswith("Font:")]
    for wanted in ("DejaVu-Sans", "Liberation-Sans"):
        if wanted in fonts:
            return wanted
    return fonts[0] if fonts else None


def montage(pictures, path, columns):
    """pictures: (file, label); a sheet of them, named, on the desktop's colour."""
    if not pictures:
        return
    # Tiles of one size, so that every name stands under its own picture.
    args = ["montage", "-background", "#3b6386", "-tile", f"{columns}x",
            "-geometry", "230x210>+6+6"]
    font = label_font()
    if font:
        args += ["-font", font, "-fill", "white", "-pointsize", "11"]
        for file, label in pictures:
            args += ["-label", label, file]
    else:
        args += [file for file, _ in pictures]
    args.append(path)
    result = subprocess.run(args, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
    if result.returncode != 0:
        print(f"montage: {result.stderr.strip()}", file=sys.stderr)


def main():
    if len(sys.argv) != 3 or sys.argv[1] not in ("compare", "refresh"):
        print(__doc__, file=sys.stderr)
        return 2
    mode, current = sys.argv[1], os.path.abspath(sys.argv[2])
    out = os.path.dirname(current)
    names = sorted(f[:-4] for f in os.listdir(current) if f.endswith(".bmp"))
    if not names:
        print(f"no pictures in {current}", file=sys.stderr)
        return 1
    pngs = os.path.join(out, "png")
    shutil.rmtree(pngs, ignore_errors=True)
    os.makedirs(pngs)
    pictures = {}
    for name in names:
        pictures[name] = read_bmp(os.path.join(current, name + ".bmp"))
        write_png(os.path.join(pngs, name + ".png"), *pictures[name])
    sheet = os.path.join(out, "contact-sheet.png")
    montage([(os.path.join(pngs, n + ".png"), n) for n in names], sheet, 8)
    print(f"contact sheet: {sheet} ({len(names)} pictures)")

    if mode == "refresh":
        shutil.rmtree(REFERENCES, ignore_errors=True)
        os.makedirs(REFERENCES)
        for name in names:
            shutil.copy(os.path.join(pngs, name + ".png"), REFERENCES)
        print(f"{len(names)} references written to {REFERENCES}")
        return 0

    references = set(f[:-4] for f in os.listdir(REFERENCES) if f.endswith(".png")) \
        if os.path.isdir(REFERENCES) else set()
    problems, shown = [], []
    work = tempfile.mkdtemp()
    for name in names:
        if name not in references:
            problems.append(f"{name}: new, no reference")
            continue
        reference = read_png(os.path.join(REFERENCES, name + ".png"))
        picture = pictures[name]
        if reference[:2] != picture[:2]:
            problems.append(f"{name}: {picture[0]}x{picture[1]}, the reference "
                            f"{reference[0]}x{reference[1]}")
            continue
        found = differing_pixels(reference, picture)
        if len(found) > max(MIN_PIXELS, MAX_SHARE * picture[0] * picture[1]):
            x, y = found[0]
            problems.append(f"{name}: {len(found)} pixels differ, the first at {x},{y}")
            width, height, rows = picture
            marked = [bytearray(r) for r in rows]
            for fx, fy in found:
                marked[fy][3 * fx: 3 * fx + 3] = b"\xff\x00\x00"
            diff = os.path.join(work, name + "-diff.png")
            write_png(diff, width, height, [bytes(r) for r in marked])
            shown += [(os.path.join(REFERENCES, name + ".png"), name + " (reference)"),
                      (os.path.join(pngs, name + ".png"), "now"), (diff, "differences")]
    for name in sorted(references - set(names)):
        problems.append(f"{name}: no longer made (its reference is left)")
    if shown:
        differences = os.path.join(out, "differences.png")
        montage(shown, differences, 3)
        print(f"differences: {differences}")
    shutil.rmtree(work, ignore_errors=True)
    for p in problems:
        print(f"DIFFERS {p}")
    print(f"{len(names)} pictures, {len(problems)} differ from the references"
          + (" (refresh them after an intended change: bash tools/screenshots.sh --refresh)"
             if problems else ""))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
