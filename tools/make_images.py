#!/usr/bin/env python3
"""Writes the program's icon, menu images and about-box logo into res/.

Run from the repository root:  python3 tools/make_images.py
The pictures are defined here, as text art and as simple geometry, so that a change to
them is a reviewable diff; the generated res/Vindle.ico, res/MenuImages.bmp and res/LOGOBITMAP.bmp are
committed too so that a build needs no Python.
"""
import math
import os
import struct
import sys
import zlib

RES = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "res")

# ---------------------------------------------------------------------------------------
# Menu images: nine 16 x 16 pictures, in this order: ruler, colour picker, mirror
# left-right, mirror top-bottom, rotate, hide, cursor coordinates, exit, measure.
PALETTE = {
    ".": None,                 # transparent
    "k": (0x20, 0x20, 0x20),   # outline
    "y": (0xFF, 0xE8, 0x6E),   # ruler yellow
    "o": (0xD9, 0xA4, 0x1E),   # ruler shade
    "b": (0x2F, 0x6F, 0xD6),   # blue
    "l": (0x9C, 0xC3, 0xF5),   # light blue
    "r": (0xD8, 0x33, 0x2B),   # red
    "g": (0x7A, 0x7A, 0x7A),   # grey
    "w": (0xFF, 0xFF, 0xFF),   # white
    "s": (0xC8, 0xC8, 0xC8),   # silver
    "e": (0x3C, 0xA0, 0x3C),   # green
}

MENU_IMAGES = [
    # 0 ruler
    [
        "................",
        "................",
        "................",
        "................",
        "kkkkkkkkkkkkkkkk",
        "kyykyykyykyykyyk",
        "kyykyykyykyykyyk",
        "kyykyyyyykyyyyyk",
        "kyykyyyyyyyyyyyk",
        "kyyyyyyyyyyyyyyk",
        "kooooooooooooook",
        "kkkkkkkkkkkkkkkk",
        "................",
        "................",
        "................",
        "................",
    ],
    # 1 colour picker (eyedropper)
    [
        "...........kkk..",
        "..........kgggk.",
        ".........kgggggk",
        "........kkgggggk",
        ".......kkkkgggk.",
        "........kkkkkk..",
        ".......kwkkkk...",
        "......kwwlk.k...",
        ".....kwwlk......",
        "....kwwlk.......",
        "...kwwlk........",
        "..kwllk.........",
        ".kbllk..........",
        ".kbbk...........",
        "kbbk............",
        ".kk.............",
    ],
    # 2 mirror left-right
    [
        ".......kk.......",
        ".......kk.......",
        "...k...kk...k...",
        "..kk...kk...kk..",
        ".kbk...kk...klk.",
        "kbbkkkkkkkkkkllk",
        "kbbbbbbkkllllllk",
        "kbbbbbbkkllllllk",
        "kbbkkkkkkkkkkllk",
        ".kbk...kk...klk.",
        "..kk...kk...kk..",
        "...k...kk...k...",
        ".......kk.......",
        ".......kk.......",
        "................",
        "................",
    ],
    # 3 mirror top-bottom
    [
        "......kkkk......",
        ".....kbbbbk.....",
        "....kbbbbbbk....",
        "...kkkbbbbkkk...",
        ".....kbbbbk.....",
        ".....kbbbbk.....",
        ".....kbbbbk.....",
        "kkkkkkkkkkkkkkkk",
        "kkkkkkkkkkkkkkkk",
        ".....kllllk.....",
        ".....kllllk.....",
        ".....kllllk.....",
        "...kkkllllkkk...",
        "....kllllllk....",
        ".....kllllk.....",
        "......kkkk......",
    ],
    # 4 rotate
    [
        "................",
        ".....kkkkkk.....",
        "...kkeeeeeekk...",
        "..keeekkkkeeek..",
        ".keekk....kkeek.",
        ".kek........kek.",
        "kek..........kek",
        "kek..........kek",
        "kek.......kkkkkkk",
        "kek........keeek",
        ".kek........kek.",
        ".keekk.......k..",
        "..keeekkk.......",
        "...kkeeeek......",
        ".....kkkk.......",
        "................",
    ],
    # 5 hide
    [
        "................",
        "................",
        "................",
        ".....kkkkkk.....",
        "...kkwwwwwwkk...",
        "..kwwwwkkwwwwk..",
        ".kwwwwkbbkwwwwk.",
        "kwwwwkbkkbkwwwwk",
        "kwwwwkbkkbkwwwwk",
        ".kwwwwkbbkwwwwk.",
        "..kwwwwkkwwwwk..",
        "...kkwwwwwwkk...",
        ".....kkkkkk.....",
        "................",
        "................",
        "................",
    ],
    # 6 cursor coordinates
    [
        "k...............",
        "kk..............",
        "kwk.............",
        "kwwk............",
        "kwwwk...........",
        "kwwwwk..........",
        "kwwwwwk.........",
        "kwwwkkkk........",
        "kwkwk...........",
        "kk.kwk..........",
        "k..kwk.bb.bbb.bb",
        "....kk.b..b.b..b",
        "...........b....",
        ".......b..b.b..b",
        ".......bb.bbb.bb",
        "................",
    ],
    # 7 exit
    [
        "................",
        ".kkkkkkkkk......",
        ".kssssssskk.....",
        ".ksggggggk......",
        ".ksgggggk...r...",
        ".ksgggggk...rr..",
        ".ksgggggkrrrrrr.",
        ".ksgggggkrrrrrrr",
        ".ksgggggkrrrrrr.",
        ".ksgggggk...rr..",
        ".ksgggggk...r...",
        ".ksggggggk......",
        ".kssssssskk.....",
        ".kkkkkkkkk......",
        "................",
        "................",
    ],
    # 8 measure: a span between two edges, over a dashed box
    [
        "................",
        "bb..b.b.b.b...bb",
        "b.............b.",
        "................",
        "b.............b.",
        "k.............k.",
        "k..r.......r..k.",
        "k.rr.......rr.k.",
        "krrrrrrrrrrrrrk.",
        "k.rr.......rr.k.",
        "k..r.......r..k.",
        "k.............k.",
        "b.............b.",
        "................",
        "b.............b.",
        "bb..b.b.b.b...bb",
    ],
]


