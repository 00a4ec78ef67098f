#!/usr/bin/env python3
"""Draws the skins shipped in skins/: every bitmap and each Skin.ini.

Run from anywhere: python3 tools/make_skins.py [output folder, default skins/].
Bitmaps are drawn in light neutral tones so that the colour themes, which
multiply every pixel, give them their colour. Magenta is the layered windows'
colour key and cyan the transparent colour of bitmaps drawn over others: shapes
meet them with hard edges so no blended fringe appears.
"""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from raster import (CYAN, MAGENTA, Canvas, circle, mix, polygon, polyline,  # noqa: E402
                    rrect, segment, union)

# --- small pixel font for the main window's label ---------------------------

GLYPHS = {
    "N": ["1...1", "11..1", "1.1.1", "1..11", "1...1", "1...1", "1...1"],
    "o": [".....", ".....", ".111.", "1...1", "1...1", "1...1", ".111."],
    "t": [".1...", ".1...", "1111.", ".1...", ".1...", ".1..1", "..11."],
    "e": [".....", ".....", ".111.", "1...1", "11111", "1....", ".111."],
    "s": [".....", ".....", ".1111", "1....", ".111.", "....1", "1111."],
}


def text(c, x, y, s, color):
    for ch in s:
        for gy, line in enumerate(GLYPHS[ch]):
            for gx, bit in enumerate(line):
                if bit == "1":
                    c.set(x + gx, y + gy, color)
        x += len(GLYPHS[ch][0]) + 1


def save(c, root, rel):
    path = os.path.join(root, *rel.split("/"))
    os.makedirs(os.path.dirname(path), exist_ok=True)
    c.save_bmp(path)


def write_ini(root, sections):
    lines = []
    for name, keys in sections:
        lines.append("[%s]" % name)
        lines += ["%s=%s" % (k, v) for k, v in keys]
        lines.append("")
    with open(os.path.join(root, "Skin.ini"), "w", newline="\r\n") as f:
        f.write("\n".join(lines))


def theme_sections(themes):
    """Each theme: name, tint, and for a dark theme its own (light) text colour."""
    out = [("ColorThemes", [("Count", len(themes))])]
    for i, theme in enumerate(themes):
        name, (r, g, b) = theme[0], theme[1]
        keys = [("Name", name)]
        if len(theme) > 2:
            keys.append(("Dark", 1))
        keys += [("R", r), ("G", g), ("B", b)]
        if len(theme) > 2:
            tr, tg, tb = theme[2]
            keys += [("TextR", tr), ("TextG", tg), ("TextB", tb)]
        out.append(("ColorTheme%d" % i, keys))
    return out


# --- Default: a resizable note with a frame that shows on hover --------------

D_W, D_H = 180, 150
D_FRAME = 7                       # band around the paper, hidden by the mask
D_HEADER = 22                     # adhesive strip at the top of the paper
D_PAPER = (252, 252, 250)
D_STRIP = (238, 238, 234)
D_EDGE = (196, 196, 190)
D_FRAME_TOP, D_FRAME_BOTTOM = (178, 178, 174), (138, 138, 134)
D_OUTLINE = (96, 96, 94)
D_GLYPH = (84, 84, 84)


def default_background():
    c = Canvas(D_W, D_H, MAGENTA)
    outer = rrect(0, 0, D_W, D_H, 8)
    c.fill(outer, D_OUTLINE, hard=True)
    # Shaded only inside the top and bottom slices: the middle rows are tiled.
    c.fill(rrect(1, 1, D_W - 1, D_H - 1, 7), frame_shade)
    # A soft highlight along the inner top of the frame.
    c.fill(segment(8, 2.5, D_W - 8, 2.5, 0.5), (214, 214, 210), 0.8)
    paper = rrect(D_FRAME, D_FRAME, D_W - D_FRAME, D_H - D_FRAME, 3)
    c.fill(paper, D_EDGE)
    inner = rrect(D_FRAME + 1, D_FRAME + 1, D_W - D_FRAME - 1, D_H - D_FRAME - 1, 2)
    c.fill(inner, D_PAPER)
    strip_bottom = D_FRAME + D_HEADER
    c.fill(intersect_box(inner, 0, strip_bottom), D_STRIP)
    c.rect(D_FRAME + 1, strip_bottom, D_W - D_FRAME - 1, strip_bottom + 1, (226, 226, 221))
    # Resize grip: a triangle of dots in the bottom-right corner.
    for a in range(3):
        for b in range(3 - a):
            c.fill(circle(D_W - 4.5 - 4 * a, D_H - 4.5 - 4 * b, 1.1), D_OUTLINE)
    return c


