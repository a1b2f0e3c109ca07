#!/usr/bin/env python3
"""Draws the spin button's default glyphs, "AdvSpinUp" and "AdvSpinDown":
9 x 6 pixels, 16 colours, a black arrow on olive (the bottom-left pixel's
colour, which the speed button draws as transparent). Writes the two .bmp
files and advspin.rc into the folder given."""
import os
import struct
import sys

UP = [
    ".........",
    "....#....",
    "...###...",
    "..#####..",
    ".#######.",
    ".........",
]
DOWN = list(reversed(UP))

# The 16-colour palette: index 0 black, index 3 olive (blue, green, red, 0).
PALETTE = [(0, 0, 0), (0, 0, 128), (0, 128, 0), (0, 128, 128), (128, 0, 0), (128, 0, 128), (128, 128, 0),
           (192, 192, 192), (128, 128, 128), (0, 0, 255), (0, 255, 0), (0, 255, 255), (255, 0, 0),
           (255, 0, 255), (255, 255, 0), (255, 255, 255)]
OLIVE = 3
BLACK = 0


def bitmap(rows):
    width, height = len(rows[0]), len(rows)
    stride = ((width * 4 + 31) // 32) * 4
    pixels = b""
    for row in reversed(rows):  # bottom-up
        indexes = [BLACK if c == "#" else OLIVE for c in row]
        line = bytearray()
        for i in range(0, width, 2):
            high = indexes[i]
            low = indexes[i + 1] if i + 1 < width else 0
            line.append((high << 4) | low)
        line += b"\0" * (stride - len(line))
        pixels += bytes(line)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for (b, g, r) in PALETTE)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 4, 0, len(pixels), 0, 0, 16, 0)
    offset = 14 + len(info) + len(palette)
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    return header + info + palette + pixels


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    for name, rows in (("AdvSpinUp", UP), ("AdvSpinDown", DOWN)):
        with open(os.path.join(out, name + ".bmp"), "wb") as f:
            f.write(bitmap(rows))
    with open(os.path.join(out, "advspin.rc"), "w") as f:
        f.write('ADVSPINUP BITMAP "AdvSpinUp.bmp"\nADVSPINDOWN BITMAP "AdvSpinDown.bmp"\n')


if __name__ == "__main__":
    main()