def menu_strip(size=16):
    """BGRA rows, top-down, of the strip of `size`-pixel images: the 16-pixel drawings with
    each pixel grown to a block (of one or two pixels at 24, of two at 32)."""
    rows = []
    for y in range(size):
        row = []
        for image in MENU_IMAGES:
            line = image[y * 16 // size]
            assert len(line) >= 16, (image, y)
            for x in range(size):
                colour = PALETTE[line[x * 16 // size]]
                row.append((0, 0, 0, 0) if colour is None else (colour[2], colour[1], colour[0], 255))
        rows.append(row)
    return rows


def write_bmp32(path, rows):
    """A 32-bit BI_RGB bitmap with straight alpha in the fourth byte, stored bottom-up."""
    height, width = len(rows), len(rows[0])
    pixels = b"".join(bytes(p) for row in reversed(rows) for p in row)
    header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 32, 0, len(pixels), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(struct.pack("<2sIHHI", b"BM", 14 + 40 + len(pixels), 0, 0, 14 + 40))
        f.write(header)
        f.write(pixels)


# ---------------------------------------------------------------------------------------
# The program icon: a yellow ruler lying diagonally, with ticks, drawn by supersampling
# so that every size is sharp and smooth.

def icon_pixels(size):
    samples = 4
    angle = math.radians(-35)
    ca, sa = math.cos(angle), math.sin(angle)
    centre = size / 2.0
    length = size * 1.12
    thickness = size * 0.36
    outline = max(1.0, size / 24.0)

    def local(px, py):
        dx, dy = px - centre, py - centre
        return dx * ca + dy * sa, -dx * sa + dy * ca   # u along the ruler, v across

    tick_step = length / 10.0
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(samples):
                for sx in range(samples):
                    u, v = local(x + (sx + 0.5) / samples, y + (sy + 0.5) / samples)
                    if abs(u) > length / 2 or abs(v) > thickness / 2:
                        continue
                    edge = min(length / 2 - abs(u), thickness / 2 - abs(v))
                    if edge < outline:
                        colour = (0x30, 0x2A, 0x10)
                    else:
                        colour = (0xFF, 0xDC, 0x4A) if v < thickness * 0.22 else (0xE0, 0xA8, 0x22)
                        # ticks from the upper edge: long every fifth, short between
                        k = (u + length / 2) / tick_step
                        nearest = round(k)
                        tick_len = thickness * (0.55 if nearest % 5 == 0 else 0.32)
                        if abs(k - nearest) * tick_step < outline * 0.6 and (v + thickness / 2) < tick_len:
                            colour = (0x30, 0x2A, 0x10)
                    acc[0] += colour[0]
                    acc[1] += colour[1]
                    acc[2] += colour[2]
                    acc[3] += 1
            n = samples * samples
            if acc[3] == 0:
                row.append((0, 0, 0, 0))
            else:
                alpha = acc[3] / n
                row.append((round(acc[2] / acc[3]), round(acc[1] / acc[3]), round(acc[0] / acc[3]),
                            round(255 * alpha)))
        rows.append(row)
    return rows


def icon_image(size):
    rows = icon_pixels(size)
    xor = b"".join(bytes(p) for row in reversed(rows) for p in row)
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        bits = bytearray(mask_stride)
        for x, p in enumerate(row):
            if p[3] == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    return header + xor + bytes(mask)


def png_image(size):
    """The icon as a PNG, as Windows stores its 256-pixel images (a bitmap would be 256 KiB)."""
    rows = icon_pixels(size)
    raw = b"".join(b"\0" + bytes(v for b, g, r, a in row for v in (r, g, b, a)) for row in rows)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9)) +
            chunk(b"IEND", b""))


