#!/usr/bin/env python3
"""Draws the three 48 x 48 header pictures of ClientConfig as 24-bit BMP files.

White (255, 255, 255) is the transparent colour of the header band, so the pictures use
off-white where they mean white. Run from anywhere; writes next to this script.
"""
import math
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts"))
from bmp24 import write_bmp24  # noqa: E402

SIZE = 48
WHITE = (255, 255, 255)


class Canvas:
    def __init__(self):
        self.pixels = [[WHITE] * SIZE for _ in range(SIZE)]

    def put(self, x, y, colour):
        if 0 <= x < SIZE and 0 <= y < SIZE:
            self.pixels[y][x] = colour

    def rect(self, x0, y0, x1, y1, fill, outline=None):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                edge = x in (x0, x1) or y in (y0, y1)
                self.put(x, y, outline if edge and outline else fill)

    def line(self, x0, y0, x1, y1, colour, width=1):
        steps = max(abs(x1 - x0), abs(y1 - y0), 1)
        for i in range(steps + 1):
            x = x0 + (x1 - x0) * i / steps
            y = y0 + (y1 - y0) * i / steps
            for dx in range(width):
                for dy in range(width):
                    self.put(int(round(x)) + dx, int(round(y)) + dy, colour)

    def disc(self, cx, cy, radius, colour, inner=0.0):
        for y in range(SIZE):
            for x in range(SIZE):
                d = math.hypot(x + 0.5 - cx, y + 0.5 - cy)
                if inner <= d <= radius:
                    self.put(x, y, colour)

    def save(self, path):
        write_bmp24(path, self.pixels)

def server():
    c = Canvas()
    # A globe behind a tower: the server the client talks to.
    c.disc(31, 18, 15, (70, 130, 200))
    c.disc(31, 18, 15, (40, 90, 160), inner=13.6)
    for y in (11, 18, 25):
        c.line(17, y, 45, y, (150, 190, 235))
    c.line(31, 4, 31, 32, (150, 190, 235))
    c.rect(6, 12, 22, 45, (200, 204, 210), (70, 74, 80))
    for y in (16, 21, 26):
        c.rect(9, y, 19, y + 2, (120, 124, 130))
    c.rect(16, 38, 18, 40, (40, 200, 60))
    return c


def log_files():
    c = Canvas()
    # Two pages of text lines, the front one with a folded corner.
    c.rect(14, 4, 42, 38, (235, 238, 242), (110, 116, 124))
    c.rect(6, 10, 34, 44, (250, 250, 250), (80, 86, 94))
    for y in range(16, 41, 4):
        c.line(10, y, 30 - (y % 3) * 3, y, (60, 110, 190))
    for i in range(7):
        c.line(34 - i, 10, 34, 10 + i, (200, 204, 210))
    c.line(27, 10, 34, 17, (80, 86, 94))
    return c


def other():
    c = Canvas()
    # A gear with a check mark: further options.
    cx, cy = 22, 24
    for k in range(8):
        angle = k * math.pi / 4
        x = cx + math.cos(angle) * 15
        y = cy + math.sin(angle) * 15
        c.disc(x, y, 4.5, (110, 116, 124))
    c.disc(cx, cy, 14, (110, 116, 124))
    c.disc(cx, cy, 6, (250, 250, 250))
    c.line(28, 32, 34, 40, (30, 160, 60), width=3)
    c.line(34, 40, 45, 22, (30, 160, 60), width=3)
    return c


if __name__ == "__main__":
    here = os.path.dirname(os.path.abspath(__file__))
    for name, draw in (("server.bmp", server), ("logfiles.bmp", log_files), ("other.bmp", other)):
        draw().save(os.path.join(here, name))