def frame_shade(x, y):
    mid = mix(D_FRAME_TOP, D_FRAME_BOTTOM, 0.5)
    if y < 32:
        return mix(D_FRAME_TOP, mid, y / 32.0)
    if y > D_H - 20:
        return mix(mid, D_FRAME_BOTTOM, (y - (D_H - 20)) / 20.0)
    return mid


def intersect_box(shape, top, bottom):
    return lambda x, y: max(shape(x, y), top - y, y - bottom)


def default_mask():
    # Magenta over the frame (a hole in a layered note), cyan where the note shows
    # through, and paper over the grip dots that reach into the paper.
    c = Canvas(D_W, D_H, MAGENTA)
    paper = rrect(D_FRAME, D_FRAME, D_W - D_FRAME, D_H - D_FRAME, 3)
    c.fill(paper, CYAN, hard=True)
    c.rect(D_W - 20, D_H - 20, D_W - D_FRAME - 1, D_H - D_FRAME - 1, D_PAPER)
    c.rect(D_W - 20, D_H - D_FRAME - 1, D_W - D_FRAME - 1, D_H - D_FRAME, D_EDGE)
    c.rect(D_W - D_FRAME - 1, D_H - 20, D_W - D_FRAME, D_H - D_FRAME - 1, D_EDGE)
    return c


def default_button(glyph, state):
    c = Canvas(16, 16, CYAN)
    color = D_GLYPH
    dx = dy = 0
    if state == "Hover":
        c.fill(rrect(0, 0, 16, 16, 3), (150, 150, 146), hard=True)
        c.fill(rrect(1, 1, 15, 15, 2), (255, 255, 255))
    elif state == "Down":
        c.fill(rrect(0, 0, 16, 16, 3), (120, 120, 116), hard=True)
        c.fill(rrect(1, 1, 15, 15, 2), (204, 204, 200))
        dx = dy = 1
        color = (40, 40, 40)
    elif state == "Disabled":
        color = (190, 190, 186)
    if glyph == "menu":
        for i in range(3):
            c.rect(4 + dx, 4 + 3 * i + dy, 12 + dx, 6 + 3 * i + dy, color)
    else:
        for i in range(8):
            for t in (0, 1):
                c.set(4 + i + dx, 4 + i + dy - t if i else 4 + dy, color)
                c.set(4 + i + dx, 4 + i + dy, color)
                c.set(4 + i + dx + 1 if i < 7 else 4 + i + dx, 4 + i + dy, color)
                c.set(11 - i + dx, 4 + i + dy, color)
                c.set(11 - i + dx - 1 if i < 7 else 11 - i + dx, 4 + i + dy, color)
    return c


def chevrons(size, count, up, color):
    c = Canvas(size, size, CYAN)
    mid = size // 2
    apexes = [1, 5] if count == 2 else [3]
    for apex in apexes:
        for i in range(5):
            for w in (0, 1):
                y = apex + i + w if up else size - 1 - (apex + i + w)
                c.set(mid - 1 - i, y, color)
                c.set(mid + i, y, color)
    return c


def priority_icon(level):
    # Very high and high point up, low and very low down; normal has no marker.
    colors = {0: (214, 48, 40), 1: (230, 130, 20), 3: (52, 110, 200), 4: (120, 130, 150)}
    return chevrons(12, 2 if level in (0, 4) else 1, level < 2, colors[level])


def more_text():
    c = Canvas(16, 6, CYAN)
    for i in range(3):
        c.rect(2 + 5 * i, 2, 4 + 5 * i, 4, D_GLYPH)
    return c


def note_icon(c, x, y, paper, edge, fold):
    c.rect(x, y, x + 14, y + 16, edge)
    c.rect(x + 1, y + 1, x + 13, y + 15, paper)
    c.rect(x + 1, y + 1, x + 13, y + 4, mix(paper, edge, 0.35))
    for i in range(4):                      # folded bottom-right corner
        for j in range(4 - i):
            c.set(x + 13 - j, y + 15 - i, fold)
    for ly in (6, 9, 12):
        c.rect(x + 3, y + ly, x + (10 if ly == 12 else 11), y + ly + 1, mix(paper, edge, 0.6))


