#!/usr/bin/env python3
"""Draws Talvo's two pictures as 16-colour PNG files in app/resources/, and
the icon at the desktop's sizes in packaging/icons/.

The program icon (32 x 32, also shown on the Convert button) and the picture
of the About box (320 x 240) are stylised powder diffraction patterns: a
curve of sharp peaks over a flat background, peak sticks, and rings as a
powder camera records them. Standard library only; run it again after a
change and commit the PNG files.
"""
import math
import os
import struct
import zlib

# The 16 colours of the classic palette; magenta, unused, is the icon's
# transparent colour.
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, DARK_RED, DARK_BLUE, DARK_CYAN, LIGHT_GREY, GREY = 0, 1, 4, 6, 7, 8
RED, YELLOW, BLUE, MAGENTA, CYAN, WHITE = 9, 11, 12, 13, 14, 15


class Picture:
    def __init__(self, width, height, fill):
        self.width, self.height = width, height
        self.pixels = [[fill] * width for _ in range(height)]

    def set(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.pixels[y][x] = colour

    def rect(self, x0, y0, x1, y1, colour):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.set(x, y, colour)

    def line(self, x0, y0, x1, y1, colour):
        dx, dy = abs(x1 - x0), -abs(y1 - y0)
        sx, sy = (1 if x0 < x1 else -1), (1 if y0 < y1 else -1)
        err = dx + dy
        while True:
            self.set(x0, y0, colour)
            if x0 == x1 and y0 == y1:
                return
            e2 = 2 * err
            if e2 >= dy:
                err += dy
                x0 += sx
            if e2 <= dx:
                err += dx
                y0 += sy

    def polyline(self, points, colour):
        for (x0, y0), (x1, y1) in zip(points, points[1:]):
            self.line(x0, y0, x1, y1, colour)

    def scaled(self, factor):
        big = Picture(self.width * factor, self.height * factor, 0)
        big.pixels = [[c for c in row for _ in range(factor)] for row in self.pixels for _ in range(factor)]
        return big

    def png(self, transparent=None):
        rows = b""
        for row in self.pixels:
            packed = bytes((row[i] << 4) | (row[i + 1] if i + 1 < len(row) else 0) for i in range(0, len(row), 2))
            rows += b"\x00" + packed

        def chunk(kind, data):
            body = kind + data
            return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

        out = b"\x89PNG\r\n\x1a\n"
        out += chunk(b"IHDR", struct.pack(">IIBBBBB", self.width, self.height, 4, 3, 0, 0, 0))
        out += chunk(b"PLTE", b"".join(bytes(c) for c in PALETTE))
        if transparent is not None:
            out += chunk(b"tRNS", bytes(255 if i != transparent else 0 for i in range(16)))
        out += chunk(b"IDAT", zlib.compress(rows, 9))
        out += chunk(b"IEND", b"")
        return out


# A quartz-like pattern: (2-theta, relative intensity), over 10 to 70 degrees.
PEAKS = [(20.9, 22), (26.6, 100), (36.5, 8), (39.5, 9), (40.3, 4), (42.5, 6), (45.8, 4), (50.1, 14),
         (54.9, 4), (59.9, 9), (64.0, 2), (67.7, 7), (68.2, 5)]


def intensity(two_theta, width):
    background = 4 + 3 * math.exp(-(two_theta - 10) / 12)
    return background + sum(h / (1 + ((two_theta - p) / width) ** 2) for p, h in PEAKS)


def draw_icon():
    icon = Picture(32, 32, MAGENTA)
    # A small chart: white face, grey shadow, black frame.
    icon.rect(3, 3, 30, 30, GREY)
    icon.rect(1, 1, 28, 28, WHITE)
    icon.line(1, 1, 28, 1, BLACK)
    icon.line(1, 28, 28, 28, BLACK)
    icon.line(1, 1, 1, 28, BLACK)
    icon.line(28, 1, 28, 28, BLACK)
    # Axes.
    icon.line(4, 25, 26, 25, BLACK)
    icon.line(4, 4, 4, 25, BLACK)
    # The curve, scaled so that the strongest peak nearly reaches the top.
    points = []
    for x in range(5, 27):
        two_theta = 10 + (x - 5) * 60 / 21
        y = 24 - round(19 * min(intensity(two_theta, 0.9), 100) / 100)
        points.append((x, y))
    icon.polyline(points, DARK_BLUE)
    # The strongest peak in red.
    icon.line(points[6][0], points[6][1], points[6][0], 24, RED)
    return icon


def draw_about():
    pic = Picture(320, 240, WHITE)
    # Left: rings of a powder camera on a dark film, centred on the beam.
    pic.rect(0, 0, 119, 239, DARK_BLUE)
    cx, cy = 60, 120
    for p, h in PEAKS:
        radius = (p - 8) * 1.75
        colour = WHITE if h >= 20 else CYAN if h >= 8 else DARK_CYAN
        for y in range(240):
            for x in range(120):
                if abs(math.hypot(x - cx, y - cy) - radius) < (1.1 if h >= 20 else 0.7):
                    pic.set(x, y, colour)
    pic.rect(cx - 3, cy - 3, cx + 3, cy + 3, YELLOW)
    pic.line(119, 0, 119, 239, BLACK)

    # Right: the scan with its axes and ticks, and the peak sticks below.
    left, right, top, bottom = 136, 310, 16, 176
    pic.line(left, bottom, right, bottom, BLACK)
    pic.line(left, top, left, bottom, BLACK)
    for k in range(7):
        x = left + round(k * (right - left) / 6)
        pic.line(x, bottom, x, bottom + 4, BLACK)
    for k in range(5):
        y = bottom - round(k * (bottom - top) / 4)
        pic.line(left - 4, y, left, y, BLACK)
        if k:
            for x in range(left + 2, right, 4):
                pic.set(x, y, LIGHT_GREY)
    points = []
    for x in range(left + 1, right + 1):
        two_theta = 10 + (x - left) * 60 / (right - left)
        y = bottom - 1 - round((bottom - top - 4) * min(intensity(two_theta, 0.25), 100) / 100)
        points.append((x, y))
    pic.polyline(points, DARK_BLUE)
    stick_base = 224
    pic.line(left, stick_base, right, stick_base, BLACK)
    for p, h in PEAKS:
        x = left + round((p - 10) * (right - left) / 60)
        pic.line(x, stick_base, x, stick_base - max(2, round(h * 0.32)), RED)
    return pic


def main():
    folder = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "app", "resources")
    os.makedirs(folder, exist_ok=True)
    icon = draw_icon()
    with open(os.path.join(folder, "talvo.png"), "wb") as f:
        f.write(icon.png(transparent=MAGENTA))
    icons = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "packaging", "icons")
    os.makedirs(icons, exist_ok=True)
    for factor in (1, 2, 4, 8):
        with open(os.path.join(icons, "talvo-%d.png" % (32 * factor)), "wb") as f:
            f.write(icon.scaled(factor).png(transparent=MAGENTA))
    with open(os.path.join(folder, "about.png"), "wb") as f:
        f.write(draw_about().png())


if __name__ == "__main__":
    main()
