#!/usr/bin/env python3
"""Draws the maker's cursors and writes them with their resource script:

    QmxCursors.py OUT_DIR

writes OUT_DIR/NAME.cur for every cursor and OUT_DIR/QmxCursors.rc, which
names each file under its resource name (HAND, ITEM, CRD_01 .. DUPEK10,
DRAGSONG, ...). Every picture is drawn here from lines, boxes and circles:
32x32 monochrome, black shapes with a white rim so that they show on any
background. The frames of a family (CRD_01 .. CRD_10 and the like) differ
in what moves and in a dot that travels round the picture.
"""
import math
import os
import struct
import sys

SIZE = 32


class Picture:
    def __init__(self):
        self.ink = [[False] * SIZE for _ in range(SIZE)]
        self.paper = [[False] * SIZE for _ in range(SIZE)]  # white, not rim

    def dot(self, x, y, white=False):
        if 0 <= x < SIZE and 0 <= y < SIZE:
            (self.paper if white else self.ink)[y][x] = True
            if white:
                self.ink[y][x] = False

    def line(self, x0, y0, x1, y1, white=False):
        dx, dy = abs(x1 - x0), -abs(y1 - y0)
        sx, sy = (1 if x0 < x1 else -1), (1 if y0 < y1 else -1)
        err = dx + dy
        while True:
            self.dot(x0, y0, white)
            if x0 == x1 and y0 == y1:
                return
            e2 = 2 * err
            if e2 >= dy:
                err += dy
                x0 += sx
            if e2 <= dx:
                err += dx
                y0 += sy

    def box(self, x0, y0, x1, y1, fill=False, white=False):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                if fill or y in (y0, y1) or x in (x0, x1):
                    self.dot(x, y, white)

    def circle(self, cx, cy, r, fill=False, white=False):
        for y in range(cy - r, cy + r + 1):
            for x in range(cx - r, cx + r + 1):
                d = math.hypot(x - cx, y - cy)
                if d <= r + 0.3 and (fill or d >= r - 0.7):
                    self.dot(x, y, white)

    def polygon(self, points, white=False):
        """Fills a polygon by its scan lines, edges included."""
        for y in range(SIZE):
            xs = []
            n = len(points)
            for i in range(n):
                (x0, y0), (x1, y1) = points[i], points[(i + 1) % n]
                if (y0 <= y < y1) or (y1 <= y < y0):
                    xs.append(x0 + (y - y0) * (x1 - x0) / (y1 - y0))
            xs.sort()
            for a, b in zip(xs[::2], xs[1::2]):
                for x in range(math.ceil(a), math.floor(b) + 1):
                    self.dot(x, y, white)
        for i in range(len(points)):
            self.line(*points[i], *points[(i + 1) % len(points)], white)

    def orbit(self, frame, cx=15, cy=15, r=13):
        """A dot on a circle round the picture, one tenth further each frame."""
        a = 2 * math.pi * (frame - 1) / 10 - math.pi / 2
        self.circle(round(cx + r * math.cos(a)), round(cy + r * math.sin(a)), 1, fill=True)

    def masks(self):
        """AND and XOR masks, top row first: ink black, paper and rim white."""
        rim = [[False] * SIZE for _ in range(SIZE)]
        for y in range(SIZE):
            for x in range(SIZE):
                if self.ink[y][x] or self.paper[y][x]:
                    continue
                rim[y][x] = any(
                    0 <= x + dx < SIZE and 0 <= y + dy < SIZE and self.ink[y + dy][x + dx]
                    for dx in (-1, 0, 1) for dy in (-1, 0, 1))
        and_rows, xor_rows = [], []
        for y in range(SIZE):
            a = x_ = 0
            for x in range(SIZE):
                bit = 1 << (31 - x)
                if self.ink[y][x]:
                    pass                      # AND 0, XOR 0: black
                elif self.paper[y][x] or rim[y][x]:
                    x_ |= bit                 # AND 0, XOR 1: white
                else:
                    a |= bit                  # AND 1, XOR 0: transparent
            and_rows.append(a)
            xor_rows.append(x_)
        return and_rows, xor_rows