def default_main_background():
    w, h = 100, 30
    c = Canvas(w, h, MAGENTA)
    c.fill(rrect(0, 0, w, h, 8), D_OUTLINE, hard=True)
    c.fill(rrect(1, 1, w - 1, h - 1, 7), lambda x, y: mix((236, 236, 232), (186, 186, 182), y / h))
    c.fill(segment(8, 2.5, w - 8, 2.5, 0.5), (255, 255, 255), 0.7)
    note_icon(c, 8, 7, (255, 250, 200), (120, 110, 70), (210, 200, 140))
    text(c, 28, 12, "Notes", (60, 60, 60))
    return c


def default_main_button(state):
    c = Canvas(20, 20, CYAN)
    color = D_GLYPH
    d = 0
    if state == "Hover":
        c.fill(rrect(0, 0, 20, 20, 4), (140, 140, 136), hard=True)
        c.fill(rrect(1, 1, 19, 19, 3), lambda x, y: mix((255, 255, 255), (226, 226, 222), y / 20))
    elif state == "Down":
        c.fill(rrect(0, 0, 20, 20, 4), (110, 110, 106), hard=True)
        c.fill(rrect(1, 1, 19, 19, 3), lambda x, y: mix((190, 190, 186), (214, 214, 210), y / 20))
        d, color = 1, (30, 30, 30)
    elif state == "Disabled":
        color = (176, 176, 172)
    for i in range(4):                      # a down-pointing chevron
        c.rect(6 + i + d, 8 + i + d, 14 - i + d, 9 + i + d, color)
    return c


def save_bitmaps(root, background, mask, more, priority, button, main_button, main_background):
    """Writes every bitmap a skin folder holds, each drawn by the given painter.
    Normal priority has no icon: such a note shows no marker."""
    save(background(), root, "Note/Background.bmp")
    save(mask(), root, "Note/Mask.bmp")
    save(more(), root, "Note/MoreText.bmp")
    names = ["VeryHigh", "High", "Normal", "Low", "VeryLow"]
    for level in (0, 1, 3, 4):
        save(priority(level), root, "Note/Priority/%s.bmp" % names[level])
    for state in ("Normal", "Hover", "Down", "Disabled"):
        save(button("menu", state), root, "Note/MenuButton/%s.bmp" % state)
        save(button("delete", state), root, "Note/DeleteButton/%s.bmp" % state)
        save(main_button(state), root, "MainWindow/Button/%s.bmp" % state)
    save(main_background(), root, "MainWindow/Background.bmp")


def make_default(root):
    save_bitmaps(root, default_background, default_mask, more_text, priority_icon,
                 default_button, default_main_button, default_main_background)
    write_ini(root, [
        ("Skin", [("Name", "Default")]),
        ("NoteBackground", [("FixedSize", 0), ("LeftBorder", 12), ("TopBorder", 32),
                            ("RightBorder", 20), ("BottomBorder", 20)]),
        ("NoteMask", [("LeftBorder", D_FRAME), ("TopBorder", D_FRAME),
                      ("RightBorder", D_FRAME), ("BottomBorder", D_FRAME)]),
        ("NoteResize", [("PositionX", -16), ("PositionY", -16), ("Width", 16), ("Height", 16)]),
        ("NoteEdit", [("LeftBorder", 14), ("TopBorder", 34), ("RightBorder", 14),
                      ("BottomBorder", 20)]),
        ("NoteFont", [("Face", "Tahoma"), ("PointSize", 10), ("Bold", 0), ("Italic", 0)]),
        ("MoreText", [("PositionX", -42), ("PositionY", -17)]),
        ("NotePriority", [("X", 30), ("Y", 12)]),
        ("MenuButton", [("Visible", 1), ("X", 10), ("Y", 10)]),
        ("DeleteButton", [("Visible", 1), ("X", -26), ("Y", 10)]),
        ("TextColor", [("R", 40), ("G", 40), ("B", 40)]),
        ("TextBackgroundColor", [("R", D_PAPER[0]), ("G", D_PAPER[1]), ("B", D_PAPER[2])]),
        ("MainWindow", [("ButtonX", 74), ("ButtonY", 5)]),
    ] + theme_sections([
        ("Yellow", (255, 238, 130)),
        ("Blue", (184, 216, 255)),
        ("Green", (196, 240, 170)),
        ("Pink", (255, 196, 218)),
        ("Orange", (255, 204, 140)),
        ("Lavender", (214, 200, 255)),
        ("White", (255, 255, 255)),
        ("Dark", (58, 60, 68), (234, 234, 226)),
    ]))


