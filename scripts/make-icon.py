#!/usr/bin/env python3
"""Draws the application icon and writes resources/vellumshot.ico.

The mark is a blue rounded square (the overlay frame's blue, RGB 66,133,244) holding four
white selection-frame corners around a small white centre dot. Every size is drawn on its
own pixel grid rather than scaled down from the largest one, so the 16-pixel image stays
crisp. Only the standard library is used; the output is byte-for-byte reproducible.

Usage: make-icon.py [--png-dir DIR]   (DIR also receives the six PNGs, for looking at)
"""
import argparse
import os
import struct
import zlib

SIZES = (16, 32, 48, 64, 128, 256)
SUPERSAMPLE = 4  # samples per pixel side for the anti-aliased rounded corners

TOP = (92, 156, 255)  # background gradient, top to bottom, around the frame blue
BOTTOM = (48, 112, 226)
EDGE = (30, 82, 186)  # a thin darker rim so the square stands out on light task bars
WHITE = (255, 255, 255)


def layout(size):
    """Pixel geometry of one size, snapped to whole pixels."""
    margin = round(size * 0.03)
    frame = round(size * 0.1875)  # inset of the selection frame from the icon's edge
    stroke = max(2, round(size * 0.1))
    arm = round(size * 0.25)  # length of each corner's arms
    dot = max(2, round(size * 0.125))
    return margin, size * 0.2, frame, stroke, arm, dot


def inside_rounded(x, y, lo, hi, radius):
    """Whether the point lies in the square [lo, hi)^2 with corners of the given radius."""
    if x < lo or y < lo or x >= hi or y >= hi:
        return False
    cx = min(max(x, lo + radius), hi - radius)
    cy = min(max(y, lo + radius), hi - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius * radius


def corner_rects(size, frame, stroke, arm):
    """The eight bars of the four L-shaped corners, as (x0, y0, x1, y1)."""
    lo, hi = frame, size - frame
    rects = []
    for left in (True, False):
        for top in (True, False):
            x0 = lo if left else hi - arm
            y0 = lo if top else hi - arm
            bar_y = lo if top else hi - stroke
            bar_x = lo if left else hi - stroke
            rects.append((x0, bar_y, x0 + arm, bar_y + stroke))  # horizontal arm
            rects.append((bar_x, y0, bar_x + stroke, y0 + arm))  # vertical arm
    return rects


def draw(size):
    """RGBA rows of one icon size."""
    margin, radius, frame, stroke, arm, dot = layout(size)
    lo, hi = margin, size - margin
    rim = max(1, size // 32)
    white = corner_rects(size, frame, stroke, arm)
    d0 = (size - dot) // 2
    white.append((d0, d0, d0 + dot, d0 + dot))
    rows = []
    n = SUPERSAMPLE
    for y in range(size):
        row = bytearray()
        t = (y - lo) / max(1, hi - lo - 1)
        fill = tuple(round(a + (b - a) * min(max(t, 0.0), 1.0)) for a, b in zip(TOP, BOTTOM))
        for x in range(size):
            if any(x0 <= x < x1 and y0 <= y < y1 for x0, y0, x1, y1 in white):
                row += bytes(WHITE + (255,))
                continue
            cover = 0
            inner = 0
            for sy in range(n):
                for sx in range(n):
                    px, py = x + (sx + 0.5) / n, y + (sy + 0.5) / n
                    if inside_rounded(px, py, lo, hi, radius):
                        cover += 1
                        if inside_rounded(px, py, lo + rim, hi - rim, max(0.0, radius - rim)):
                            inner += 1
            if cover == 0:
                row += b"\0\0\0\0"
                continue
            # Colour of the covered part: fill inside the rim, rim colour on it.
            colour = tuple(round((f * inner + e * (cover - inner)) / cover)
                           for f, e in zip(fill, EDGE))
            row += bytes(colour + (round(255 * cover / (n * n)),))
        rows.append(bytes(row))
    return rows


def png(size, rows):
    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data
                + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))

    raw = b"".join(b"\0" + r for r in rows)
    return (b"\x89PNG\r\n\x1a\n"
            + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9))
            + chunk(b"IEND", b""))


def ico(images):
    """ICO with PNG entries: header, directory in the given order, then the images."""
    header = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries = b""
    for size, data in images:
        byte = 0 if size == 256 else size
        entries += struct.pack("<BBBBHHII", byte, byte, 0, 0, 0, 32, len(data), offset)
        offset += len(data)
    return header + entries + b"".join(data for _, data in images)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--png-dir", help="also write the PNGs here")
    parser.add_argument("--output", default=os.path.join(
        os.path.dirname(os.path.abspath(__file__)), "..", "resources", "vellumshot.ico"))
    args = parser.parse_args()
    images = [(size, png(size, draw(size))) for size in SIZES]
    if args.png_dir:
        os.makedirs(args.png_dir, exist_ok=True)
        for size, data in images:
            with open(os.path.join(args.png_dir, f"icon-{size}.png"), "wb") as f:
                f.write(data)
    with open(args.output, "wb") as f:
        f.write(ico(images))


if __name__ == "__main__":
    main()
