#!/usr/bin/env python3
"""Draws the editor's application icon: a sheet of text lines under a row of tabs, on a rounded
blue square. Writes strandex/ui/qt/icons/strandex.png, or with --ico PATH the Windows icon file
(16, 32 and 48 pixels as bitmaps, 256 as PNG). Only the standard library is used."""
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


def png_bytes():
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
    return png


def bitmap(size):
    """A 32-bit icon bitmap of size pixels, each the average of the full-size pixels it covers."""
    step = SIZE // size
    pixels = bytearray()
    for y in reversed(range(size)):
        for x in range(size):
            total = [0, 0, 0, 0]
            for dy in range(step):
                for dx in range(step):
                    p = pixel(x * step + dx, y * step + dy)
                    for i in range(4):
                        total[i] += p[i]
            r, g, b, a = (t // (step * step) for t in total)
            pixels.extend((b, g, r, a))
    mask_row = ((size + 31) // 32) * 4
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(pixels), 0, 0, 0, 0)
    return header + bytes(pixels) + bytes(mask_row * size)


def ico_bytes():
    images = [(16, bitmap(16)), (32, bitmap(32)), (48, bitmap(48)), (256, png_bytes())]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in images:
        side = 0 if size == 256 else size
        out += struct.pack("<BBBBHHII", side, side, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return out + b"".join(data for _, data in images)


def main(args):
    if len(args) == 2 and args[0] == "--ico":
        data, path = ico_bytes(), args[1]
    else:
        data, path = png_bytes(), (args[0] if args else "strandex/ui/qt/icons/strandex.png")
    with open(path, "wb") as out:
        out.write(data)


if __name__ == "__main__":
    main(sys.argv[1:])
