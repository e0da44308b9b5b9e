#!/usr/bin/env python3
"""Draws the program's icon and writes it as a Windows .ico file.

A dark rounded square with a four-pointed spark, in the sizes Windows asks
for (16, 20, 24, 32, 48, 64 pixels), each a 32-bit image with alpha, so the
picture is this script and no binary is kept in the repository.
"""
import math
import struct
import sys

SIZES = [16, 20, 24, 32, 48, 64]
BACKGROUND = (0x2A, 0x26, 0x26)  # B, G, R
SPARK = (0x40, 0xD3, 0xFF)
SAMPLES = 4  # per axis, for smooth edges


def inside_square(x, y):
    r = 0.22
    dx = max(abs(x - 0.5) - (0.5 - r), 0.0)
    dy = max(abs(y - 0.5) - (0.5 - r), 0.0)
    return dx * dx + dy * dy <= r * r


def inside_spark(x, y):
    # A star of four concave points: |dx|^p + |dy|^p <= R^p with p < 1.
    dx = abs(x - 0.5) / 0.36
    dy = abs(y - 0.5) / 0.36
    p = 0.5
    return dx ** p + dy ** p <= 1.0


def pixel(size, px, py):
    square = spark = 0
    for sy in range(SAMPLES):
        for sx in range(SAMPLES):
            x = (px + (sx + 0.5) / SAMPLES) / size
            y = (py + (sy + 0.5) / SAMPLES) / size
            if inside_square(x, y):
                square += 1
                if inside_spark(x, y):
                    spark += 1
    n = SAMPLES * SAMPLES
    if square == 0:
        return (0, 0, 0, 0)
    t = spark / square
    colour = [round(b * (1 - t) + s * t) for b, s in zip(BACKGROUND, SPARK)]
    return (*colour, round(255 * square / n))


def image(size):
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    rows = []
    for py in reversed(range(size)):  # bottom-up
        rows.append(b"".join(bytes(pixel(size, px, py)) for px in range(size)))
    mask_row = ((size + 31) // 32) * 4
    return header + b"".join(rows) + bytes(mask_row * size)


def main():
    images = [image(s) for s in SIZES]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in zip(SIZES, images):
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    out += b"".join(images)
    with open(sys.argv[1], "wb") as f:
        f.write(out)


if __name__ == "__main__":
    main()
