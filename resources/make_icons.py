#!/usr/bin/env python3
"""Draws the program icon and the pointing-hand cursor and writes them as .ico/.cur.

The icon is a blue disk with a white check mark, drawn from its geometry at every
size (anti-aliased by supersampling), stored as the 12 images the program carries:
32x32 at 1 bit; 16, 32, 48 at 4 and 8 bits; 16, 32, 48, 128, 256 at 32 bits with
alpha, the two largest PNG-compressed. The cursor comes from the text drawing in
hand_cursor.txt. Only the standard library is used (PNG through zlib).

Usage: make_icons.py OUTPUT_DIR   (writes velmorin.ico and hand.cur there)
"""
import math
import os
import struct
import sys
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))

# Geometry of the icon, in units of the icon's width (0..1).
DISK_CENTRE = (0.5, 0.5)
DISK_RADIUS = 0.47
RIM_WIDTH = 0.05
CHECK = [(0.27, 0.53), (0.44, 0.70), (0.75, 0.35)]
CHECK_WIDTH = 0.12
DISK_LIGHT = (0x4A, 0x9B, 0xF0)
DISK_DARK = (0x17, 0x5C, 0xC0)
RIM = (0x0C, 0x3A, 0x80)
CHECK_COLOUR = (0xFF, 0xFF, 0xFF)

ICON_IMAGES = [(32, 1), (16, 4), (32, 4), (48, 4), (16, 8), (32, 8), (48, 8),
               (16, 32), (32, 32), (48, 32), (128, 32), (256, 32)]
PNG_SIZES = {128, 256}
CURSOR_HOT_SPOT = (6, 1)


def segment_distance(p, a, b):
    ax, ay = a
    bx, by = b
    px, py = p
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)))
    return math.hypot(px - (ax + t * dx), py - (ay + t * dy))


def sample(x, y, size):
    """Colour and coverage (RGB, 0 or 1) of one point of the drawing."""
    r = math.hypot(x - DISK_CENTRE[0], y - DISK_CENTRE[1])
    if r > DISK_RADIUS:
        return None
    # The check mark gets thicker at small sizes so it stays legible at 16x16.
    half = max(CHECK_WIDTH, 2.4 / size) / 2
    if min(segment_distance((x, y), CHECK[i], CHECK[i + 1]) for i in range(len(CHECK) - 1)) <= half:
        return CHECK_COLOUR
    if r > DISK_RADIUS - max(RIM_WIDTH, 1.0 / size):
        return RIM
    # Light from the top left.
    t = max(0.0, min(1.0, (x + y) / 2))
    return tuple(round(DISK_LIGHT[i] + (DISK_DARK[i] - DISK_LIGHT[i]) * t) for i in range(3))


def render(size):
    """Rows of (r, g, b, a) pixels, top row first."""
    grid = 4 if size <= 48 else 2
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            acc = [0, 0, 0]
            hits = 0
            for sy in range(grid):
                for sx in range(grid):
                    c = sample((px + (sx + 0.5) / grid) / size, (py + (sy + 0.5) / grid) / size, size)
                    if c is not None:
                        hits += 1
                        for i in range(3):
                            acc[i] += c[i]
            if hits == 0:
                row.append((0, 0, 0, 0))
            else:
                row.append(tuple(round(v / hits) for v in acc) + (round(255 * hits / grid / grid),))
        rows.append(row)
    return rows


