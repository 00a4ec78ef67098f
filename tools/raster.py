"""A small raster painter for the skin, icon and menu bitmap generators.

Shapes are signed distance functions in pixel units (negative inside); filling
one blends its colour by pixel coverage, or with hard edges where a shape meets
a key colour (magenta or cyan) that must stay exact. Standard library only.
"""

import math
import struct
import zlib

MAGENTA = (255, 0, 255)
CYAN = (0, 255, 255)


def clamp(v, lo=0.0, hi=1.0):
    return lo if v < lo else hi if v > hi else v


def mix(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


# --- distance functions -----------------------------------------------------

def rrect(x0, y0, x1, y1, r=0.0):
    cx, cy = (x0 + x1) / 2.0, (y0 + y1) / 2.0
    hx, hy = (x1 - x0) / 2.0 - r, (y1 - y0) / 2.0 - r

    def f(x, y):
        qx, qy = abs(x - cx) - hx, abs(y - cy) - hy
        out = math.hypot(max(qx, 0.0), max(qy, 0.0))
        return out + min(max(qx, qy), 0.0) - r
    return f


def circle(cx, cy, r):
    return lambda x, y: math.hypot(x - cx, y - cy) - r


def segment(ax, ay, bx, by, r):
    dx, dy = bx - ax, by - ay
    ll = dx * dx + dy * dy or 1e-9

    def f(x, y):
        t = clamp(((x - ax) * dx + (y - ay) * dy) / ll)
        return math.hypot(x - ax - t * dx, y - ay - t * dy) - r
    return f


def polyline(points, r):
    segs = [segment(*points[i], *points[i + 1], r) for i in range(len(points) - 1)]
    return lambda x, y: min(s(x, y) for s in segs)


def polygon(points):
    """Convex polygon, points in clockwise order on screen (y down)."""
    edges = []
    n = len(points)
    for i in range(n):
        (ax, ay), (bx, by) = points[i], points[(i + 1) % n]
        length = math.hypot(bx - ax, by - ay)
        edges.append((ax, ay, (by - ay) / length, -(bx - ax) / length))

    def f(x, y):
        return max((x - ax) * nx + (y - ay) * ny for ax, ay, nx, ny in edges)
    return f


def ring(shape, width):
    return lambda x, y: abs(shape(x, y) + width / 2.0) - width / 2.0


def union(*shapes):
    return lambda x, y: min(s(x, y) for s in shapes)


def intersect(*shapes):
    return lambda x, y: max(s(x, y) for s in shapes)


def subtract(a, b):
    return lambda x, y: max(a(x, y), -b(x, y))


def arc(cx, cy, r, a0, a1, width):
    """Part of a circle between angles a0 and a1 (degrees, y down, clockwise)."""
    pts = []
    steps = 24
    for i in range(steps + 1):
        a = math.radians(a0 + (a1 - a0) * i / steps)
        pts.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    return polyline(pts, width / 2.0)


# --- canvas -----------------------------------------------------------------

class Canvas:
    def __init__(self, w, h, color=(0, 0, 0), alpha=None):
        self.w, self.h = w, h
        self.px = [[tuple(map(float, color)) for _ in range(w)] for _ in range(h)]
        # An alpha plane only for icons; skin bitmaps are opaque.
        self.alpha = None if alpha is None else [[float(alpha)] * w for _ in range(h)]

    def fill(self, shape, color, opacity=1.0, hard=False, box=None):
        """Paints color (an RGB tuple or a function of x, y) where shape covers."""
        x0, y0, x1, y1 = box or (0, 0, self.w, self.h)
        for y in range(max(0, y0), min(self.h, y1)):
            row = self.px[y]
            arow = self.alpha[y] if self.alpha is not None else None
            for x in range(max(0, x0), min(self.w, x1)):
                d = shape(x + 0.5, y + 0.5)
                cov = (1.0 if d <= 0 else 0.0) if hard else clamp(0.5 - d)
                if cov <= 0:
                    continue
                c = color(x + 0.5, y + 0.5) if callable(color) else color
                a = cov * opacity
                if arow is None:
                    row[x] = mix(row[x], c, a)
                else:
                    da = arow[x]
                    oa = a + da * (1 - a)
                    if oa > 0:
                        row[x] = tuple((c[i] * a + row[x][i] * da * (1 - a)) / oa for i in range(3))
                    arow[x] = oa

    def rect(self, x0, y0, x1, y1, color):
        """Hard-edged axis-aligned rectangle, x1 and y1 exclusive."""
        for y in range(max(0, y0), min(self.h, y1)):
            for x in range(max(0, x0), min(self.w, x1)):
                self.px[y][x] = tuple(map(float, color))
                if self.alpha is not None:
                    self.alpha[y][x] = 1.0

    def set(self, x, y, color):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = tuple(map(float, color))
            if self.alpha is not None:
                self.alpha[y][x] = 1.0

    def get(self, x, y):
        return tuple(int(round(v)) for v in self.px[y][x])

    def blit(self, other, dx, dy, key=None):
        for y in range(other.h):
            for x in range(other.w):
                c = other.get(x, y)
                if key is not None and c == key:
                    continue
                self.set(dx + x, dy + y, c)

    def scaled(self, factor):
        out = Canvas(self.w * factor, self.h * factor)
        for y in range(out.h):
            for x in range(out.w):
                out.px[y][x] = self.px[y // factor][x // factor]
        return out

    # --- writers ------------------------------------------------------------

    def _rgb(self, x, y):
        return tuple(max(0, min(255, int(round(v)))) for v in self.px[y][x])

    def bmp24(self):
        stride = (self.w * 3 + 3) & ~3
        rows = []
        for y in range(self.h - 1, -1, -1):
            line = bytearray()
            for x in range(self.w):
                r, g, b = self._rgb(x, y)
                line += bytes((b, g, r))
            line += b"\0" * (stride - len(line))
            rows.append(bytes(line))
        data = b"".join(rows)
        header = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(data), 0, 0, 54)
        info = struct.pack("<IiiHHIIiiII", 40, self.w, self.h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
        return header + info + data

    def save_bmp(self, path):
        with open(path, "wb") as f:
            f.write(self.bmp24())

    def _rgba(self, x, y):
        r, g, b = self._rgb(x, y)
        a = 255 if self.alpha is None else max(0, min(255, int(round(self.alpha[y][x] * 255))))
        return r, g, b, a

    def png(self):
        raw = bytearray()
        for y in range(self.h):
            raw.append(0)
            for x in range(self.w):
                raw += bytes(self._rgba(x, y))

        def chunk(tag, body):
            return struct.pack(">I", len(body)) + tag + body + struct.pack(
                ">I", zlib.crc32(tag + body) & 0xFFFFFFFF)
        return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", self.w, self.h, 8, 6, 0, 0, 0))
                + chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b""))

    def save_png(self, path):
        with open(path, "wb") as f:
            f.write(self.png())

    def ico_dib(self):
        """An icon image in the classic form: 32-bit BGRA rows bottom-up, then the AND mask."""
        xor = bytearray()
        mask_stride = ((self.w + 31) // 32) * 4
        mask = bytearray()
        for y in range(self.h - 1, -1, -1):
            bits = bytearray(mask_stride)
            for x in range(self.w):
                r, g, b, a = self._rgba(x, y)
                xor += bytes((b, g, r, a))
                if a == 0:
                    bits[x // 8] |= 0x80 >> (x % 8)
            mask += bits
        info = struct.pack("<IiiHHIIiiII", 40, self.w, self.h * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
        return info + bytes(xor) + bytes(mask)


def save_ico(path, canvases):
    """Writes an .ico with one image per canvas; 256 px images are stored as PNG."""
    images = [(c.w, c.png() if c.w >= 256 else c.ico_dib()) for c in canvases]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in images:
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open(path, "wb") as f:
        f.write(out + b"".join(d for _, d in images))
