"""Writes a 24-bit Windows bitmap (BMP) from rows of (r, g, b) pixels, top row first.

Shared by the scripts that draw the programs' pictures (config/res, kyui/res)."""
import struct


def write_bmp24(path, pixels):
    height = len(pixels)
    width = len(pixels[0])
    padding = (4 - width * 3 % 4) % 4
    image = bytearray()
    for row in reversed(pixels):  # a BMP stores its rows bottom-up
        for (r, g, b) in row:
            image += bytes((b, g, r))
        image += b"\0" * padding
    header = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(image), 0, 0, 14 + 40)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(image), 2835, 2835, 0, 0)
    with open(path, "wb") as out:
        out.write(header + info + image)