ICON_SIZES = [16, 20, 24, 32, 40, 48, 64, 256]


def write_ico(path, sizes):
    images = [png_image(s) if s >= 256 else icon_image(s) for s in sizes]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in zip(sizes, images):
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open(path, "wb") as f:
        f.write(out + b"".join(images))


# ---------------------------------------------------------------------------------------
# The logo of the about box (400 x 150): the product name over a ruler in the icon's
# colours, with the ruler's red cursor line. Letters are strokes of a small line font so
# that they need no font file; everything is supersampled.

LOGO_WIDTH, LOGO_HEIGHT = 400, 150
LOGO_SAMPLES = 4
INK = (0x1F, 0x3B, 0x73)
RULER_OUTLINE = (0x30, 0x2A, 0x10)
RULER_LIGHT = (0xFF, 0xDC, 0x4A)
RULER_SHADE = (0xE0, 0xA8, 0x22)
CURSOR_RED = (0xD8, 0x33, 0x2B)


def _arc(cx, cy, rx, ry, start, end, steps=24):
    """Points of an elliptic arc, angles in degrees counter-clockwise, y pointing up."""
    return [(cx + rx * math.cos(math.radians(start + (end - start) * i / steps)),
             cy + ry * math.sin(math.radians(start + (end - start) * i / steps))) for i in range(steps + 1)]