# --- Classic: a fixed-size ruled sheet with a binder bar -------------------

C_W, C_H = 190, 200
C_BAR = 20
C_FOLD = 18
C_SHEET = (255, 253, 246)
C_RULE = (176, 200, 226)
C_MARGIN = (226, 120, 120)
C_BAR_FACE = (200, 196, 188)


def bevel(c, x0, y0, x1, y1, face, sunken=False):
    light, dark, darker = (255, 255, 255), (128, 126, 120), (64, 63, 60)
    if sunken:
        light, darker = darker, light
    c.rect(x0, y0, x1, y1, darker)
    c.rect(x0, y0, x1 - 1, y1 - 1, light)
    c.rect(x0 + 1, y0 + 1, x1 - 1, y1 - 1, dark)
    c.rect(x0 + 1, y0 + 1, x1 - 2, y1 - 2, face)


def classic_background():
    c = Canvas(C_W, C_H, MAGENTA)
    bevel(c, 0, 0, C_W, C_BAR, C_BAR_FACE)
    for x in range(6, C_W - 6, 4):         # a ribbed grip across the bar
        c.rect(x, 7, x + 1, C_BAR - 7, (150, 147, 140))
        c.rect(x + 1, 7, x + 2, C_BAR - 7, (236, 234, 228))
    c.rect(46, 3, C_W - 46, C_BAR - 3, C_BAR_FACE)
    sheet = polygon([(0, C_BAR), (C_W, C_BAR), (C_W, C_H - C_FOLD), (C_W - C_FOLD, C_H), (0, C_H)])
    c.fill(sheet, (150, 146, 136), hard=True)
    c.fill(polygon([(1, C_BAR), (C_W - 1, C_BAR), (C_W - 1, C_H - C_FOLD - 0.4),
                    (C_W - C_FOLD - 0.4, C_H - 1), (1, C_H - 1)]), C_SHEET)
    for y in range(C_BAR + 26, C_H - 6, 16):
        c.fill(lambda x, yy, y=y: max(abs(yy - y - 0.5) - 0.5, sheet(x, yy) + 1.5), C_RULE)
    c.rect(24, C_BAR + 1, 25, C_H - 1, C_MARGIN)
    c.rect(26, C_BAR + 1, 27, C_H - 1, mix(C_MARGIN, C_SHEET, 0.5))
    # The dog-ear: the turned-over corner, shaded towards its crease.
    fold = polygon([(C_W - C_FOLD, C_H), (C_W - C_FOLD, C_H - C_FOLD), (C_W, C_H - C_FOLD)])
    c.fill(fold, lambda x, y: mix((236, 232, 218), (204, 198, 182),
                                  ((x - (C_W - C_FOLD)) + (y - (C_H - C_FOLD))) / (2.0 * C_FOLD)))
    c.fill(segment(C_W - C_FOLD, C_H - C_FOLD, C_W - C_FOLD, C_H, 0.5), (150, 146, 136))
    c.fill(segment(C_W - C_FOLD, C_H - C_FOLD, C_W, C_H - C_FOLD, 0.5), (150, 146, 136))
    # The crease is the sheet's edge: smoothed inwards only, never into the
    # magenta around it (a blend of the key colour would show on the desktop).
    crease = segment(C_W - C_FOLD, C_H, C_W, C_H - C_FOLD, 0.6)
    c.fill(lambda x, y: crease(x, y) if sheet(x, y) <= 0 else 1.0, (120, 116, 106))
    # A strip of tape holding the sheet to the bar.
    tape = polygon([(C_W / 2 - 24, C_BAR - 5), (C_W / 2 + 24, C_BAR - 7),
                    (C_W / 2 + 25, C_BAR + 9), (C_W / 2 - 23, C_BAR + 11)])
    c.fill(tape, (236, 230, 200), 0.85)
    return c


def classic_mask():
    # The bar hides until the pointer reaches it; the sheet always shows.
    c = Canvas(C_W, C_H, CYAN)
    c.rect(0, 0, C_W, C_BAR, MAGENTA)
    tape = polygon([(C_W / 2 - 24, C_BAR - 5), (C_W / 2 + 24, C_BAR - 7),
                    (C_W / 2 + 25, C_BAR + 9), (C_W / 2 - 23, C_BAR + 11)])
    c.fill(lambda x, y: max(tape(x, y), y - C_BAR), CYAN, hard=True)
    return c