def cur_file(picture, hotspot):
    and_rows, xor_rows = picture.masks()
    # The bitmap is stored bottom row first, XOR mask then AND mask.
    bits = b"".join(struct.pack(">I", r) for r in reversed(xor_rows))
    bits += b"".join(struct.pack(">I", r) for r in reversed(and_rows))
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 1, 0, len(bits), 0, 0, 2, 0)
    palette = struct.pack("<II", 0x000000, 0xFFFFFF)
    image = header + palette + bits
    directory = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 2, 0, hotspot[0], hotspot[1], len(image), 6 + 16)
    return directory + entry + image


ARROW_HOTSPOT = (1, 1)
CENTRE = (15, 15)


def arrow(p):
    p.polygon([(1, 1), (1, 16), (5, 12), (8, 19), (10, 18), (7, 11), (12, 11)])


def hand(p):
    p.box(8, 1, 11, 14, fill=True)            # the pointing finger
    for x0 in (12, 16, 20):                   # three folded fingers
        p.box(x0, 11, x0 + 3, 17, fill=True)
    p.box(8, 14, 23, 25, fill=True)           # the palm
    p.polygon([(3, 15), (6, 13), (9, 18), (8, 21)])   # the thumb
    p.box(10, 26, 21, 29, fill=True)          # the cuff
    p.line(12, 12, 12, 17, white=True)
    p.line(16, 12, 16, 17, white=True)
    p.line(20, 12, 20, 17, white=True)


def item(p):
    arrow(p)
    p.box(16, 18, 29, 28)
    p.line(18, 21, 27, 21)
    p.line(18, 24, 24, 24)


def note(p, x, y):
    p.circle(x, y, 2, fill=True)
    p.line(x + 2, y, x + 2, y - 9)
    p.line(x + 2, y - 9, x + 5, y - 7)


def dragsong(p):
    arrow(p)
    note(p, 20, 27)


def dragsongs(p):
    arrow(p)
    note(p, 17, 27)
    note(p, 25, 25)
    p.line(19, 18, 27, 16)


def glosnik(p):
    p.box(4, 12, 9, 19, fill=True)
    p.polygon([(9, 12), (16, 5), (16, 26), (9, 19)])
    for r in (5, 9, 13):                      # sound waves to the right
        for deg in range(-45, 46, 3):
            a = math.radians(deg)
            p.dot(round(16 + r * math.cos(a)), round(15 + r * math.sin(a)))


def help_cursor(p):
    arrow(p)
    p.circle(22, 19, 5)
    for x in range(17, 28):                   # keep the lower half open
        for y in range(20, 25):
            p.ink[y][x] = False
    p.line(26, 20, 22, 24)
    p.line(22, 24, 22, 26)
    p.box(21, 29, 23, 31, fill=True)


def monitor(p):
    arrow(p)
    p.box(14, 14, 30, 26)
    p.box(16, 16, 28, 24, fill=True)
    p.line(22, 27, 22, 28)
    p.line(18, 29, 26, 29)


def save(p):
    arrow(p)
    p.box(15, 15, 30, 30)
    p.box(18, 15, 26, 20, fill=True)
    p.box(17, 24, 28, 30)
    p.line(19, 26, 26, 26)


def read(p):
    arrow(p)
    p.polygon([(14, 18), (22, 20), (22, 30), (14, 28)])
    p.polygon([(22, 20), (30, 18), (30, 28), (22, 30)])
    p.line(16, 21, 20, 22, white=True)
    p.line(24, 22, 28, 21, white=True)
    p.line(16, 24, 20, 25, white=True)
    p.line(24, 25, 28, 24, white=True)


