#!/usr/bin/env python3
"""Draws the editor's application icon: a sheet of text lines under a row of tabs, on a rounded
blue square. Writes strandex/ui/qt/icons/strandex.png, or with --ico PATH the Windows icon file
(16, 32 and 48 pixels as bitmaps, 256 as PNG), or with --desktop FOLDER the icons the Linux
install puts in the hicolor theme beside strandex.png (256 pixels): strandex-SIZE.png for each
of DESKTOP_SIZES and the same drawing as strandex.svg. Only the standard library is used."""
import struct
import sys
import zlib

SIZE = 256
DESKTOP_SIZES = (16, 24, 32, 48, 64, 128)

# The drawing, in pixels of the SIZE square: the rounded square, three tabs (the first one
# active), the sheet and its text lines, each line's width.
SQUARE = (8, 8, 247, 247, 40)
TABS = (40, 100, 160)
TAB_Y, TAB_W, TAB_H, TAB_R = 44, 52, 40, 8
SHEET = (40, 72, 215, 220, 10)
LINE_X, LINE_H, ACCENT_END = 56, 8, 80
LINE_YS = range(96, 210, 22)
LINE_WIDTHS = (150, 110, 135, 90, 120, 100)
BLUE, DARK, WHITE, LINE, ACCENT = "#2563eb", "#1e3a8a", "#ffffff", "#94a3b8", "#fbbf24"


def rgba(colour):
    return tuple(int(colour[i:i + 2], 16) for i in (1, 3, 5)) + (255,)


def inside_rounded(x, y, x0, y0, x1, y1, r):
    if x < x0 or x > x1 or y < y0 or y > y1:
        return False
    cx = min(max(x, x0 + r), x1 - r)
    cy = min(max(y, y0 + r), y1 - r)
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def pixel(x, y):
    if not inside_rounded(x, y, *SQUARE):
        return (0, 0, 0, 0)
    for i, x0 in enumerate(TABS):
        if inside_rounded(x, y, x0, TAB_Y, x0 + TAB_W, TAB_Y + TAB_H, TAB_R):
            return rgba(WHITE if i == 0 else DARK)
    if inside_rounded(x, y, *SHEET):
        for j, y0 in enumerate(LINE_YS):
            width = LINE_WIDTHS[j % 6]
            if y0 <= y < y0 + LINE_H and LINE_X <= x < LINE_X + width:
                return rgba(ACCENT if j == 0 and x < ACCENT_END else LINE)
        return rgba(WHITE)
    return rgba(BLUE)


def sample(size, x, y):
    """The pixel (x, y) of the icon drawn at size pixels: the average of 4 x 4 points of the
    drawing inside it, weighted by their opacity so that edges do not darken."""
    scale, total, alpha = SIZE / size, [0, 0, 0], 0
    for sy in range(4):
        for sx in range(4):
            r, g, b, a = pixel((x + (sx + 0.5) / 4) * scale, (y + (sy + 0.5) / 4) * scale)
            total = [total[0] + r * a, total[1] + g * a, total[2] + b * a]
            alpha += a
    if alpha == 0:
        return (0, 0, 0, 0)
    return tuple(round(t / alpha) for t in total) + (round(alpha / 16),)


def png_bytes(size=SIZE):
    rows = bytearray()
    for y in range(size):
        rows.append(0)
        for x in range(size):
            rows.extend(pixel(x, y) if size == SIZE else sample(size, x, y))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    png = b"\x89PNG\r\n\x1a\n"
    png += chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(bytes(rows), 9))
    png += chunk(b"IEND", b"")
    return png


def svg_text():
    """The same drawing as a scalable image; a rounded shape spans its first to its last pixel."""

    def rect(x0, y0, x1, y1, r, colour):
        return (f'  <rect x="{x0}" y="{y0}" width="{x1 - x0 + 1}" height="{y1 - y0 + 1}" rx="{r}" '
                f'fill="{colour}"/>\n')

    out = f'<svg xmlns="http://www.w3.org/2000/svg" width="{SIZE}" height="{SIZE}" viewBox="0 0 {SIZE} {SIZE}">\n'
    out += rect(*SQUARE, BLUE) + rect(*SHEET, WHITE)
    for j, y0 in enumerate(LINE_YS):
        width = LINE_WIDTHS[j % 6]
        out += f'  <rect x="{LINE_X}" y="{y0}" width="{width}" height="{LINE_H}" fill="{LINE}"/>\n'
        if j == 0:
            out += f'  <rect x="{LINE_X}" y="{y0}" width="{ACCENT_END - LINE_X}" height="{LINE_H}" fill="{ACCENT}"/>\n'
    for i, x0 in enumerate(TABS):
        out += rect(x0, TAB_Y, x0 + TAB_W, TAB_Y + TAB_H, TAB_R, WHITE if i == 0 else DARK)
    return out + "</svg>\n"


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
    if len(args) == 2 and args[0] == "--desktop":
        for size in DESKTOP_SIZES:
            with open(f"{args[1]}/strandex-{size}.png", "wb") as out:
                out.write(png_bytes(size))
        with open(f"{args[1]}/strandex.svg", "w", encoding="ascii") as out:
            out.write(svg_text())
        return
    if len(args) == 2 and args[0] == "--ico":
        data, path = ico_bytes(), args[1]
    else:
        data, path = png_bytes(), (args[0] if args else "strandex/ui/qt/icons/strandex.png")
    with open(path, "wb") as out:
        out.write(data)


if __name__ == "__main__":
    main(sys.argv[1:])