# Each glyph: advance width and polylines in em units (baseline 0, cap height 1, x-height 0.62).
GLYPHS = {
    "V": (0.72, [[(0, 1), (0.36, 0), (0.72, 1)]]),
    "i": (0.0, [[(0, 0), (0, 0.62)], [(0, 0.86), (0, 0.86)]]),
    "n": (0.46, [[(0, 0), (0, 0.62)], [(0, 0.38)] + _arc(0.23, 0.38, 0.23, 0.24, 180, 0) + [(0.46, 0)]]),
    "d": (0.54, [_arc(0.26, 0.31, 0.26, 0.31, 0, 360), [(0.54, 0), (0.54, 1)]]),
    "l": (0.0, [[(0, 0), (0, 1)]]),
    "e": (0.52, [[(0, 0.31), (0.52, 0.31)] + _arc(0.26, 0.31, 0.26, 0.31, 0, 315)]),
}


def text_segments(text, left, baseline, em, gap):
    segments = []
    x = left
    for ch in text:
        advance, lines = GLYPHS[ch]
        for line in lines:
            points = [(x + u * em, baseline - v * em) for u, v in line]
            if len(points) == 1:
                points = points * 2
            segments += list(zip(points, points[1:]))
        x += (advance + gap) * em
    return segments, x - gap * em


def text_width(text, em, gap):
    return sum(GLYPHS[ch][0] for ch in text) * em + (len(text) - 1) * gap * em


def _segment_distance(px, py, a, b):
    (ax, ay), (bx, by) = a, b
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy
    t = 0.0 if length2 == 0 else max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / length2))
    qx, qy = ax + t * dx - px, ay + t * dy - py
    return math.sqrt(qx * qx + qy * qy)


