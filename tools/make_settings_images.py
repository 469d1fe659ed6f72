#!/usr/bin/env python3
"""Writes the settings dialog's images: thirteen pictures with alpha in one strip, in this
order: general, start-up, magnifier, parameters, handling, buttons, stay on top,
configuration, transparency, colors, hotkeys, measure, colour formats. Drawn on a 24 x 24
grid and rendered at 24, 36 and 48 pixels (100, 150 and 200 % scaling) into
res/SettingsImages.bmp, res/SettingsImages36.bmp and res/SettingsImages48.bmp.

Run from the repository root:  python3 tools/make_settings_images.py
Each picture is simple geometry, rendered with 4 x 4 samples per pixel so that edges are
smooth at the small size; the generated bitmap is committed so that a build needs no Python.
"""
import math
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from make_images import RES, write_bmp32  # noqa: E402

SIZE = 24
SAMPLES = 4

OUTLINE = (0x26, 0x2B, 0x33)
STEEL = (0x7D, 0x8A, 0x99)
STEEL_LIGHT = (0xC9, 0xD3, 0xDE)
BLUE = (0x2F, 0x6F, 0xD6)
LIGHT_BLUE = (0xA9, 0xCF, 0xF7)
GLASS = (0xDC, 0xEE, 0xFF)
YELLOW = (0xFF, 0xDC, 0x4A)
YELLOW_SHADE = (0xE0, 0xA8, 0x22)
GREEN = (0x3C, 0xA0, 0x3C)
RED = (0xD8, 0x33, 0x2B)
WHITE = (0xFF, 0xFF, 0xFF)
BROWN = (0x8A, 0x5A, 0x2B)
GREY = (0x9A, 0x9A, 0x9A)


# ---- shapes: functions of a point that answer whether it lies inside -------------------

def circle(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def ring(cx, cy, r_outer, r_inner):
    return lambda x, y: r_inner * r_inner <= (x - cx) ** 2 + (y - cy) ** 2 <= r_outer * r_outer


def rect(left, top, right, bottom):
    return lambda x, y: left <= x < right and top <= y < bottom


def rounded(left, top, right, bottom, r):
    def inside(x, y):
        if not (left <= x < right and top <= y < bottom):
            return False
        nx = min(max(x, left + r), right - r)
        ny = min(max(y, top + r), bottom - r)
        return (x - nx) ** 2 + (y - ny) ** 2 <= r * r
    return inside


def segment(ax, ay, bx, by, width):
    half = width / 2.0

    def inside(x, y):
        dx, dy = bx - ax, by - ay
        t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)))
        return (x - ax - t * dx) ** 2 + (y - ay - t * dy) ** 2 <= half * half
    return inside


def polygon(points):
    def inside(x, y):
        result = False
        j = len(points) - 1
        for i, (xi, yi) in enumerate(points):
            xj, yj = points[j]
            if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                result = not result
            j = i
        return result
    return inside


def outline(shape, grow):
    """The shape grown by `grow` pixels, sampled around the point: for dark borders."""
    offsets = [(grow * math.cos(a * math.pi / 8), grow * math.sin(a * math.pi / 8)) for a in range(16)]
    return lambda x, y: shape(x, y) or any(shape(x + dx, y + dy) for dx, dy in offsets)


def rotated(shape, cx, cy, degrees):
    c, s = math.cos(math.radians(-degrees)), math.sin(math.radians(-degrees))
    return lambda x, y: shape(cx + (x - cx) * c - (y - cy) * s, cy + (x - cx) * s + (y - cy) * c)


def union(*shapes):
    return lambda x, y: any(shape(x, y) for shape in shapes)


def minus(shape, hole):
    return lambda x, y: shape(x, y) and not hole(x, y)


# ---- the pictures: lists of (shape, colour, alpha), painted in order --------------------

def gear():
    teeth = [rotated(rect(10.5, 1.5, 13.5, 6), 12, 12, a * 45) for a in range(8)]
    body = union(circle(12, 12, 8), *teeth)
    return [(outline(body, 1.0), OUTLINE, 255), (body, STEEL, 255), (circle(12, 12, 6.5), STEEL_LIGHT, 255),
            (outline(circle(12, 12, 3), 1.0), OUTLINE, 255), (circle(12, 12, 3), WHITE, 255)]


