#!/usr/bin/env python3
"""Writes the bitmap files the graphics tests load from disk and from resources.

fixture24.bmp: 24-bit, 5 x 3: red, except a green top row and a blue pixel at
the bottom left. fixture4.bmp: 16 colours (the standard VGA palette), 9 x 6:
left half red (index 9), right half blue (index 12), bottom-left pixel
fuchsia (index 13).
"""
import struct
import sys


def bmp(width, height, bits, palette, row_bytes):
    """rows: top-down list of packed rows (unpadded)."""
    rows = [row_bytes(y) for y in range(height)]
    stride = (len(rows[0]) + 3) & ~3
    pixels = b"".join(r.ljust(stride, b"\0") for r in reversed(rows))  # bottom-up
    pal = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in palette)
    header_size = 14 + 40 + len(pal)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, len(pixels), 2835, 2835,
                       len(palette), 0)
    file_header = struct.pack("<2sIHHI", b"BM", header_size + len(pixels), 0, 0, header_size)
    return file_header + info + pal + pixels


def pixel24(width, height, x, y):
    if y == height - 1 and x == 0:
        return (0, 0, 255)
    if y == 0:
        return (0, 255, 0)
    return (255, 0, 0)


VGA = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
       (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255),
       (255, 0, 255), (0, 255, 255), (255, 255, 255)]


def index4(width, height, x, y):
    if y == height - 1 and x == 0:
        return 13
    return 9 if x < width // 2 else 12


def main(out):
    w, h = 5, 3
    data24 = bmp(w, h, 24, [], lambda y: b"".join(
        bytes((b, g, r)) for (r, g, b) in (pixel24(w, h, x, y) for x in range(w))))
    w4, h4 = 9, 6

    def row4(y):
        idx = [index4(w4, h4, x, y) for x in range(w4)] + [0]
        return bytes((idx[i] << 4) | idx[i + 1] for i in range(0, w4, 2))

    data4 = bmp(w4, h4, 4, VGA, row4)
    with open(f"{out}/fixture24.bmp", "wb") as f:
        f.write(data24)
    with open(f"{out}/fixture4.bmp", "wb") as f:
        f.write(data4)


if __name__ == "__main__":
    main(sys.argv[1])
