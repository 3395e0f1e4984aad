#!/usr/bin/env python3
"""Draws the computers browser's 16 x 16 item picture (bitmap 134, 24-bit BMP).

Pure green (0, 255, 0) is the transparent colour of the browser's image list. Writes
computer.bmp next to this script.
"""
import os
import struct

SIZE = 16
GREEN = (0, 255, 0)


def draw():
    pixels = [[GREEN] * SIZE for _ in range(SIZE)]

    def rect(x0, y0, x1, y1, colour):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                pixels[y][x] = colour

    rect(1, 1, 14, 10, (60, 64, 72))      # monitor frame
    rect(2, 2, 13, 9, (90, 150, 220))     # screen
    rect(6, 11, 9, 12, (60, 64, 72))      # stand
    rect(3, 13, 12, 14, (120, 124, 130))  # base
    return pixels


def save(pixels, path):
    row = SIZE * 3
    padding = (4 - row % 4) % 4
    image = bytearray()
    for y in range(SIZE - 1, -1, -1):
        for (r, g, b) in pixels[y]:
            image += bytes((b, g, r))
        image += b"\0" * padding
    header = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(image), 0, 0, 14 + 40)
    info = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE, 1, 24, 0, len(image), 2835, 2835, 0, 0)
    with open(path, "wb") as out:
        out.write(header + info + image)


if __name__ == "__main__":
    save(draw(), os.path.join(os.path.dirname(os.path.abspath(__file__)), "computer.bmp"))
