#!/usr/bin/env python3
"""Copies a TrueType font under another family name:

    make_probe_font.py SOURCE.ttf FAMILY STYLE OUT.ttf

The host's fonts are visible to Wine anyway, so a test can only tell that a
font file was registered when its family is one nobody else has. The name
table is replaced by one naming FAMILY and STYLE; every other table is kept
as it is, and the checksums are made right again.
"""
import struct
import sys


def checksum(data):
    data += b"\0" * (-len(data) % 4)
    return sum(struct.unpack(">%dI" % (len(data) // 4), data)) & 0xFFFFFFFF


def name_table(family, style):
    names = {1: family, 2: style, 3: family + " " + style, 4: family + " " + style,
             6: (family + "-" + style).replace(" ", "")}
    records, strings = b"", b""
    for name_id, text in sorted(names.items()):
        raw = text.encode("utf-16-be")
        # Windows platform, Unicode BMP, US English.
        records += struct.pack(">6H", 3, 1, 0x409, name_id, len(raw), len(strings))
        strings += raw
    return struct.pack(">3H", 0, len(names), 6 + len(records)) + records + strings


def main():
    source, family, style, out = sys.argv[1:5]
    font = open(source, "rb").read()
    version, count = struct.unpack(">IH", font[:6])
    tables = []
    for i in range(count):
        tag, _, offset, length = struct.unpack(">4sIII", font[12 + 16 * i:28 + 16 * i])
        tables.append([tag, font[offset:offset + length]])
    for t in tables:
        if t[0] == b"name":
            t[1] = name_table(family, style)
        if t[0] == b"head":
            t[1] = t[1][:8] + b"\0\0\0\0" + t[1][12:]  # checkSumAdjustment, set below

    header = bytearray(font[:12])
    directory = bytearray()
    body = bytearray()
    offset = 12 + 16 * count
    head_at = None
    for tag, data in tables:
        if tag == b"head":
            head_at = offset + len(body)
        directory += struct.pack(">4sIII", tag, checksum(data), offset + len(body), len(data))
        body += data + b"\0" * (-len(data) % 4)
    whole = bytearray(header + directory + body)
    adjustment = (0xB1B0AFBA - checksum(bytes(whole))) & 0xFFFFFFFF
    whole[head_at + 8:head_at + 12] = struct.pack(">I", adjustment)
    assert version in (0x00010000, 0x74727565)
    open(out, "wb").write(whole)


main()
