#!/usr/bin/env python3
"""Draws the two pictures of Longhand's welcome window and writes them as PNG.

    scripts/make_pictures.py [output-folder]     (default: data/)

splash-start.png (186 x 211): a long multiplication worked by hand on squared
paper, with a pencil. splash-about.png (131 x 172): 2^256 and its 78 digits
on a night-blue ground. Each also at twice the size (splash-start@2x.png,
splash-about@2x.png), drawn at that size for screens of twice the density:
the same picture, its slanted edges finer.

Only the Python standard library is used (a small pixel font, zlib for the
PNG), so the pictures come out the same on every machine.
"""

import os
import struct
import sys
import zlib

# 5 x 7 pixel glyphs, one string of five characters per row.
GLYPHS = {
    "0": [" ### ", "#   #", "#  ##", "# # #", "##  #", "#   #", " ### "],
    "1": ["  #  ", " ##  ", "  #  ", "  #  ", "  #  ", "  #  ", " ### "],
    "2": [" ### ", "#   #", "    #", "   # ", "  #  ", " #   ", "#####"],
    "3": ["#####", "   # ", "  #  ", "   # ", "    #", "#   #", " ### "],
    "4": ["   # ", "  ## ", " # # ", "#  # ", "#####", "   # ", "   # "],
    "5": ["#####", "#    ", "#### ", "    #", "    #", "#   #", " ### "],
    "6": ["  ## ", " #   ", "#    ", "#### ", "#   #", "#   #", " ### "],
    "7": ["#####", "    #", "   # ", "  #  ", " #   ", " #   ", " #   "],
    "8": [" ### ", "#   #", "#   #", " ### ", "#   #", "#   #", " ### "],
    "9": [" ### ", "#   #", "#   #", " ####", "    #", "   # ", " ##  "],
    "x": ["     ", "     ", "#   #", " # # ", "  #  ", " # # ", "#   #"],
    "=": ["     ", "     ", "#####", "     ", "#####", "     ", "     "],
    " ": ["     "] * 7,
}


class Canvas:
    """A picture drawn in layout pixels and stored at `k` device pixels each."""

    def __init__(self, width, height, colour, k=1):
        self.k = k
        self.width = width * k
        self.height = height * k
        self.rows = [bytearray(bytes(colour) * self.width) for _ in range(self.height)]

    def pixel(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.rows[y][3 * x:3 * x + 3] = bytes(colour)

    def rect(self, x, y, w, h, colour):
        k = self.k
        for yy in range(max(y * k, 0), min((y + h) * k, self.height)):
            for xx in range(max(x * k, 0), min((x + w) * k, self.width)):
                self.pixel(xx, yy, colour)

    def text(self, x, y, text, colour, scale=1, advance=6):
        for ch in text:
            for row, bits in enumerate(GLYPHS[ch]):
                for col, bit in enumerate(bits):
                    if bit == "#":
                        self.rect(x + col * scale, y + row * scale, scale, scale, colour)
            x += advance * scale

    def polygon(self, points, colour):
        """Fills a convex polygon by scanlines, in device pixels."""
        points = [(x * self.k, y * self.k) for x, y in points]
        ys = [p[1] for p in points]
        for y in range(max(int(min(ys)), 0), min(int(max(ys)) + 1, self.height)):
            xs = []
            for (x0, y0), (x1, y1) in zip(points, points[1:] + points[:1]):
                if (y0 <= y < y1) or (y1 <= y < y0):
                    xs.append(x0 + (y - y0) * (x1 - x0) / (y1 - y0))
            if len(xs) >= 2:
                for x in range(int(round(min(xs))), int(round(max(xs))) + 1):
                    self.pixel(x, y, colour)

    def png(self, path):
        raw = b"".join(b"\x00" + bytes(row) for row in self.rows)

        def chunk(kind, data):
            body = kind + data
            return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

        header = struct.pack(">IIBBBBB", self.width, self.height, 8, 2, 0, 0, 0)
        with open(path, "wb") as out:
            out.write(b"\x89PNG\r\n\x1a\n")
            out.write(chunk(b"IHDR", header))
            out.write(chunk(b"IDAT", zlib.compress(raw, 9)))
            out.write(chunk(b"IEND", b""))


def mix(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def start_picture(k=1):
    paper, grid, margin = (250, 246, 228), (196, 214, 236), (224, 96, 96)
    ink, rule = (28, 40, 110), (28, 40, 110)
    c = Canvas(186, 211, paper, k)
    for x in range(0, 186, 12):
        c.rect(x, 0, 1, 211, grid)
    for y in range(0, 211, 12):
        c.rect(0, y, 186, 1, grid)
    c.rect(14, 0, 1, 211, margin)

    # 12345679 x 81 = 999999999, worked in two partial products.
    lines = ["12345679", "x      81", None, "12345679", "98765432 ", None, "999999999"]
    scale, advance = 2, 6
    right = 176
    y = 14
    for line in lines:
        if line is None:
            c.rect(right - 9 * advance * scale - 2, y - 3, 9 * advance * scale + 2, 2, rule)
            y += 4
            continue
        width = len(line) * advance * scale - scale
        c.text(right - width, y, line, ink, scale, advance)
        y += 20
    # A pencil lying across the lower left corner.
    body, dark, wood, lead, eraser, band = (
        (244, 196, 48), (200, 150, 20), (232, 196, 150), (60, 60, 60),
        (236, 130, 150), (170, 170, 180))
    c.polygon([(20, 190), (108, 146), (114, 158), (26, 202)], body)
    c.polygon([(23, 196), (111, 152), (114, 158), (26, 202)], dark)
    c.polygon([(108, 146), (132, 146), (114, 158)], wood)
    c.polygon([(124, 147), (132, 146), (127, 151)], lead)
    c.polygon([(12, 194), (20, 190), (26, 202), (18, 206)], band)
    c.polygon([(4, 198), (12, 194), (18, 206), (10, 210)], eraser)
    return c


def about_picture(k=1):
    top, bottom = (10, 18, 60), (30, 70, 120)
    c = Canvas(131, 172, top, k)
    for y in range(172):
        c.rect(0, y, 131, 1, mix(top, bottom, y / 171))

    gold, edge = (255, 210, 60), (90, 70, 10)
    # "2" with the exponent "256", large, then "=".
    for dx, dy, colour in ((2, 2, edge), (0, 0, gold)):
        c.text(30 + dx, 16 + dy, "2", colour, 5, 6)
        c.text(62 + dx, 8 + dy, "256", colour, 2, 6)
        c.rect(33 + dx, 68 + dy, 64, 6, colour)
        c.rect(33 + dx, 80 + dy, 64, 6, colour)

    digits = str(2 ** 256)  # 78 digits
    per_row = 21
    y = 100
    for row, start in enumerate(range(0, len(digits), per_row)):
        shade = mix((150, 230, 255), (90, 150, 210), row / 3)
        c.text(3, y, digits[start:start + per_row], shade, 1, 6)
        y += 12
    c.rect(0, 0, 131, 1, (255, 210, 60))
    c.rect(0, 171, 131, 1, (255, 210, 60))
    c.rect(0, 0, 1, 172, (255, 210, 60))
    c.rect(130, 0, 1, 172, (255, 210, 60))
    return c


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        os.path.dirname(os.path.abspath(__file__)), "..", "data")
    for k, suffix in ((1, ""), (2, "@2x")):
        start_picture(k).png(os.path.join(folder, f"splash-start{suffix}.png"))
        about_picture(k).png(os.path.join(folder, f"splash-about{suffix}.png"))


if __name__ == "__main__":
    main()
