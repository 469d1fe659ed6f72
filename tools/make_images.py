#!/usr/bin/env python3
"""Writes the program's icon and menu images into res/.

Run from the repository root:  python3 tools/make_images.py
The pictures are defined here, as text art and as simple geometry, so that a change to
them is a reviewable diff; the generated res/Vindle.ico and res/MenuImages.bmp are
committed too so that a build needs no Python.
"""
import math
import os
import struct
import sys

RES = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "res")

# ---------------------------------------------------------------------------------------
# Menu images: eight 16 x 16 pictures, in this order: ruler, colour picker, mirror
# left-right, mirror top-bottom, rotate, hide, cursor coordinates, exit.
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
]


def menu_strip():
    """BGRA rows, top-down, of the 128 x 16 strip."""
    rows = []
    for y in range(16):
        row = []
        for image in MENU_IMAGES:
            line = image[y]
            assert len(line) >= 16, (image, y)
            for x in range(16):
                colour = PALETTE[line[x]]
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


def write_ico(path, sizes):
    images = [icon_image(s) for s in sizes]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in zip(sizes, images):
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open(path, "wb") as f:
        f.write(out + b"".join(images))


def main():
    os.makedirs(RES, exist_ok=True)
    write_bmp32(os.path.join(RES, "MenuImages.bmp"), menu_strip())
    write_ico(os.path.join(RES, "Vindle.ico"), [16, 32, 48])
    return 0


if __name__ == "__main__":
    sys.exit(main())
