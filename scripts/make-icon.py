#!/usr/bin/env python3
"""Draws the editor's application icon (strandex/ui/qt/icons/strandex.png): a sheet of text
lines under a row of tabs, on a rounded blue square. Only the standard library is used."""
import struct
import sys
import zlib

SIZE = 256


def inside_rounded(x, y, x0, y0, x1, y1, r):
    if x < x0 or x > x1 or y < y0 or y > y1:
        return False
    cx = min(max(x, x0 + r), x1 - r)
    cy = min(max(y, y0 + r), y1 - r)
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def pixel(x, y):
    blue = (37, 99, 235, 255)
    dark = (30, 58, 138, 255)
    white = (255, 255, 255, 255)
    line = (148, 163, 184, 255)
    accent = (251, 191, 36, 255)
    if not inside_rounded(x, y, 8, 8, 247, 247, 40):
        return (0, 0, 0, 0)
    # Three tabs on top, the first one active.
    for i, x0 in enumerate((40, 100, 160)):
        if inside_rounded(x, y, x0, 44, x0 + 52, 84, 8):
            return white if i == 0 else dark
    # The sheet.
    if inside_rounded(x, y, 40, 72, 215, 220, 10):
        for j, y0 in enumerate(range(96, 210, 22)):
            width = (150, 110, 135, 90, 120, 100)[j % 6]
            if y0 <= y < y0 + 8 and 56 <= x < 56 + width:
                return accent if j == 0 and x < 80 else line
        return white
    return blue


def main(path):
    rows = bytearray()
    for y in range(SIZE):
        rows.append(0)
        for x in range(SIZE):
            rows.extend(pixel(x, y))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    png = b"\x89PNG\r\n\x1a\n"
    png += chunk(b"IHDR", struct.pack(">IIBBBBB", SIZE, SIZE, 8, 6, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(bytes(rows), 9))
    png += chunk(b"IEND", b"")
    with open(path, "wb") as out:
        out.write(png)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "strandex/ui/qt/icons/strandex.png")