class Picture:
    """An RGB picture composed shape by shape with supersampled coverage."""

    def __init__(self, width, height, background):
        self.width, self.height = width, height
        self.rows = [[background(x, y) for x in range(width)] for y in range(height)]

    def paint(self, bbox, colour_at):
        """colour_at(sx, sy) -> (r, g, b, alpha) or None, sampled LOGO_SAMPLES^2 times per pixel."""
        x0, y0, x1, y1 = (max(0, int(bbox[0])), max(0, int(bbox[1])),
                          min(self.width, int(math.ceil(bbox[2])) + 1), min(self.height, int(math.ceil(bbox[3])) + 1))
        n = LOGO_SAMPLES
        for y in range(y0, y1):
            row = self.rows[y]
            for x in range(x0, x1):
                acc = [0.0, 0.0, 0.0]
                cover = 0.0
                for sy in range(n):
                    for sx in range(n):
                        c = colour_at(x + (sx + 0.5) / n, y + (sy + 0.5) / n)
                        if c is None:
                            continue
                        a = c[3] if len(c) > 3 else 1.0
                        acc[0] += c[0] * a
                        acc[1] += c[1] * a
                        acc[2] += c[2] * a
                        cover += a
                if cover == 0:
                    continue
                f = cover / (n * n)
                old = row[x]
                row[x] = tuple(old[i] * (1 - f) + acc[i] / cover * f for i in range(3))

    def strokes(self, segments, width, colour):
        """The union of round-capped strokes along all segments, painted as one shape."""
        half = width / 2.0
        cell = 8
        grid = {}
        for a, b in segments:
            for gy in range(int(min(a[1], b[1]) - half) // cell, int(max(a[1], b[1]) + half) // cell + 1):
                for gx in range(int(min(a[0], b[0]) - half) // cell, int(max(a[0], b[0]) + half) // cell + 1):
                    grid.setdefault((gx, gy), []).append((a, b))

        def at(px, py):
            for a, b in grid.get((int(px) // cell, int(py) // cell), ()):
                if _segment_distance(px, py, a, b) <= half:
                    return colour
            return None
        xs = [p[0] for seg in segments for p in seg]
        ys = [p[1] for seg in segments for p in seg]
        self.paint((min(xs) - half, min(ys) - half, max(xs) + half, max(ys) + half), at)

    def bgr_rows(self):
        return [[(int(round(p[2])), int(round(p[1])), int(round(p[0]))) for p in row] for row in self.rows]


def _ruler_local(cx, cy, angle):
    ca, sa = math.cos(angle), math.sin(angle)

    def local(px, py):
        dx, dy = px - cx, py - cy
        return dx * ca + dy * sa, -dx * sa + dy * ca
    return local


def logo_picture():
    top, bottom = (0xFF, 0xFF, 0xFF), (0xDD, 0xE8, 0xF8)

    def background(x, y):
        t = y / (LOGO_HEIGHT - 1)
        return tuple(top[i] + (bottom[i] - top[i]) * t for i in range(3))
    picture = Picture(LOGO_WIDTH, LOGO_HEIGHT, background)

    # The ruler, slightly tilted, with a soft shadow below it.
    cx, cy, length, thickness = 200.0, 114.0, 364.0, 40.0
    angle = math.radians(-4)
    local = _ruler_local(cx, cy, angle)
    reach = length / 2 + 12
    bbox = (cx - reach, cy - 40, cx + reach, cy + 44)

    def shadow(px, py):
        u, v = local(px - 3, py - 5)
        outside = max(abs(u) - length / 2, abs(v) - thickness / 2)
        if outside > 6:
            return None
        return (0x20, 0x30, 0x50, 0.22 * min(1.0, (6 - outside) / 6))
    picture.paint(bbox, shadow)

    step = length / 40.0
    outline = 2.0

    def ruler(px, py):
        u, v = local(px, py)
        if abs(u) > length / 2 or abs(v) > thickness / 2:
            return None
        if min(length / 2 - abs(u), thickness / 2 - abs(v)) < outline:
            return RULER_OUTLINE
        k = (u + length / 2) / step
        nearest = round(k)
        tick = thickness * (0.5 if nearest % 10 == 0 else 0.34 if nearest % 5 == 0 else 0.2)
        if abs(k - nearest) * step < 0.7 and (v + thickness / 2) < tick and 0 < nearest < 40:
            return RULER_OUTLINE
        return RULER_LIGHT if v < thickness * 0.18 else RULER_SHADE
    picture.paint(bbox, ruler)

    # The cursor line where the name ends, as the ruler shows it under the mouse.
    em, gap = 66.0, 0.2
    left = (LOGO_WIDTH - text_width("Vindle", em, gap)) / 2
    segments, right = text_segments("Vindle", left, 76.0, em, gap)

    def cursor(px, py):
        u, v = local(px, py)
        ur, _ = local(right + 6, cy)
        if abs(u - ur) < 1.0 and abs(v) < thickness / 2 - outline:
            return CURSOR_RED
        return None
    picture.paint(bbox, cursor)

    picture.strokes(segments, 10.0, INK)
    return picture.bgr_rows()


def write_bmp24(path, rows):
    """A 24-bit BI_RGB bitmap, rows padded to four bytes, stored bottom-up."""
    height, width = len(rows), len(rows[0])
    pad = b"\0" * ((4 - (width * 3) % 4) % 4)
    pixels = b"".join(b"".join(bytes(p) for p in row) + pad for row in reversed(rows))
    header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(struct.pack("<2sIHHI", b"BM", 14 + 40 + len(pixels), 0, 0, 14 + 40))
        f.write(header)
        f.write(pixels)


def main():
    os.makedirs(RES, exist_ok=True)
    write_bmp32(os.path.join(RES, "MenuImages.bmp"), menu_strip())
    write_bmp32(os.path.join(RES, "MenuImages24.bmp"), menu_strip(24))
    write_bmp32(os.path.join(RES, "MenuImages32.bmp"), menu_strip(32))
    # Every size the shell asks for at 100 to 200 % scaling: tray 16-32, title bars and lists
    # 20-40, large icons 48-64, the largest views 256.
    write_ico(os.path.join(RES, "Vindle.ico"), ICON_SIZES)
    write_bmp24(os.path.join(RES, "LOGOBITMAP.bmp"), logo_picture())
    return 0


if __name__ == "__main__":
    sys.exit(main())