def classic_button(glyph, state):
    c = Canvas(14, 14, CYAN)
    color, d = (20, 20, 20), 0
    if state == "Down":
        bevel(c, 0, 0, 14, 14, (210, 206, 198), sunken=True)
        d = 1
    else:
        bevel(c, 0, 0, 14, 14, (236, 233, 226) if state == "Hover" else C_BAR_FACE)
    if state == "Disabled":
        color = (150, 147, 140)
    if glyph == "menu":
        for i in range(4):
            c.rect(3 + i + d, 5 + i + d, 10 - i + d, 6 + i + d, color)
    else:
        for i in range(6):
            c.rect(4 + i + d, 4 + i + d, 6 + i + d, 5 + i + d, color)
            c.rect(8 - i + d, 4 + i + d, 10 - i + d, 5 + i + d, color)
    if state == "Disabled":                 # the engraved look of a greyed control
        for y in range(14):
            for x in range(13, 0, -1):
                if c.get(x - 1, y - 1) == color and c.get(x, y) != color and y > 0:
                    c.set(x, y, (255, 255, 255))
    return c


def classic_priority(level):
    colors = {0: (200, 30, 30), 1: (236, 140, 20), 3: (60, 150, 70), 4: (140, 140, 140)}
    c = Canvas(12, 12, CYAN)
    c.fill(circle(6, 6, 5.2), (40, 40, 40), hard=True)
    c.fill(circle(6, 6, 4.2), colors[level])
    c.fill(circle(4.6, 4.6, 1.4), (255, 255, 255), 0.7)
    return c


def classic_more_text():
    c = Canvas(9, 6, CYAN)
    for i in range(4):
        c.rect(i, 1 + i, 9 - i, 2 + i, (200, 40, 40))
    return c


def classic_main_background():
    w, h = 96, 28
    c = Canvas(w, h, C_BAR_FACE)
    bevel(c, 0, 0, w, h, C_BAR_FACE)
    note_icon(c, 6, 6, (255, 253, 246), (90, 88, 84), (200, 196, 184))
    text(c, 26, 10, "Notes", (20, 20, 20))
    return c


def classic_main_button(state):
    c = Canvas(18, 18, CYAN)
    d = 0
    if state == "Down":
        bevel(c, 0, 0, 18, 18, C_BAR_FACE, sunken=True)
        d = 1
    else:
        bevel(c, 0, 0, 18, 18, (236, 233, 226) if state == "Hover" else C_BAR_FACE)
    color = (150, 147, 140) if state == "Disabled" else (20, 20, 20)
    for i in range(4):
        c.rect(5 + i + d, 7 + i + d, 13 - i + d, 8 + i + d, color)
    return c


def make_classic(root):
    save_bitmaps(root, classic_background, classic_mask, classic_more_text, classic_priority,
                 classic_button, classic_main_button, classic_main_background)
    write_ini(root, [
        ("Skin", [("Name", "Classic")]),
        ("NoteBackground", [("FixedSize", 1)]),
        ("NoteMask", [("LeftBorder", 0), ("TopBorder", C_BAR), ("RightBorder", 0),
                      ("BottomBorder", 0)]),
        ("NoteEdit", [("LeftBorder", 30), ("TopBorder", C_BAR + 14), ("RightBorder", 8),
                      ("BottomBorder", C_FOLD + 4)]),
        ("NoteFont", [("Face", "Courier New"), ("PointSize", 10), ("Bold", 0), ("Italic", 0)]),
        ("MoreText", [("PositionX", -C_FOLD - 16), ("PositionY", -10)]),
        ("NotePriority", [("X", 6), ("Y", C_BAR + 6)]),
        ("MenuButton", [("Visible", 1), ("X", 3), ("Y", 3)]),
        ("DeleteButton", [("Visible", 1), ("X", -17), ("Y", 3)]),
        ("TextColor", [("R", 24), ("G", 28), ("B", 60)]),
        ("TextBackgroundColor", [("R", C_SHEET[0]), ("G", C_SHEET[1]), ("B", C_SHEET[2])]),
        ("MainWindow", [("ButtonX", 72), ("ButtonY", 5)]),
    ] + theme_sections([
        ("Cream", (255, 248, 222)),
        ("Plain white", (255, 255, 255)),
        ("Mint", (214, 244, 224)),
        ("Night", (62, 64, 74), (238, 230, 204)),
    ]))


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "skins")
    make_default(os.path.join(out, "Default"))
    make_classic(os.path.join(out, "Classic"))


if __name__ == "__main__":
    main()
