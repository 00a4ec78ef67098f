#!/usr/bin/env python3
"""Draws the program's icons (res/icons) and its 16 x 16 menu bitmaps (res/bitmaps).

Run from anywhere: python3 tools/make_icons.py [repository root]. Icons carry
16 to 256 pixel images (256 stored as PNG); menu bitmaps are 24-bit with a
magenta background, drawn on the pixel grid so their edges stay crisp.
"""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from raster import (MAGENTA, Canvas, circle, mix, polygon, rrect, save_ico,  # noqa: E402
                    segment, subtract, union)

ICON_SIZES = (16, 24, 32, 48, 64, 256)
NOTE_TOP, NOTE_BOTTOM = (255, 236, 120), (250, 214, 70)
OUTLINE = (150, 110, 20)


def sticky_note(s, pin, bold):
    """A square sticky note with a turned-up corner, scaled to s pixels."""
    c = Canvas(s, s, (0, 0, 0), alpha=0.0)
    k = s / 32.0
    m = 2.5 * k if s > 16 else 1.0
    fold = 9 * k
    x0, y0, x1, y1 = m, m + (2 * k if pin else 0), s - m, s - m
    body = polygon([(x0, y0), (x1, y0), (x1, y1 - fold), (x1 - fold, y1), (x0, y1)])
    edge = max(1.0, 1.2 * k) if not bold else max(1.0, 1.8 * k)
    # Soft shadow under the note.
    if s >= 32:
        c.fill(lambda x, y: body(x - 1.2 * k, y - 1.6 * k) - 1.5 * k, (0, 0, 0), 0.25)
    c.fill(body, OUTLINE if not bold else (90, 62, 10))
    inner = lambda x, y: body(x, y) + edge  # noqa: E731
    c.fill(inner, lambda x, y: mix(NOTE_TOP, NOTE_BOTTOM, (y - y0) / (y1 - y0)))
    # The curled corner.
    flap = polygon([(x1 - fold, y1 - fold), (x1, y1 - fold), (x1 - fold, y1)])
    c.fill(flap, (236, 190, 50))
    c.fill(lambda x, y: flap(x, y) + edge * 0.8, (255, 246, 190))
    crease = union(segment(x1 - fold, y1 - fold, x1 - fold, y1, edge / 2),
                   segment(x1 - fold, y1 - fold, x1, y1 - fold, edge / 2))
    c.fill(lambda x, y: max(crease(x, y), body(x, y)), OUTLINE)
    # Lines of writing.
    lines = (0.40, 0.56, 0.72) if not bold else (0.42, 0.64)
    for i, f in enumerate(lines):
        y = y0 + (y1 - y0) * f
        right = x1 - (7 * k if i < len(lines) - 1 else fold + 4 * k)
        w = max(0.5, 0.9 * k) if not bold else max(0.75, 1.6 * k)
        c.fill(segment(x0 + 6 * k, y, right, y, w), (150, 120, 50) if not bold else (110, 80, 20))
    if pin:
        px, py = s / 2.0, y0 + 1.2 * k
        c.fill(circle(px + 0.8 * k, py + 1.2 * k, 4.2 * k), (0, 0, 0), 0.25)
        c.fill(circle(px, py, 4.2 * k), (170, 20, 20))
        c.fill(circle(px, py, 3.4 * k), lambda x, y: mix((255, 90, 80), (200, 30, 30), (y - py + 3.4 * k) / (6.8 * k)))
        c.fill(circle(px - 1.3 * k, py - 1.3 * k, 1.2 * k), (255, 220, 220), 0.9)
    return c


# --- menu bitmaps -------------------------------------------------------------

INK = (40, 40, 40)
PAPER = (255, 255, 255)
NOTE = (255, 230, 110)
NOTE_EDGE = (176, 132, 20)


def menu_canvas():
    return Canvas(16, 16, MAGENTA)


def box(c, x0, y0, x1, y1, edge, fill):
    c.rect(x0, y0, x1, y1, edge)
    c.rect(x0 + 1, y0 + 1, x1 - 1, y1 - 1, fill)


def small_note(c, x0=1, y0=1, x1=13, y1=15, lines=True):
    box(c, x0, y0, x1, y1, NOTE_EDGE, NOTE)
    for i in range(3):                        # turned corner
        for j in range(3 - i):
            c.set(x1 - 1 - j, y1 - 1 - i, MAGENTA if i + j < 2 else NOTE_EDGE)
    c.set(x1 - 2, y1 - 2, NOTE_EDGE)
    c.set(x1 - 1, y1 - 3, NOTE_EDGE)
    c.set(x1 - 3, y1 - 1, NOTE_EDGE)
    if lines:
        for y in range(y0 + 4, y1 - 3, 3):
            c.rect(x0 + 3, y, x1 - 3, y + 1, (196, 160, 60))


def page(c, x0, y0, x1, y1):
    box(c, x0, y0, x1, y1, (110, 110, 120), PAPER)
    for y in range(y0 + 3, y1 - 2, 2):
        c.rect(x0 + 2, y, x1 - 2, y + 1, (170, 180, 200))


def plus(c, cx, cy, color=(40, 150, 40)):
    c.rect(cx - 3, cy - 1, cx + 4, cy + 2, (255, 255, 255))
    c.rect(cx - 1, cy - 3, cx + 2, cy + 4, (255, 255, 255))
    c.rect(cx - 2, cy, cx + 3, cy + 1, color)
    c.rect(cx, cy - 2, cx + 1, cy + 3, color)


