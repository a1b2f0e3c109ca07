#!/usr/bin/env python3
"""Draws the directory edit's button glyph and writes its resource script:

    ToolRes.py OUT_DIR

writes OUT_DIR/feditbmp.bmp (a yellow folder, 15 x 13 pixels on a fuchsia
background that shows as transparent) and OUT_DIR/ToolRes.rc naming it
FEDITBMP. (The list view's link cursor, 8019, is the maker's hand among the
common cursors.)
"""
import os
import struct
import sys

out = sys.argv[1]
os.makedirs(out, exist_ok=True)

# -- the folder glyph ---------------------------------------------------------
W, H = 15, 13
FUCHSIA, BLACK, YELLOW, DARK = (255, 0, 255), (0, 0, 0), (255, 255, 0), (128, 128, 0)
px = [[FUCHSIA] * W for _ in range(H)]
for x in range(1, 6):          # the tab
    px[2][x] = BLACK
for y in range(3, 12):         # the body's outline
    px[y][0] = BLACK
    px[y][14] = BLACK
for x in range(0, 15):
    px[3][x] = BLACK if x < 1 or x > 5 else px[3][x]
    px[11][x] = BLACK
px[3][6] = BLACK
for x in range(6, 15):
    px[3][x] = BLACK
for y in range(4, 11):
    for x in range(1, 14):
        px[y][x] = YELLOW if y > 5 else DARK
for x in range(1, 6):
    px[3][x] = YELLOW

row_size = (W * 3 + 3) & ~3
pixels = b""
for y in range(H - 1, -1, -1):
    row = b"".join(struct.pack("BBB", b, g, r) for (r, g, b) in px[y])
    pixels += row + b"\0" * (row_size - W * 3)
header = struct.pack("<IiiHHIIiiII", 40, W, H, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
with open(os.path.join(out, "feditbmp.bmp"), "wb") as f:
    f.write(b"BM" + struct.pack("<IHHI", 14 + len(header) + len(pixels), 0, 0, 14 + len(header)))
    f.write(header + pixels)

with open(os.path.join(out, "ToolRes.rc"), "w", encoding="ascii") as f:
    f.write('FEDITBMP BITMAP "feditbmp.bmp"\n')