VGA16 = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
         (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
         (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]
CUBE = [(r * 51, g * 51, b * 51) for r in range(6) for g in range(6) for b in range(6)]
PALETTE256 = CUBE + [(v, v, v) for v in range(8, 248, 6)][:40]


def nearest(palette, colour):
    return min(range(len(palette)),
               key=lambda i: sum((palette[i][k] - colour[k]) ** 2 for k in range(3)))



def pack_row(values, bpp):
    out = bytearray()
    acc, nbits = 0, 0
    for v in values:
        acc = (acc << bpp) | v
        nbits += bpp
        if nbits == 8:
            out.append(acc)
            acc, nbits = 0, 0
    if nbits:
        out.append(acc << (8 - nbits))
    while len(out) % 4:
        out.append(0)
    return bytes(out)


def dib(size, bpp, rows, palette=None, indices=None, mask=None, height=None):
    """A BITMAPINFOHEADER image with its colour and AND-mask rows, bottom-up."""
    height = height or size * 2
    pal = b"".join(struct.pack("<BBBB", c[2], c[1], c[0], 0) for c in (palette or []))
    if bpp == 32:
        xor = b"".join(b"".join(struct.pack("<BBBB", p[2], p[1], p[0], p[3]) for p in row)
                       for row in reversed(rows))
    else:
        xor = b"".join(pack_row(r, bpp) for r in reversed(indices))
    andmask = b"".join(pack_row(r, 1) for r in reversed(mask))
    header = struct.pack("<IiiHHIIiiII", 40, size, height, 1, bpp, 0, len(xor) + len(andmask),
                         0, 0, len(palette or []), 0)
    return header + pal + xor + andmask


def png(rows):
    size = len(rows)
    raw = b"".join(b"\0" + bytes(v for p in row for v in p) for row in rows)

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def icon_image(size, bpp):
    rows = render(size)
    mask = [[1 if p[3] < 128 else 0 for p in row] for row in rows]
    if size in PNG_SIZES:
        return png(rows)
    if bpp == 32:
        return dib(size, 32, rows, mask=[[1 if p[3] == 0 else 0 for p in row] for row in rows])
    if bpp == 1:
        # Black disk, white check mark; everything else transparent.
        indices = [[1 if p[:3] == CHECK_COLOUR and p[3] >= 128 else 0 for p in row] for row in rows]
        return dib(size, 1, rows, palette=[(0, 0, 0), (255, 255, 255)], indices=indices, mask=mask)
    palette = VGA16 if bpp == 4 else PALETTE256
    indices = [[0 if m else nearest(palette, p[:3]) for p, m in zip(row, mrow)]
               for row, mrow in zip(rows, mask)]
    return dib(size, bpp, rows, palette=palette, indices=indices, mask=mask)


def icon_file(images, kind, hot_spot=None):
    """An .ico (kind 1) or .cur (kind 2) file from (size, bpp, data) triples."""
    head = struct.pack("<HHH", 0, kind, len(images))
    offset = 6 + 16 * len(images)
    entries, blobs = b"", b""
    for size, bpp, data in images:
        colours = 1 << bpp if bpp < 8 else 0
        planes, bits = (hot_spot if kind == 2 else (1, bpp))
        entries += struct.pack("<BBBBHHII", size % 256, size % 256, colours % 256, 0, planes, bits,
                               len(data), offset)
        blobs += data
        offset += len(data)
    return head + entries + blobs


def cursor_image():
    lines = [l.rstrip("\n") for l in open(os.path.join(HERE, "hand_cursor.txt"), encoding="ascii")
             if not l.startswith("#")]
    if len(lines) != 32 or any(len(l) > 32 for l in lines):
        sys.exit("hand_cursor.txt must hold 32 rows of at most 32 characters")
    lines = [l.ljust(32, ".") for l in lines]
    if lines[CURSOR_HOT_SPOT[1]][CURSOR_HOT_SPOT[0]] != "X":
        sys.exit("the cursor's hot spot must lie on the fingertip's outline")
    # X black, o white, . transparent (AND 1, XOR 0).
    xor = [[1 if c == "o" else 0 for c in l] for l in lines]
    mask = [[1 if c == "." else 0 for c in l] for l in lines]
    return dib(32, 1, None, palette=[(0, 0, 0), (255, 255, 255)], indices=xor, mask=mask)


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else "."
    icons = [(size, bpp, icon_image(size, bpp)) for size, bpp in ICON_IMAGES]
    with open(os.path.join(out, "velmorin.ico"), "wb") as f:
        f.write(icon_file(icons, 1))
    with open(os.path.join(out, "hand.cur"), "wb") as f:
        f.write(icon_file([(32, 1, cursor_image())], 2, CURSOR_HOT_SPOT))


if __name__ == "__main__":
    main()