def arrow_right(c, x, y, length, color):
    c.rect(x, y - 1, x + length, y + 1, color)
    for i in range(4):
        c.rect(x + length - 1 - i, y - 1 - i, x + length - i, y + 1 + i, color)


def clipboard(c):
    box(c, 2, 2, 14, 16, (120, 80, 30), (196, 148, 80))
    c.rect(4, 4, 12, 14, PAPER)
    box(c, 5, 1, 11, 4, (80, 80, 90), (190, 190, 200))


UNDO = [
    "................",
    "................",
    "....o...........",
    "...ox...........",
    "..oxxoooooo.....",
    ".oxxxxxxxxxoo...",
    "..oxxoooooxxxo..",
    "...ox......oxxo.",
    "....o.......oxxo",
    "............oxxo",
    "............oxxo",
    "...........oxxo.",
    "......ooooxxxo..",
    "......xxxxxxo...",
    "......ooooo.....",
    "................",
]


def curved_arrow(c, mirror):
    """A hooked arrow pointing left (undo), or right when mirrored (redo)."""
    colors = {"x": (30, 90, 190), "o": (120, 160, 220)}
    for y, line in enumerate(UNDO):
        for x, ch in enumerate(line):
            if ch in colors:
                c.set(15 - x if mirror else x, y, colors[ch])


def draw_menu_bitmap(ident):
    c = menu_canvas()
    if ident == 132:                          # new note
        small_note(c)
        plus(c, 11, 4)
    elif ident == 134:                        # new note from the clipboard
        clipboard(c)
        small_note(c, 6, 7, 15, 16, lines=False)
    elif ident == 135:                        # new note from a text file
        page(c, 2, 1, 12, 15)
        c.rect(9, 1, 12, 4, MAGENTA)
        c.rect(9, 1, 10, 4, (110, 110, 120))
        c.rect(9, 3, 12, 4, (110, 110, 120))
        small_note(c, 8, 8, 16, 16, lines=False)
    elif ident == 136:                        # import notes of the earlier version
        small_note(c, 5, 1, 16, 15)
        arrow_right(c, 0, 8, 9, (30, 120, 200))
    elif ident == 140:                        # open the recycle bin
        c.rect(2, 3, 14, 5, (90, 100, 110))
        c.rect(6, 1, 10, 3, (90, 100, 110))
        box(c, 3, 5, 13, 16, (90, 100, 110), (190, 200, 210))
        for x in (5, 7, 9, 11):
            c.rect(x, 7, x + 1, 14, (120, 130, 140))
        c.rect(7, 1, 9, 2, (190, 200, 210))
    elif ident == 201:                        # export all notes
        small_note(c, 0, 1, 11, 15)
        arrow_right(c, 6, 8, 10, (30, 150, 60))
    elif ident == 150:                        # delete the note
        red, dark = (214, 40, 40), (150, 20, 20)
        for i in range(10):
            for t in range(3):
                c.set(3 + i + t - 1, 3 + i, red if t == 1 else dark)
                c.set(12 - i + t - 1, 3 + i, red if t == 1 else dark)
    elif ident == 152:                        # save as
        box(c, 1, 1, 15, 15, (30, 50, 110), (60, 100, 190))
        c.rect(4, 2, 12, 7, PAPER)
        c.rect(5, 3, 11, 4, (170, 180, 200))
        c.rect(5, 5, 11, 6, (170, 180, 200))
        box(c, 4, 9, 12, 15, (30, 50, 110), (200, 200, 210))
        c.rect(9, 10, 11, 14, (30, 50, 110))
    elif ident == 153:                        # e-mail
        box(c, 1, 3, 15, 13, (90, 90, 100), (250, 246, 230))
        for i in range(6):
            c.set(2 + i, 4 + i, (90, 90, 100))
            c.set(13 - i, 4 + i, (90, 90, 100))
        c.set(7, 9, (90, 90, 100))
        c.set(8, 9, (90, 90, 100))
    elif ident == 154:                        # copy
        page(c, 1, 1, 10, 12)
        page(c, 6, 5, 15, 16)
    elif ident == 155:                        # paste
        clipboard(c)
        page(c, 7, 7, 15, 16)
    elif ident == 32777:                      # undo
        curved_arrow(c, False)
    elif ident == 32778:                      # redo
        curved_arrow(c, True)
    return c


MENU_IDS = (132, 134, 135, 136, 140, 150, 152, 153, 154, 155, 201, 32777, 32778)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..")
    icons = os.path.join(root, "res", "icons")
    bitmaps = os.path.join(root, "res", "bitmaps")
    os.makedirs(icons, exist_ok=True)
    os.makedirs(bitmaps, exist_ok=True)
    save_ico(os.path.join(icons, "App.ico"), [sticky_note(s, True, False) for s in ICON_SIZES])
    save_ico(os.path.join(icons, "Tray.ico"), [sticky_note(s, False, True) for s in ICON_SIZES])
    for ident in MENU_IDS:
        draw_menu_bitmap(ident).save_bmp(os.path.join(bitmaps, "Menu%d.bmp" % ident))


if __name__ == "__main__":
    main()
