#!/usr/bin/env python3
"""Compares two grey pictures (PNG or PGM) of one page drawn by different renderers
(Qt's and poppler's): both are cut into blocks of 8 x 8 pixels, and a block
differs when its mean grey differs by more than anti-aliasing and a pixel's
shift of a rule can make it. Prints the share of blocks that differ and
exits 1 when the sizes differ or more than ALLOWED of the blocks do.

    compare_pictures.py A.png B.pgm
"""
import struct
import sys
import zlib

BLOCK = 8
STRONG = 48       # mean grey levels a block may move by anti-aliasing and shifts
ALLOWED = 0.007   # share of blocks that may differ that much (the bold title alone: 0.0044)


def read_pgm(data):
    fields, pos = [], 2
    while len(fields) < 3:
        while data[pos:pos + 1].isspace():
            pos += 1
        start = pos
        while not data[pos:pos + 1].isspace():
            pos += 1
        fields.append(int(data[start:pos]))
    width, height, pos = fields[0], fields[1], pos + 1
    return width, height, [data[pos + y * width:pos + (y + 1) * width] for y in range(height)]


def read_grey(path):
    data = open(path, "rb").read()
    if data[:2] == b"P5":
        return read_pgm(data)
    assert data[:8] == b"\x89PNG\r\n\x1a\n", f"{path}: not a PNG"
    pos, idat, width = 8, b"", 0
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            width, height, depth, colour, _, _, interlace = struct.unpack(">IIBBBBB", body)
            assert depth == 8 and colour == 0 and interlace == 0, f"{path}: not 8-bit grey"
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    raw = zlib.decompress(idat)
    rows, prev = [], bytearray(width)
    for y in range(height):
        kind, line = raw[y * (width + 1)], bytearray(raw[y * (width + 1) + 1:(y + 1) * (width + 1)])
        for x in range(width):
            a = line[x - 1] if x else 0
            b, c = prev[x], prev[x - 1] if x else 0
            if kind == 1: line[x] = (line[x] + a) & 255
            elif kind == 2: line[x] = (line[x] + b) & 255
            elif kind == 3: line[x] = (line[x] + (a + b) // 2) & 255
            elif kind == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                line[x] = (line[x] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        rows.append(line)
        prev = line
    return width, height, rows


def block_means(width, height, rows):
    means = []
    for by in range(0, height - BLOCK + 1, BLOCK):
        for bx in range(0, width - BLOCK + 1, BLOCK):
            means.append(sum(sum(rows[y][bx:bx + BLOCK]) for y in range(by, by + BLOCK)) / BLOCK / BLOCK)
    return means


def main():
    a, b = read_grey(sys.argv[1]), read_grey(sys.argv[2])
    # Renderers round a page's size each their own way: a pixel more or less.
    if abs(a[0] - b[0]) > 1 or abs(a[1] - b[1]) > 1:
        print(f"sizes differ: {a[:2]} and {b[:2]}")
        return 1
    width, height = min(a[0], b[0]), min(a[1], b[1])
    ma, mb = block_means(width, height, a[2]), block_means(width, height, b[2])
    differ = sum(1 for x, y in zip(ma, mb) if abs(x - y) > STRONG)
    share = differ / len(ma)
    print(f"{differ} of {len(ma)} blocks differ ({share:.4f})")
    return 1 if share > ALLOWED else 0


if __name__ == "__main__":
    sys.exit(main())
