#!/usr/bin/env python3
"""Writes the box controls' cursors and the colour box's context glyphs into res/.

Run from the repository root:  python3 tools/make_box_images.py
The pictures are text art here, so that a change to them is a reviewable diff; the
generated files are committed so that a build needs no Python.

Cursors (32 x 32, two colours and a mask):  '.' transparent, 'k' black, 'w' white,
'*' the hot spot (drawn transparent).  Glyphs (12 x 12):  'k' black, '.' white.
"""
import math
import os
import struct

RES = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "res")
SIZE = 32


def blank():
    return [["."] * SIZE for _ in range(SIZE)]


def ring(grid, cx, cy, radius, colour, width=1.0):
    for y in range(SIZE):
        for x in range(SIZE):
            if abs(math.hypot(x - cx, y - cy) - radius) < width / 2 + 0.01:
                grid[y][x] = colour


def circle_cursor():
    # A black ring between two white ones, so it shows on any colour; the pixel being
    # picked in the middle stays visible.
    g = blank()
    ring(g, 15, 15, 8.5, "w", 1.2)
    ring(g, 15, 15, 6.5, "w", 1.2)
    ring(g, 15, 15, 7.5, "k", 1.2)
    g[15][15] = "*"
    return g, (15, 15)


def magnify_cursor():
    g = blank()
    for y in range(SIZE):
        for x in range(SIZE):
            d = math.hypot(x - 11, y - 11)
            if d <= 5.5:
                g[y][x] = "w"
    ring(g, 11, 11, 7.0, "w", 1.2)
    ring(g, 11, 11, 6.0, "k", 1.4)
    for i in range(7):  # the handle, down to the right
        for dx, dy, c in ((0, 0, "k"), (1, 0, "k"), (0, 1, "k"), (2, 0, "w"), (0, 2, "w"), (1, 1, "k")):
            x, y = 16 + i + dx, 16 + i + dy
            if x < SIZE and y < SIZE and g[y][x] != "k":
                g[y][x] = c
    g[11][11] = "*" if g[11][11] == "." else g[11][11]
    return g, (11, 11)


def invisible_cursor():
    return blank(), (0, 0)


def scroll_h_cursor():
    # A horizontal double arrow, black with a white edge.
    g = blank()
    cy = 15
    for x in range(6, 26):  # the shaft
        for y in (cy - 1, cy, cy + 1):
            g[y][x] = "k" if y == cy else "w"
    for side, tip in ((-1, 4), (1, 27)):
        for i in range(6):  # arrow heads
            x = tip - side * i
            for y in range(cy - i, cy + i + 1):
                g[y][x] = "k"
            for y in (cy - i - 1, cy + i + 1):
                g[y][x] = "w"
        g[cy][tip + side] = "w"
    g[cy][15] = "k"
    return g, (15, cy)


def write_cur(path, grid, hotspot):
    """A one-image monochrome .cur: a 1-bit colour (XOR) mask and a transparency (AND) mask."""
    row_bytes = SIZE // 8

    def mask(bit_of):
        data = bytearray()
        for y in reversed(range(SIZE)):  # bottom-up
            row = 0
            for x in range(SIZE):
                row = (row << 1) | bit_of(grid[y][x])
            data += row.to_bytes(row_bytes, "big")
        return bytes(data)

    xor = mask(lambda c: 1 if c == "w" else 0)
    and_ = mask(lambda c: 1 if c in ".*" else 0)
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 1, 0, len(xor) + len(and_), 0, 0, 2, 0)
    palette = bytes([0, 0, 0, 0, 255, 255, 255, 0])
    image = header + palette + xor + and_
    directory = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 2, 0, hotspot[0], hotspot[1], len(image), 6 + 16)
    with open(path, "wb") as f:
        f.write(directory + entry + image)


# The context glyph: a small drop-down menu symbol (a list with a pointer); the hover
# glyph is the same, heavier, so the change shows without moving anything.
GLYPH_NORMAL = [
    "............",
    "............",
    "..kkkkkkkk..",
    "............",
    "..kkkkkkkk..",
    "............",
    "..kkkkkkkk..",
    "............",
    "...kkkkkk...",
    "....kkkk....",
    ".....kk.....",
    "............",
]
GLYPH_HOVER = [
    "............",
    ".kkkkkkkkkk.",
    ".kkkkkkkkkk.",
    "............",
    ".kkkkkkkkkk.",
    ".kkkkkkkkkk.",
    "............",
    ".kkkkkkkkkk.",
    "..kkkkkkkk..",
    "...kkkkkk...",
    "....kkkk....",
    ".....kk.....",
]


def write_bmp24(path, rows):
    height, width = len(rows), len(rows[0])
    stride = (width * 3 + 3) & ~3
    pixels = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for c in row:
            line += bytes((0, 0, 0)) if c == "k" else bytes((255, 255, 255))
        pixels += line + bytes(stride - len(line))
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    with open(path, "wb") as f:
        f.write(header + info + pixels)


def main():
    for name, make in (("QorvelCircle.cur", circle_cursor), ("QorvelMagnify.cur", magnify_cursor),
                       ("QorvelInvisible.cur", invisible_cursor), ("QorvelScrollH.cur", scroll_h_cursor)):
        grid, hotspot = make()
        write_cur(os.path.join(RES, name), grid, hotspot)
    for name, rows in (("QorvelColorContextNormal.bmp", GLYPH_NORMAL), ("QorvelColorContextHover.bmp", GLYPH_HOVER)):
        assert len(rows) == 12 and all(len(r) == 12 for r in rows), name
        write_bmp24(os.path.join(RES, name), rows)


if __name__ == "__main__":
    main()
