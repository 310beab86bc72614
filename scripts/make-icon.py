#!/usr/bin/env python3
"""Draws the program icon of Halvern and writes it as a Windows .ico file.

The picture: a small family tree (one orange box above two white ones, joined by lines) on a
rounded blue square. It is drawn from shapes, at every size separately, with 4 x 4 samples per
pixel for smooth edges. The sizes 16, 32 and 48 are stored as 32-bit bitmaps, 256 as PNG, as
Windows expects them.

Usage: scripts/make-icon.py OUTPUT.ico [PREVIEW.png]
Needs nothing beyond Python's standard library. The result is kept in ui/resources/Halvern.ico,
so a build does not need Python; run this again only to change the picture.
"""
import struct
import sys
import zlib

SIZES = (16, 32, 48, 256)
SAMPLES = 4

BLUE_TOP = (38, 110, 196)
BLUE_BOTTOM = (22, 70, 140)
ORANGE = (242, 160, 40)
WHITE = (255, 255, 255)


def rounded_box(x, y, left, top, right, bottom, radius):
    """True when (x, y) lies inside the box with rounded corners."""
    if x < left or x > right or y < top or y > bottom:
        return False
    cx = min(max(x, left + radius), right - radius)
    cy = min(max(y, top + radius), bottom - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2


def bar(x, y, left, top, right, bottom):
    return left <= x <= right and top <= y <= bottom


def colour_at(x, y, size):
    """The colour (r, g, b, a) of the point (x, y), both from 0 to 1."""
    if not rounded_box(x, y, 0.02, 0.02, 0.98, 0.98, 0.18):
        return (0, 0, 0, 0)
    # Lines and boxes grow a little thicker at the small sizes, so that they stay visible.
    line = 0.075 if size <= 16 else 0.06 if size <= 32 else 0.05
    # The parent box at the top, the two children below, joined by an elbow of lines.
    if rounded_box(x, y, 0.28, 0.14, 0.72, 0.40, 0.06):
        return ORANGE + (255,)
    if rounded_box(x, y, 0.10, 0.62, 0.44, 0.86, 0.06) or rounded_box(x, y, 0.56, 0.62, 0.90, 0.86, 0.06):
        return WHITE + (255,)
    h = line / 2
    if (bar(x, y, 0.5 - h, 0.40, 0.5 + h, 0.51 + h)            # down from the parent
            or bar(x, y, 0.27 - h, 0.51 - h, 0.73 + h, 0.51 + h)  # across
            or bar(x, y, 0.27 - h, 0.51 - h, 0.27 + h, 0.62)      # down to the left child
            or bar(x, y, 0.73 - h, 0.51 - h, 0.73 + h, 0.62)):    # down to the right child
        return WHITE + (255,)
    t = y
    return tuple(round(a + (b - a) * t) for a, b in zip(BLUE_TOP, BLUE_BOTTOM)) + (255,)


def render(size):
    """Rows of (r, g, b, a) pixels, top row first."""
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            r = g = b = a = 0
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    cr, cg, cb, ca = colour_at((px + (sx + 0.5) / SAMPLES) / size,
                                               (py + (sy + 0.5) / SAMPLES) / size, size)
                    r += cr * ca
                    g += cg * ca
                    b += cb * ca
                    a += ca
            if a == 0:
                row.append((0, 0, 0, 0))
            else:
                row.append((round(r / a), round(g / a), round(b / a), round(a / SAMPLES ** 2)))
        rows.append(row)
    return rows


def png(rows):
    size = len(rows)
    raw = b"".join(b"\0" + bytes(c for pixel in row for c in pixel) for row in rows)

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def bitmap(rows):
    """A 32-bit icon bitmap: header, colour rows bottom-up, then the transparency mask."""
    size = len(rows)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    colours = b"".join(bytes((b, g, r, a)) for row in reversed(rows) for (r, g, b, a) in row)
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        line = bytearray(mask_stride)
        for x, pixel in enumerate(row):
            if pixel[3] == 0:
                line[x // 8] |= 0x80 >> (x % 8)
        mask += line
    return header + colours + bytes(mask)


def main():
    if len(sys.argv) not in (2, 3):
        sys.exit(__doc__)
    images = []
    for size in SIZES:
        rows = render(size)
        images.append((size, png(rows) if size >= 256 else bitmap(rows)))
        if size == 256 and len(sys.argv) == 3:
            with open(sys.argv[2], "wb") as preview:
                preview.write(png(rows))
    offset = 6 + 16 * len(images)
    directory = struct.pack("<HHH", 0, 1, len(images))
    for size, data in images:
        side = 0 if size >= 256 else size
        directory += struct.pack("<BBBBHHII", side, side, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open(sys.argv[1], "wb") as out:
        out.write(directory + b"".join(data for _, data in images))


if __name__ == "__main__":
    main()
