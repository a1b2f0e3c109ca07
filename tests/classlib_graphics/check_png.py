#!/usr/bin/env python3
"""Runs png_sample.exe under Wine and decodes what it wrote with Python's zlib:
chunk CRCs, the zlib stream (with its Adler-32) and every pixel are checked.

usage: check_png.py PNG_SAMPLE_EXE WORK_FOLDER WINE_RUN [ARG ...]
"""
import os
import struct
import subprocess
import sys
import zlib


def read_png(path):
    data = open(path, "rb").read()
    assert data[:8] == b"\x89PNG\r\n\x1a\n", f"{path}: no PNG signature"
    pos, idat, header, chunks = 8, b"", None, []
    while pos < len(data):
        length, ctype = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        crc, = struct.unpack(">I", data[pos + 8 + length:pos + 12 + length])
        assert zlib.crc32(ctype + body) == crc, f"{path}: bad CRC in {ctype}"
        chunks.append(ctype)
        if ctype == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif ctype == b"IDAT":
            idat += body
        pos += 12 + length
    assert chunks[0] == b"IHDR" and chunks[-1] == b"IEND", f"{path}: chunks {chunks}"
    width, height, depth, color_type, _, _, interlace = header
    assert (depth, color_type, interlace) == (8, 2, 0), f"{path}: header {header}"
    raw = zlib.decompress(idat)
    stride = width * 3
    assert len(raw) == height * (stride + 1), f"{path}: {len(raw)} bytes of image data"
    rows, prev = [], bytearray(stride)
    for y in range(height):
        ftype, line = raw[y * (stride + 1)], bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            a = line[i - 3] if i >= 3 else 0
            b, c = prev[i], (prev[i - 3] if i >= 3 else 0)
            if ftype == 1:
                line[i] = (line[i] + a) & 255
            elif ftype == 2:
                line[i] = (line[i] + b) & 255
            elif ftype == 3:
                line[i] = (line[i] + (a + b) // 2) & 255
            elif ftype == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                line[i] = (line[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
            else:
                assert ftype == 0, f"{path}: filter {ftype}"
        rows.append([tuple(line[x * 3:x * 3 + 3]) for x in range(width)])
        prev = line
    return width, height, rows


def pattern_pixel(x, y):
    if y < 40:
        band = x // 32
        return ((band * 40) & 255, 200, (255 - band * 30) & 255)
    if y < 80:
        h = ((x * 73856093) ^ (y * 19349663)) & 0xFFFFFFFF
        return (h & 255, (h >> 8) & 255, (h >> 16) & 255)
    return (x & 255, (y * 3) & 255, (x + y) & 255)


def main(exe, work, *wine_run):
    os.makedirs(work, exist_ok=True)
    for name in ("small.png", "pattern.png"):
        if os.path.exists(os.path.join(work, name)):
            os.remove(os.path.join(work, name))
    subprocess.run([*wine_run, exe], cwd=work, check=True, timeout=60)
    failures = 0

    w, h, rows = read_png(os.path.join(work, "small.png"))
    expected = [[(255, 0, 0), (0, 255, 0), (0, 0, 255)], [(255, 255, 255), (0, 0, 0), (0x56, 0x34, 0x12)]]
    if (w, h, rows) != (3, 2, expected):
        print(f"small.png: {w}x{h} {rows}, expected 3x2 {expected}")
        failures += 1

    w, h, rows = read_png(os.path.join(work, "pattern.png"))
    if (w, h) != (257, 131):
        print(f"pattern.png: {w}x{h}, expected 257x131")
        failures += 1
    else:
        bad = [(x, y, rows[y][x], pattern_pixel(x, y)) for y in range(h) for x in range(w)
               if rows[y][x] != pattern_pixel(x, y)]
        if bad:
            print(f"pattern.png: {len(bad)} wrong pixels, first {bad[:3]}")
            failures += 1
        size = os.path.getsize(os.path.join(work, "pattern.png"))
        print(f"pattern.png: {size} bytes for {w * h * 3} bytes of pixels")

    print(f"{2 - failures} passed, {failures} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