def card(p, frame):
    p.box(9, 6, 21, 24)
    p.polygon([(15, 9 + frame // 3), (19, 15), (15, 21 - frame // 3), (11, 15)])
    p.orbit(frame)


def paper(p, frame):
    p.polygon([(8, 5), (18, 5), (23, 10), (23, 26), (8, 26)])
    p.box(9, 6, 17, 25, fill=True, white=True)
    p.box(18, 11, 22, 25, fill=True, white=True)
    p.line(18, 5, 18, 10)
    p.line(18, 10, 23, 10)
    for row in range(frame // 2 + 1):         # the page fills line by line
        p.line(10, 12 + 3 * row, 21, 12 + 3 * row)
    p.orbit(frame)


def hourglass(p, frame):
    p.line(9, 5, 21, 5)
    p.line(9, 25, 21, 25)
    p.polygon([(10, 6), (20, 6), (16, 15), (20, 24), (10, 24), (14, 15)])
    p.polygon([(11, 7), (19, 7), (15, 14)], white=True)
    p.polygon([(11, 23), (19, 23), (15, 16)], white=True)
    top = 7 + frame * 6 // 10                 # the sand runs down
    for y in range(top, 14):
        half = (14 - y) * 4 // 7
        p.line(15 - half, y, 15 + half, y)
    for y in range(23 - frame * 6 // 10, 24):
        half = (y - 16) * 4 // 7
        p.line(15 - half, y, 15 + half, y)
    p.orbit(frame)


def waiter(p, frame):
    p.circle(13, 8, 3, fill=True)             # head
    p.line(13, 11, 13, 20)                    # body
    p.line(13, 20, 10, 27)
    p.line(13, 20, 16, 27)
    lift = (frame % 5) - 2                    # the tray bobs up and down
    p.line(13, 13, 19, 11 + lift)
    p.line(15, 10 + lift, 24, 10 + lift)
    p.box(18, 5 + lift, 20, 9 + lift)
    p.orbit(frame)


def fool(p, frame):
    p.circle(15, 15, 9)
    p.box(11, 11, 12, 12, fill=True)
    p.box(18, 11, 19, 12, fill=True)
    a = math.pi * frame / 5                   # the grin turns round
    for t in range(-3, 4):
        x = 15 + round(t * math.cos(a))
        y = 18 + round(t * math.sin(a))
        p.dot(x, y)
    p.orbit(frame)


def cursors():
    """(resource name, picture, hotspot) for every cursor."""
    def one(draw, hotspot):
        p = Picture()
        draw(p)
        return p, hotspot

    def framed(draw, frame):
        p = Picture()
        draw(p, frame)
        return p, CENTRE

    yield ("HAND",) + one(hand, (9, 1))
    yield ("ITEM",) + one(item, ARROW_HOTSPOT)
    for prefix, draw in (("CRD_", card), ("PAP_", paper), ("HP", hourglass), ("KELN", waiter),
                         ("DUPEK", fool)):
        for frame in range(1, 11):
            yield ("%s%02d" % (prefix, frame),) + framed(draw, frame)
    for name, draw in (("DRAGSONG", dragsong), ("DRAGSONGS", dragsongs), ("HELP", help_cursor),
                       ("MONITOR", monitor), ("SAVE", save), ("READ", read)):
        yield (name,) + one(draw, ARROW_HOTSPOT)
    yield ("GLOSNIK",) + one(glosnik, CENTRE)


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    lines = ["// Generated by QmxCursors.py: the maker's cursors by resource name."]
    for name, picture, hotspot in cursors():
        with open(os.path.join(out, name + ".cur"), "wb") as f:
            f.write(cur_file(picture, hotspot))
        # Names quoted (HELP is a keyword of the resource compiler), file names
        # not: windres joins a file name with the quoted name after it.
        lines.append('"%s" CURSOR %s.cur' % (name, name))
    # The link cursor of the installer's list view is the hand, by number.
    lines.append("8019 CURSOR HAND.cur")
    with open(os.path.join(out, "QmxCursors.rc"), "w", encoding="ascii") as f:
        f.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
