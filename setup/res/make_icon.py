#!/usr/bin/env python3
"""Draws ClientSetup's icon (a blue tile with a white arrow into a tray) as a .ico with
16, 32 and 48 pixel 32-bit images. Run it to refresh setup/res/ClientSetup.ico."""
import struct
import sys
from pathlib import Path

BLUE = (0x1F, 0x5F, 0xA8)
BLUE_LIGHT = (0x3C, 0x8D, 0xDB)
WHITE = (0xFF, 0xFF, 0xFF)


def pixel(x, y, n):
    """Colour (r, g, b, a) of pixel (x, y) of an n x n image; y grows downwards."""
    u, v = (x + 0.5) / n, (y + 0.5) / n
    # Rounded tile: corners cut with radius 0.18.
    r = 0.18
    cx, cy = min(max(u, r), 1 - r), min(max(v, r), 1 - r)
    if (u - cx) ** 2 + (v - cy) ** 2 > r * r or not (0.02 <= u <= 0.98 and 0.02 <= v <= 0.98):
        return (0, 0, 0, 0)
    shade = BLUE_LIGHT if v < 0.5 else BLUE
    # Arrow: shaft and head pointing down into the tray.
    shaft = 0.43 <= u <= 0.57 and 0.14 <= v <= 0.50
    head = 0.46 <= v <= 0.68 and abs(u - 0.5) <= (0.68 - v) * 1.1
    # Tray: a U open at the top.
    tray = (0.72 <= v <= 0.84 and 0.18 <= u <= 0.82) or (0.56 <= v <= 0.84 and (0.18 <= u <= 0.28 or 0.72 <= u <= 0.82))
    return (*WHITE, 255) if shaft or head or tray else (*shade, 255)


def image(n):
    """BITMAPINFOHEADER, bottom-up BGRA rows, and the AND mask (all zero: alpha decides)."""
    header = struct.pack("<IiiHHIIiiII", 40, n, 2 * n, 1, 32, 0, 0, 0, 0, 0, 0)
    rows = bytearray()
    for y in range(n - 1, -1, -1):
        for x in range(n):
            r, g, b, a = pixel(x, y, n)
            rows += bytes((b, g, r, a))
    mask_stride = ((n + 31) // 32) * 4
    return header + bytes(rows) + bytes(mask_stride * n)


def main(out):
    sizes = (16, 32, 48)
    images = [image(n) for n in sizes]
    data = struct.pack("<HHH", 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for n, body in zip(sizes, images):
        data += struct.pack("<BBBBHHII", n, n, 0, 0, 1, 32, len(body), offset)
        offset += len(body)
    data += b"".join(images)
    Path(out).write_bytes(data)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else str(Path(__file__).with_name("ClientSetup.ico")))
