#!/usr/bin/env python3
"""Draws the picture the preview still is made from: a banded planet, lit from the upper
left and circled by a thin ring, before a field of stars. Writes a 24-bit BMP."""
import math
import random
import struct
import sys

SIZE = 512


def planet_picture():
    rng = random.Random(7)
    pixels = [[(2, 3, 12)] * SIZE for _ in range(SIZE)]
    for _ in range(700):  # stars, a few bright and bluish
        x, y = rng.randrange(SIZE), rng.randrange(SIZE)
        v = rng.randrange(120, 256)
        pixels[y][x] = (v, v, min(255, v + 30))
    cx, cy, r = 256.0, 250.0, 150.0
    light = (-0.55, -0.6, 0.58)
    ring_tilt = 0.22
    for y in range(SIZE):
        for x in range(SIZE):
            dx, dy = (x - cx) / r, (y - cy) / r
            d2 = dx * dx + dy * dy
            # The ring: an ellipse band around the planet, hidden behind it at the top.
            rx, ry = dx, dy / ring_tilt
            rd = math.sqrt(rx * rx + ry * ry)
            on_ring = 1.35 < rd < 1.6 and not (d2 < 1.0 and dy < 0)
            if d2 < 1.0:
                dz = math.sqrt(1.0 - d2)
                lit = max(0.08, dx * light[0] + dy * light[1] + dz * light[2])
                band = 0.5 + 0.5 * math.sin(dy * 11.0 + math.sin(dx * 3.0) * 0.8)
                base = (200 + 40 * band, 120 + 60 * band, 60 + 30 * band)
                pixels[y][x] = tuple(min(255, int(c * lit * 1.3)) for c in base)
            if on_ring:
                shade = 0.6 + 0.4 * math.cos((rd - 1.47) * 12)
                pixels[y][x] = (int(200 * shade), int(190 * shade), int(170 * shade))
    return pixels


def write_bmp(path, pixels):
    height, width = len(pixels), len(pixels[0])
    stride = (width * 3 + 3) & ~3
    data = bytearray()
    for row in reversed(pixels):  # bottom row first
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        data += line + bytes(stride - len(line))
    header = struct.pack('<2sIHHI', b'BM', 54 + len(data), 0, 0, 54)
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(path, 'wb') as out:
        out.write(header + info + data)


if __name__ == '__main__':
    write_bmp(sys.argv[1], planet_picture())
