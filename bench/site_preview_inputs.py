#!/usr/bin/env python3
"""Writes the synthetic desktop pictures "--render-site-previews" reads into
the folder given: a 1100 x 680 capture (a light page on a dark desktop), a
presentation picture whose bar on row 250 is centred on column 447, and the
board's wallpaper, icons (two opaque squares in each zone) and screen."""
import struct
import sys
import zlib
from pathlib import Path


def png(path, width, height, pixel):
    rows = b"".join(b"\0" + b"".join(bytes(pixel(x, y)) for x in range(width)) for y in range(height))
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    path.write_bytes(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(rows)) +
                     chunk(b"IEND", b""))


def inside(x, y, left, top, right, bottom):
    return left <= x < right and top <= y < bottom


ICONS = [(left, 60, left + 40, 100) for left in (130, 200, 330, 400)]


def main(folder):
    out = Path(folder)
    png(out / "desktop-capture.png", 1100, 680,
        lambda x, y: (242, 245, 248, 255) if inside(x, y, 70, 100, 1030, 600) else (24, 29, 36, 255))
    png(out / "desktop-presentation.png", 960, 540,
        lambda x, y: (80, 153, 244, 255) if inside(x, y, 420, 200, 475, 420) else (245, 247, 250, 255))
    icon = lambda x, y: any(inside(x, y, *r) for r in ICONS)
    png(out / "desktop-board-wallpaper.png", 1100, 680, lambda x, y: (40, 90, 140, 255))
    png(out / "desktop-board-icons.png", 1100, 680, lambda x, y: (250, 250, 250, 255) if icon(x, y) else (0, 0, 0, 0))
    png(out / "desktop-board-screen.png", 1100, 680,
        lambda x, y: (250, 250, 250, 255) if icon(x, y) else (40, 90, 140, 255))


if __name__ == "__main__":
    main(sys.argv[1])
