#!/usr/bin/env python3
"""The pictures of the window in docs/, and the check that they show the window as it is today.

  pictures.py PICTURE.png COMMAND...

COMMAND, run in a scratch folder, shows the real window and writes picture.ppm (its client area
as drawn) and picture.txt (each control's place, font and text as the window reports them).
With ZEDUZOVIR_PICTURES=write, it makes PICTURE.png of the first, carrying the second in an iTXt
chunk (scripts/make-pictures.sh). Otherwise it fails unless PICTURE.png carries exactly what the
window reports today and is the size of its client area: pixels differ between toolkit versions
and fonts, what the window reports does not.
"""
import difflib
import os
import struct
import subprocess
import sys
import tempfile
import zlib
from pathlib import Path

KEY = b"Zeduzovir window"
SIGNATURE = b"\x89PNG\r\n\x1a\n"


def chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))


def read_ppm(path):
    data = path.read_bytes()
    magic, width, height, depth, pixels = data.split(maxsplit=4)
    if magic != b"P6" or depth != b"255" or len(pixels) != int(width) * int(height) * 3:
        sys.exit(f"FAIL: {path.name} is not the picture of a window")
    return int(width), int(height), pixels


def png(width, height, pixels, text):
    """The smallest of a few plain encodings: a palette when the colours fit, any filters."""
    rows = [pixels[y * width * 3:(y + 1) * width * 3] for y in range(height)]
    colours = sorted({row[x:x + 3] for row in rows for x in range(0, len(row), 3)})
    if len(colours) <= 4:
        sys.exit("FAIL: the window was never painted")
    header, extra, bpp = (8, 2), b"", 3
    if len(colours) <= 256:
        index = {colour: i for i, colour in enumerate(colours)}
        rows = [bytes(index[row[x:x + 3]] for x in range(0, len(row), 3)) for row in rows]
        header, extra, bpp = (8, 3), chunk(b"PLTE", b"".join(colours)), 1
    candidates = []
    for choose in ("none", "least"):
        out, previous = bytearray(), bytes(len(rows[0]))
        for row in rows:
            left = bytes(bpp) + row[:-bpp]
            filtered = [b"\0" + row, b"\1" + bytes((a - b) & 255 for a, b in zip(row, left)),
                        b"\2" + bytes((a - b) & 255 for a, b in zip(row, previous))]
            out += filtered[0] if choose == "none" else min(
                filtered, key=lambda f: sum(b if b < 128 else 256 - b for b in f[1:]))
            previous = row
        candidates.append(zlib.compress(bytes(out), 9))
    return (SIGNATURE + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, *header, 0, 0, 0))
            + extra + chunk(b"iTXt", KEY + b"\0\0\0\0\0" + text.encode())
            + chunk(b"IDAT", min(candidates, key=len)) + chunk(b"IEND", b""))


def carried(path):
    """The picture's size and the text it carries."""
    data, at, size, text = path.read_bytes(), 8, None, None
    if not data.startswith(SIGNATURE):
        sys.exit(f"FAIL: {path} is not a PNG")
    while at < len(data):
        length, kind = struct.unpack(">I4s", data[at:at + 8])
        body = data[at + 8:at + 8 + length]
        if struct.unpack(">I", data[at + 8 + length:at + 12 + length])[0] != zlib.crc32(kind + body):
            sys.exit(f"FAIL: {path} is damaged")
        if kind == b"IHDR":
            size = struct.unpack(">II", body[:8])
        elif kind == b"iTXt" and body.startswith(KEY + b"\0\0\0\0\0"):
            text = body[len(KEY) + 5:].decode()
        at += 12 + length
    return size, text


def main():
    picture, command = Path(sys.argv[1]), sys.argv[2:]
    with tempfile.TemporaryDirectory() as scratch:
        subprocess.run(command, cwd=scratch, check=True)
        shown = Path(scratch, "picture.txt").read_text()
        width, height, pixels = read_ppm(Path(scratch, "picture.ppm"))
    if os.environ.get("ZEDUZOVIR_PICTURES") == "write":
        picture.write_bytes(png(width, height, pixels, shown))
        print(f"wrote {picture}: {width}x{height}, {picture.stat().st_size} bytes")
        return
    size, text = carried(picture)
    client = tuple(int(n) for n in shown.split()[1].split(",")[2:])
    if text != shown or size != client:
        sys.stdout.writelines(difflib.unified_diff(
            (text or "").splitlines(True), shown.splitlines(True), f"{picture} ({size})",
            f"the window today ({client})"))
        print(f"FAIL: {picture.name} does not show the window as it is; run scripts/make-pictures.sh")
        sys.exit(1)
    print(f"PASS: {picture.name} shows the window's title and {len(shown.splitlines()) - 1} "
          f"controls as it reports them today, at its size of {size[0]}x{size[1]}")


main()
