#!/usr/bin/env python3
"""Writes Longhand's icon as data/longhand.svg and data/longhand.png (256 px).

The icon is a small calculator: a light-yellow display with seven-segment
digits, operation keys in the program's light yellow and a red key like
its Stop Sound button. Both files are drawn from the same list of rounded
rectangles (a circle is a rounded square), so they always agree. Only the
standard library is used; the output is deterministic.

Usage: scripts/make_icon.py [output folder]   (default: data/)
"""

import os
import struct
import sys
import zlib

SIZE = 256
SUPERSAMPLE = 4

NAVY = (28, 38, 64)
YELLOW = (255, 255, 128)
RED = (228, 40, 40)
WHITE = (255, 255, 255)

# Seven-segment layout in a unit cell of width 1 and height 2:
# segment -> rectangle (x0, y0, x1, y1) before scaling.
SEGMENTS = {
    "a": (0, 0, 1, 0), "b": (1, 0, 1, 1), "c": (1, 1, 1, 2), "d": (0, 2, 1, 2),
    "e": (0, 1, 0, 2), "f": (0, 0, 0, 1), "g": (0, 1, 1, 1),
}
DIGITS = {
    "0": "abcdef", "1": "bc", "2": "abdeg", "3": "abcdg", "4": "bcfg",
    "5": "acdfg", "6": "acdefg", "7": "abc", "8": "abcdefg", "9": "abcdfg",
}


def seven_segment(text, x, y, width, height, thick, gap, color):
    """Rounded bars for each digit of text, the first digit's top left at x, y."""
    shapes = []
    for ch in text:
        for seg in DIGITS[ch]:
            sx0, sy0, sx1, sy1 = SEGMENTS[seg]
            x0 = x + sx0 * width - thick / 2
            x1 = x + sx1 * width + thick / 2
            y0 = y + sy0 * height / 2 - thick / 2
            y1 = y + sy1 * height / 2 + thick / 2
            shapes.append((x0, y0, x1, y1, thick / 2, color))
        x += width + gap
    return shapes


def icon_shapes():
    shapes = [(8, 8, 248, 248, 40, NAVY), (30, 32, 226, 104, 12, YELLOW)]
    # A long exact number in the display.
    shapes += seven_segment("93326", 48, 46, 22, 44, 6, 13, NAVY)
    key, gap, left, top = 42, 8, 30, 124
    for row in range(2):
        for col in range(4):
            x0 = left + col * (key + gap)
            y0 = top + row * (key + gap + 6)
            colour = RED if (row, col) == (1, 3) else YELLOW
            shapes.append((x0, y0, x0 + key, y0 + key, 9, colour))
    def k(col, row):
        return left + col * (key + gap), top + row * (key + gap + 6)
    x, y = k(0, 0)  # plus
    shapes += [(x + 11, y + 18, x + 31, y + 24, 3, NAVY), (x + 18, y + 11, x + 24, y + 31, 3, NAVY)]
    x, y = k(1, 0)  # minus
    shapes += [(x + 11, y + 18, x + 31, y + 24, 3, NAVY)]
    x, y = k(2, 0)  # divide
    shapes += [(x + 11, y + 18, x + 31, y + 24, 3, NAVY),
               (x + 17, y + 8, x + 25, y + 16, 4, NAVY), (x + 17, y + 26, x + 25, y + 34, 4, NAVY)]
    x, y = k(3, 0)  # equals
    shapes += [(x + 11, y + 13, x + 31, y + 19, 3, NAVY), (x + 11, y + 23, x + 31, y + 29, 3, NAVY)]
    x, y = k(0, 1)  # "1"
    shapes += seven_segment("1", x + 10, y + 8, 14, 26, 5, 0, NAVY)
    x, y = k(1, 1)  # "0"
    shapes += seven_segment("0", x + 14, y + 8, 14, 26, 5, 0, NAVY)
    x, y = k(2, 1)  # "!"
    shapes += [(x + 18, y + 6, x + 24, y + 27, 3, NAVY), (x + 17, y + 30, x + 25, y + 38, 4, NAVY)]
    x, y = k(3, 1)  # stop
    shapes += [(x + 13, y + 13, x + 29, y + 29, 2, WHITE)]
    return shapes


def inside(px, py, shape):
    x0, y0, x1, y1, r, _ = shape
    if px < x0 or px > x1 or py < y0 or py > y1:
        return False
    cx = min(max(px, x0 + r), x1 - r)
    cy = min(max(py, y0 + r), y1 - r)
    return (px - cx) ** 2 + (py - cy) ** 2 <= r * r


def coverage(px, py, shape):
    x0, y0, x1, y1, r, _ = shape
    # Whole pixel inside the straight part of the shape: full cover.
    if (px >= x0 and px + 1 <= x1 and py >= y0 + r and py + 1 <= y1 - r) or (
            px >= x0 + r and px + 1 <= x1 - r and py >= y0 and py + 1 <= y1):
        return 1.0
    step = 1.0 / SUPERSAMPLE
    hits = 0
    for i in range(SUPERSAMPLE):
        for j in range(SUPERSAMPLE):
            hits += inside(px + (i + 0.5) * step, py + (j + 0.5) * step, shape)
    return hits / SUPERSAMPLE ** 2


def render(shapes):
    rgba = [[0.0, 0.0, 0.0, 0.0] for _ in range(SIZE * SIZE)]
    for shape in shapes:
        x0, y0, x1, y1, _, colour = shape
        for py in range(max(0, int(y0)), min(SIZE, int(y1) + 1)):
            for px in range(max(0, int(x0)), min(SIZE, int(x1) + 1)):
                a = coverage(px, py, shape)
                if a == 0:
                    continue
                p = rgba[py * SIZE + px]
                out_a = a + p[3] * (1 - a)
                for c in range(3):
                    p[c] = (colour[c] / 255 * a + p[c] * p[3] * (1 - a)) / out_a
                p[3] = out_a
    return rgba


def write_png(path, rgba):
    rows = bytearray()
    for y in range(SIZE):
        rows.append(0)  # no filter
        for x in range(SIZE):
            p = rgba[y * SIZE + x]
            rows += bytes(int(round(v * 255)) for v in p)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    header = struct.pack(">IIBBBBB", SIZE, SIZE, 8, 6, 0, 0, 0)
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
                chunk(b"IDAT", zlib.compress(bytes(rows), 9)) + chunk(b"IEND", b""))


def write_svg(path, shapes):
    def num(v):
        return f"{v:g}"
    lines = [f'<svg xmlns="http://www.w3.org/2000/svg" width="{SIZE}" height="{SIZE}" '
             f'viewBox="0 0 {SIZE} {SIZE}">', "  <title>Longhand</title>"]
    for x0, y0, x1, y1, r, colour in shapes:
        fill = "#%02x%02x%02x" % colour
        lines.append(f'  <rect x="{num(x0)}" y="{num(y0)}" width="{num(x1 - x0)}" '
                     f'height="{num(y1 - y0)}" rx="{num(r)}" fill="{fill}"/>')
    lines.append("</svg>")
    with open(path, "w", newline="\n") as f:
        f.write("\n".join(lines) + "\n")


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.normpath(os.path.join(here, "..", "data"))
    shapes = icon_shapes()
    write_svg(os.path.join(out, "longhand.svg"), shapes)
    write_png(os.path.join(out, "longhand.png"), render(shapes))
    print(f"{out}: longhand.svg, longhand.png")


if __name__ == "__main__":
    main()
