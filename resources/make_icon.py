#!/usr/bin/env python3
"""Draws Zeduzovir's icon from the shapes below and writes it as .ico and PNG files.

The artwork is a few flat shapes in a 48x48 design grid: a page with a folded corner, lines
of text, and a dashed red line where the name is cut. Every size is rasterised from the same
shapes, so the output depends on nothing but this file.

  make_icon.py --ico zeduzovir.ico            # the five images Windows uses
  make_icon.py --png-dir DIR --sizes 16 32    # DIR/16x16.png ... for desktop icon themes
  make_icon.py --svg zeduzovir.svg            # the shapes themselves, for any size
"""

import argparse
import struct
import zlib
from collections import Counter
from pathlib import Path

GRID = 48.0


def subsamples(size):
    """Samples per axis; each pixel takes the colour most of its samples see. Small icons need
    more to decide thin details; large ones have pixels to spare."""
    return 4 if size <= 48 else 2

TRANSPARENT = None
PALETTE = [
    (0, 0, 0),        # 0: behind transparent pixels
    (255, 255, 255),  # 1: page
    (60, 60, 70),     # 2: outline
    (205, 205, 210),  # 3: folded corner
    (60, 100, 185),   # 4: text
    (205, 30, 35),    # 5: cut
]

# Later shapes paint over earlier ones.
SHAPES = [
    (2, [(9, 3), (31, 3), (40, 12), (40, 45), (9, 45)]),
    (1, [(10.5, 4.5), (30.4, 4.5), (38.5, 12.6), (38.5, 43.5), (10.5, 43.5)]),
    (2, [(30, 3), (31.5, 3), (31.5, 11.5), (40, 11.5), (40, 13), (30, 13)]),
    (3, [(31.5, 4.6), (31.5, 11.5), (38.4, 11.5)]),
    (4, [(14, 16), (34, 16), (34, 19), (14, 19)]),
    (4, [(14, 22), (34, 22), (34, 25), (14, 25)]),
    (4, [(14, 28), (28, 28), (28, 31), (14, 31)]),
] + [
    (5, [(x, 35), (x + 6, 35), (x + 6, 39), (x, 39)]) for x in (2, 11, 20, 29, 38)
]


def inside(polygon, x, y):
    """Even-odd rule."""
    result = False
    j = len(polygon) - 1
    for i, (xi, yi) in enumerate(polygon):
        xj, yj = polygon[j]
        if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
            result = not result
        j = i
    return result


def colour_at(x, y):
    found = TRANSPARENT
    for index, polygon in SHAPES:
        if inside(polygon, x, y):
            found = index
    return found


def rasterise(size):
    """Rows of palette indices (None for transparent), top row first."""
    scale = GRID / size
    samples = subsamples(size)
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            votes = Counter()
            for sy in range(samples):
                for sx in range(samples):
                    x = (px + (sx + 0.5) / samples) * scale
                    y = (py + (sy + 0.5) / samples) * scale
                    votes[colour_at(x, y)] += 1
            # Ties go to the shape painted last, so thin details survive at small sizes.
            best = max(votes.values())
            row.append(max((c for c in votes if votes[c] == best),
                           key=lambda c: -1 if c is None else c))
        rows.append(row)
    return rows


def ico_image(rows, bits):
    """A BMP-style icon image: header, palette, colour bits bottom-up, then the AND mask."""
    size = len(rows)
    colours = 1 << bits
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bits, 0, 0, 0, 0, 0, 0)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0)
                       for r, g, b in (PALETTE + [(0, 0, 0)] * colours)[:colours])

    def padded(data):
        return data + b"\0" * (-len(data) % 4)

    xor_rows = []
    and_rows = []
    for row in reversed(rows):
        indices = [0 if c is None else c for c in row]
        if bits == 8:
            xor_rows.append(padded(bytes(indices)))
        else:
            xor_rows.append(padded(bytes((indices[i] << 4) | indices[i + 1]
                                         for i in range(0, size, 2))))
        mask = bytearray((size + 7) // 8)
        for i, c in enumerate(row):
            if c is None:
                mask[i // 8] |= 0x80 >> (i % 8)
        and_rows.append(padded(bytes(mask)))
    return header + palette + b"".join(xor_rows) + b"".join(and_rows)


def write_ico(path, images):
    """images: (size, bits) pairs, in directory order."""
    blobs = [(size, bits, ico_image(rasterise(size), bits)) for size, bits in images]
    out = struct.pack("<HHH", 0, 1, len(blobs))
    offset = 6 + 16 * len(blobs)
    for size, bits, blob in blobs:
        colour_count = 16 if bits == 4 else 0
        out += struct.pack("<BBBBHHII", size, size, colour_count, 0, 1, bits, len(blob), offset)
        offset += len(blob)
    out += b"".join(blob for _, _, blob in blobs)
    Path(path).write_bytes(out)


def write_png(path, rows):
    size = len(rows)
    raw = b""
    for row in rows:
        raw += b"\0" + b"".join(bytes(PALETTE[c]) + b"\xff" if c is not None else b"\0\0\0\0"
                                for c in row)

    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data
                + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))

    png = (b"\x89PNG\r\n\x1a\n"
           + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0))
           + chunk(b"IDAT", zlib.compress(raw, 9))
           + chunk(b"IEND", b""))
    Path(path).write_bytes(png)


def write_svg(path):
    shapes = "\n".join(
        '  <polygon fill="#%02x%02x%02x" points="%s"/>'
        % (PALETTE[index] + (" ".join(f"{x:g},{y:g}" for x, y in polygon),))
        for index, polygon in SHAPES)
    Path(path).write_text(
        '<?xml version="1.0" encoding="UTF-8"?>\n'
        f'<svg xmlns="http://www.w3.org/2000/svg" width="{GRID:g}" height="{GRID:g}" '
        f'viewBox="0 0 {GRID:g} {GRID:g}" shape-rendering="crispEdges">\n'
        f"{shapes}\n</svg>\n")


# 16, 24, 32 and 48 pixels at 256 colours, then 32 pixels at 16 colours.
ICO_IMAGES = [(16, 8), (24, 8), (32, 8), (48, 8), (32, 4)]


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--ico", help="write the Windows icon here")
    parser.add_argument("--png-dir", help="write SIZExSIZE.png files here")
    parser.add_argument("--sizes", type=int, nargs="+", default=[16, 24, 32, 48])
    parser.add_argument("--svg", help="write the scalable icon here")
    args = parser.parse_args()
    if args.ico:
        write_ico(args.ico, ICO_IMAGES)
    if args.png_dir:
        Path(args.png_dir).mkdir(parents=True, exist_ok=True)
        for size in args.sizes:
            write_png(Path(args.png_dir) / f"{size}x{size}.png", rasterise(size))
    if args.svg:
        write_svg(args.svg)


if __name__ == "__main__":
    main()
