#!/usr/bin/env python3
"""Draws the computers browser's 16 x 16 item picture (bitmap 134, 24-bit BMP).

Pure green (0, 255, 0) is the transparent colour of the browser's image list. Writes
computer.bmp next to this script.
"""
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts"))
from bmp24 import write_bmp24  # noqa: E402

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


if __name__ == "__main__":
    write_bmp24(os.path.join(os.path.dirname(os.path.abspath(__file__)), "computer.bmp"), draw())