def startup():
    # A power symbol over a green disc: what the program does when Windows starts.
    disc = circle(12, 12, 10.5)
    arc = minus(ring(12, 13, 6.5, 4.5), polygon([(12, 13), (5, 2), (19, 2)]))
    return [(outline(disc, 1.0), OUTLINE, 255), (disc, GREEN, 255), (arc, WHITE, 255),
            (segment(12, 5, 12, 12, 2.2), WHITE, 255)]


def magnifier():
    handle = segment(15.5, 15.5, 21.5, 21.5, 4.2)
    return [(outline(handle, 1.0), OUTLINE, 255), (handle, BROWN, 255),
            (circle(9.5, 9.5, 8.3), OUTLINE, 255), (circle(9.5, 9.5, 6.5), GLASS, 255),
            (segment(6.5, 9.5, 12.5, 9.5, 1.4), BLUE, 255), (segment(9.5, 6.5, 9.5, 12.5, 1.4), BLUE, 255)]


def parameters():
    # Three slide controls at different settings.
    layers = []
    for y, knob in ((5, 16), (12, 7), (19, 13)):
        layers.append((segment(3, y, 21, y, 2.0), STEEL, 255))
        layers.append((outline(rounded(knob - 2.5, y - 4, knob + 2.5, y + 4, 1.5), 1.0), OUTLINE, 255))
        layers.append((rounded(knob - 2.5, y - 4, knob + 2.5, y + 4, 1.5), BLUE, 255))
    return layers


def handling():
    # A mouse pointer with two clicks beside it: what the ruler does on a double click.
    arrow = polygon([(5, 3), (5, 19), (9, 15.5), (12, 21.5), (14.5, 20.3), (11.7, 14.5), (17, 14.5)])
    return [(outline(arrow, 1.1), OUTLINE, 255), (arrow, WHITE, 255),
            (segment(16, 4, 18.5, 1.5, 1.6), RED, 255), (segment(18, 8, 21.5, 7, 1.6), RED, 255),
            (segment(12.5, 3, 12.8, 0.5, 1.6), RED, 255)]


