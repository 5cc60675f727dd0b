#!/usr/bin/env python3
"""Draws the application icon: a maze room seen from inside, in perspective, with a doorway
in its far wall, in grey-lavender tones. Writes icons/quorlane-<N>.png for each size.

Plain Python 3 (zlib and struct only), so anyone can redraw it: python3 make_icons.py
Every size is drawn from the same shapes, 4x4 samples a pixel, so edges stay smooth; the
output is byte-for-byte the same on every run. Also packs them into icons/quorlane.ico.
"""
import os
import struct
import sys
import zlib

SIZES = (32, 48, 64, 128, 256)
SAMPLES = 4  # per axis, per pixel


def hex_rgb(text):
    return tuple(int(text[i:i + 2], 16) for i in (1, 3, 5))


def mix(a, b, t):
    t = min(max(t, 0.0), 1.0)
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


# The room, in unit coordinates (0,0 top left, 1,1 bottom right).
NEAR = (0.13, 0.13, 0.87, 0.87)          # the near edges of the four walls
FAR = (0.33, 0.29, 0.63, 0.59)           # the far wall: the vanishing point sits a little
                                         # up and left, so the room does not look flat
DOOR = (0.425, 0.40, 0.535, 0.59)        # the doorway into the next room
PLATE_RADIUS = 0.16


def inside_rounded_square(x, y, lo, hi, r):
    if x < lo or x > hi or y < lo or y > hi:
        return False
    cx = min(max(x, lo + r), hi - r)
    cy = min(max(y, lo + r), hi - r)
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def inside_convex(x, y, points):
    """True when (x, y) is inside the clockwise convex polygon (screen coordinates)."""
    n = len(points)
    for i in range(n):
        ax, ay = points[i]
        bx, by = points[(i + 1) % n]
        if (bx - ax) * (y - ay) - (by - ay) * (x - ax) < 0:
            return False
    return True


def depth(x, y):
    """0 at the near edges of the walls, 1 at the far wall."""
    nx0, ny0, nx1, ny1 = NEAR
    fx0, fy0, fx1, fy1 = FAR
    ts = []
    if x < fx0:
        ts.append((x - nx0) / (fx0 - nx0))
    if x > fx1:
        ts.append((nx1 - x) / (nx1 - fx1))
    if y < fy0:
        ts.append((y - ny0) / (fy0 - ny0))
    if y > fy1:
        ts.append((ny1 - y) / (ny1 - fy1))
    return min(ts) if ts else 1.0


nx0, ny0, nx1, ny1 = NEAR
fx0, fy0, fx1, fy1 = FAR
WALLS = [
    # (polygon, colour at the near edge, colour at the far edge); light falls from above left
    ([(nx0, ny0), (nx1, ny0), (fx1, fy0), (fx0, fy0)], hex_rgb("#c9c3df"), hex_rgb("#a59dc2")),
    ([(nx1, ny0), (nx1, ny1), (fx1, fy1), (fx1, fy0)], hex_rgb("#8d85ae"), hex_rgb("#7d759f")),
    ([(nx1, ny1), (nx0, ny1), (fx0, fy1), (fx1, fy1)], hex_rgb("#6b6489"), hex_rgb("#8b84a8")),
    ([(nx0, ny1), (nx0, ny0), (fx0, fy0), (fx0, fy1)], hex_rgb("#b1aacb"), hex_rgb("#958db6")),
]
FAR_WALL = hex_rgb("#ddd8ee")
DOOR_DARK = hex_rgb("#2c2740")
DOOR_LIGHT = hex_rgb("#57507a")
PLATE = hex_rgb("#3a3452")
PLATE_EDGE = hex_rgb("#5d5680")
EDGE = hex_rgb("#f1eef9")
EDGE_WIDTH = 0.011


def near_segment(x, y, a, b, width):
    ax, ay = a
    bx, by = b
    dx, dy = bx - ax, by - ay
    t = ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)
    t = min(max(t, 0.0), 1.0)
    px, py = ax + t * dx, ay + t * dy
    return (x - px) ** 2 + (y - py) ** 2 <= width * width


EDGES = [((nx0, ny0), (fx0, fy0)), ((nx1, ny0), (fx1, fy0)),
         ((nx1, ny1), (fx1, fy1)), ((nx0, ny1), (fx0, fy1)),
         ((fx0, fy0), (fx1, fy0)), ((fx1, fy0), (fx1, fy1)),
         ((fx1, fy1), (fx0, fy1)), ((fx0, fy1), (fx0, fy0))]


def sample(x, y):
    """The colour at one point, or None where the icon is transparent."""
    if not inside_rounded_square(x, y, 0.03, 0.97, PLATE_RADIUS):
        return None
    if not (nx0 <= x <= nx1 and ny0 <= y <= ny1):
        # The frame around the room: a little lighter toward its outer rim.
        rim = min(x - 0.03, 0.97 - x, y - 0.03, 0.97 - y)
        return mix(PLATE_EDGE, PLATE, rim / 0.05)
    for a, b in EDGES:
        if near_segment(x, y, a, b, EDGE_WIDTH):
            return EDGE
    if fx0 <= x <= fx1 and fy0 <= y <= fy1:
        if DOOR[0] <= x <= DOOR[2] and DOOR[1] <= y <= DOOR[3]:
            # A glimpse of the next room's light at the doorway's foot.
            return mix(DOOR_DARK, DOOR_LIGHT, (y - DOOR[1]) / (DOOR[3] - DOOR[1]))
        return FAR_WALL
    for polygon, near, far in WALLS:
        if inside_convex(x, y, polygon):
            return mix(near, far, depth(x, y))
    return FAR_WALL


def render(size):
    rows = []
    step = 1.0 / (size * SAMPLES)
    for py in range(size):
        row = bytearray([0])  # PNG filter: none
        for px in range(size):
            r = g = b = 0.0
            covered = 0
            for sy in range(SAMPLES):
                y = (py * SAMPLES + sy + 0.5) * step
                for sx in range(SAMPLES):
                    x = (px * SAMPLES + sx + 0.5) * step
                    colour = sample(x, y)
                    if colour is not None:
                        r += colour[0]
                        g += colour[1]
                        b += colour[2]
                        covered += 1
            if covered:
                row += bytes((round(r / covered), round(g / covered), round(b / covered),
                              round(255 * covered / (SAMPLES * SAMPLES))))
            else:
                row += bytes(4)
        rows.append(bytes(row))
    return b"".join(rows)


def png(size, pixels):
    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data +
                struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))
    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)  # 8-bit RGBA
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(pixels, 9)) + chunk(b"IEND", b""))


def ico(images):
    """The Windows icon file: every size, each stored as its PNG (Windows Vista and later)."""
    header = struct.pack("<HHH", 0, 1, len(images))
    offset = len(header) + 16 * len(images)
    entries, data = b"", b""
    for size, image in images:
        side = size if size < 256 else 0  # 0 stands for 256
        entries += struct.pack("<BBBBHHII", side, side, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
        data += image
    return header + entries + data


def main():
    out = os.path.join(os.path.dirname(os.path.abspath(__file__)), "icons")
    os.makedirs(out, exist_ok=True)
    images = []
    for size in SIZES:
        path = os.path.join(out, "quorlane-%d.png" % size)
        images.append((size, png(size, render(size))))
        with open(path, "wb") as f:
            f.write(images[-1][1])
        print(path, file=sys.stderr)
    path = os.path.join(out, "quorlane.ico")  # the Windows programs' icon
    with open(path, "wb") as f:
        f.write(ico(images))
    print(path, file=sys.stderr)


if __name__ == "__main__":
    main()