def buttons():
    layers = []
    for i, colour in enumerate((RED, BLUE, GREEN, YELLOW_SHADE)):
        x, y = 2 + (i % 2) * 11, 2 + (i // 2) * 11
        box = rounded(x, y, x + 9, y + 9, 2)
        layers += [(outline(box, 1.0), OUTLINE, 255), (box, colour, 255),
                   (rect(x + 2, y + 2, x + 7, y + 3.5), WHITE, 170)]
    return layers


def stay_on_top():
    # A push pin holding a sheet.
    sheet = rect(3, 8, 19, 22)
    head = rounded(9, 2, 19, 7, 2)
    body = polygon([(11, 7), (17, 7), (18.5, 12), (9.5, 12)])
    return [(outline(sheet, 1.0), OUTLINE, 255), (sheet, WHITE, 255),
            (segment(14, 12, 12, 19, 1.5), OUTLINE, 255),
            (outline(union(head, body), 1.0), OUTLINE, 255), (head, RED, 255), (body, RED, 255)]


def configuration():
    # The ruler itself, lying diagonally, with ticks.
    def local(shape):
        return rotated(shape, 12, 12, -45)
    bar = local(rect(-1, 7, 25, 17))
    layers = [(outline(bar, 1.0), OUTLINE, 255), (bar, YELLOW, 255), (local(rect(-1, 14.5, 25, 17)), YELLOW_SHADE, 255)]
    for i, x in enumerate(range(2, 24, 3)):
        length = 5 if i % 2 == 0 else 3
        layers.append((local(rect(x, 7, x + 1.1, 7 + length)), OUTLINE, 255))
    return layers


def transparency():
    checks = [rect(2 + 5 * (i % 4), 2 + 5 * (i // 4), 7 + 5 * (i % 4), 7 + 5 * (i // 4))
              for i in range(16) if (i % 4 + i // 4) % 2 == 0]
    board = rect(2, 2, 22, 22)
    square = rect(7, 7, 22, 22)
    return [(outline(board, 0.8), OUTLINE, 255), (board, WHITE, 255), (union(*checks), GREY, 255),
            (outline(square, 0.8), OUTLINE, 200), (square, BLUE, 150)]


def colors():
    # A painter's palette with four colours.
    palette = minus(circle(12, 12, 10.5), circle(16.5, 17, 3))
    dots = [(circle(7, 9, 2.4), RED), (circle(12, 6, 2.4), YELLOW), (circle(17, 9, 2.4), GREEN),
            (circle(7.5, 15.5, 2.4), BLUE)]
    layers = [(outline(palette, 1.0), OUTLINE, 255), (palette, (0xF2, 0xD9, 0xB0), 255)]
    for shape, colour in dots:
        layers += [(outline(shape, 0.7), OUTLINE, 255), (shape, colour, 255)]
    return layers


def hotkeys():
    # Three key caps, the last one pressed (blue): a chord of keys.
    layers = []
    for i, (x, y, colour) in enumerate(((1, 4, WHITE), (9, 4, WHITE), (5, 12, LIGHT_BLUE))):
        cap = rounded(x, y, x + 9 + (9 if i == 2 else 0), y + 8, 1.8)
        top = rounded(x + 1.5, y + 1, x + 7.5 + (9 if i == 2 else 0), y + 5.5, 1.2)
        layers += [(outline(cap, 1.0), OUTLINE, 255), (cap, STEEL_LIGHT, 255), (top, colour, 255)]
    return layers


def measure():
    # A span with arrowheads between two upright edges: the distance between two things.
    edges = union(rect(2, 3, 4, 21), rect(20, 3, 22, 21))
    span = union(rect(5, 11, 19, 13), polygon([(4.5, 12), (9, 7.5), (9, 16.5)]),
                 polygon([(19.5, 12), (15, 7.5), (15, 16.5)]))
    return [(outline(edges, 0.8), OUTLINE, 255), (edges, STEEL_LIGHT, 255), (outline(span, 0.8), OUTLINE, 255),
            (span, RED, 255)]


def color_formats():
    # A colour swatch beside two lines of text: one colour written out in its formats.
    swatch = rounded(1.5, 6, 10.5, 18, 1.5)
    lines = [rect(13, 7.5, 22.5, 9.5), rect(13, 11, 20, 13), rect(13, 14.5, 22.5, 16.5)]
    layers = [(outline(swatch, 1.0), OUTLINE, 255), (swatch, BLUE, 255)]
    for line in lines:
        layers += [(line, OUTLINE, 255)]
    return layers


PICTURES = [gear, startup, magnifier, parameters, handling, buttons, stay_on_top, configuration, transparency, colors,
            hotkeys, measure, color_formats]


def render(layers, size=SIZE):
    """BGRA rows of one picture at `size` pixels, straight alpha."""
    rows = []
    step = 1.0 / SAMPLES
    scale = SIZE / size
    for py in range(size):
        row = []
        for px in range(size):
            r = g = b = a = 0.0
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    x, y = (px + (sx + 0.5) * step) * scale, (py + (sy + 0.5) * step) * scale
                    cr = cg = cb = ca = 0.0  # premultiplied
                    for shape, colour, alpha in layers:
                        if shape(x, y):
                            f = alpha / 255.0
                            cr = colour[0] * f + cr * (1 - f)
                            cg = colour[1] * f + cg * (1 - f)
                            cb = colour[2] * f + cb * (1 - f)
                            ca = f + ca * (1 - f)
                    r, g, b, a = r + cr, g + cg, b + cb, a + ca
            n = SAMPLES * SAMPLES
            alpha = a / n
            if alpha <= 0:
                row.append((0, 0, 0, 0))
            else:
                row.append((round(b / n / alpha), round(g / n / alpha), round(r / n / alpha), round(alpha * 255)))
        rows.append(row)
    return rows


def main():
    for size, name in ((24, "SettingsImages.bmp"), (36, "SettingsImages36.bmp"), (48, "SettingsImages48.bmp")):
        pictures = [render(picture(), size) for picture in PICTURES]
        strip = [sum((picture[y] for picture in pictures), []) for y in range(size)]
        write_bmp32(os.path.join(RES, name), strip)
    return 0


if __name__ == "__main__":
    sys.exit(main())
