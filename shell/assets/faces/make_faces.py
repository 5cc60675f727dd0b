#!/usr/bin/env python3
"""Draws the six faces of the shell's push button as 64 x 25 24-bit BMP files.

Only the outer four pixels of a face are ever shown (the painter cuts them into four corners
and four stretched edges and fills the inside with its own gradient), so the drawing here is
a one-pixel light ring, a one-pixel outline with cut corners and a rim just inside it.

Usage: make_faces.py [OUTPUT_FOLDER]   (default: the folder of this script)
"""
import os
import struct
import sys

WIDTH, HEIGHT = 64, 25

OUTLINE = 0x003C74
OUTSIDE = 0xECE9D8           # the dialog face colour around a sunken or greyed button
CORNER_GAP = 0xE6E1D0        # the light pixel left where the outline turns a corner
CORNER_NEAR = 0x7A95A8       # blend pixels of the cut corner, nearest the corner...
CORNER_FAR = 0x255783        # ...and one further along the outline


def mix(a, b, t):
    """Colour between a and b, t in 0..1, each channel rounded."""
    out = 0
    for shift in (16, 8, 0):
        ca, cb = (a >> shift) & 0xFF, (b >> shift) & 0xFF
        out |= int(round(ca + (cb - ca) * t)) << shift
    return out


def ramp(stops):
    """A colour along a line of pixels, linear between (position, colour) stops."""
    def colour(p):
        if p <= stops[0][0]:
            return stops[0][1]
        for (p0, c0), (p1, c1) in zip(stops, stops[1:]):
            if p <= p1:
                return mix(c0, c1, (p - p0) / (p1 - p0))
        return stops[-1][1]
    return colour


def flat(c):
    return lambda _p: c


class Face:
    def __init__(self, fill):
        self.px = [[fill] * WIDTH for _ in range(HEIGHT)]

    def set(self, x, y, c):
        self.px[y][x] = c

    def row(self, y, x0, x1, colour):
        for x in range(x0, x1 + 1):
            self.px[y][x] = colour(x)

    def col(self, x, y0, y1, colour):
        for y in range(y0, y1 + 1):
            self.px[y][x] = colour(y)

    def bmp(self):
        header = struct.pack('<2sIHHI', b'BM', 54 + WIDTH * HEIGHT * 3, 0, 0, 54)
        info = struct.pack('<IiiHHIIiiII', 40, WIDTH, HEIGHT, 1, 24, 0, WIDTH * HEIGHT * 3,
                           3780, 3780, 0, 0)
        rows = bytearray()
        for y in reversed(range(HEIGHT)):
            for c in self.px[y]:
                rows += bytes((c & 0xFF, (c >> 8) & 0xFF, c >> 16))
        return header + info + bytes(rows)


def ring(face, d, top, bottom, left, right):
    """The light one-pixel ring outside the outline, d pixels in from the image's edge."""
    face.row(d, d, WIDTH - 1 - d, top)
    face.row(HEIGHT - 1 - d, d, WIDTH - 1 - d, bottom)
    face.col(d, d + 1, HEIGHT - 2 - d, left)
    face.col(WIDTH - 1 - d, d + 1, HEIGHT - 2 - d, right)


def outline(face, d, colour, gap, near, far):
    """The outline d + 1 pixels in, its four corners cut by two blend pixels each."""
    x0, y0, x1, y1 = d + 1, d + 1, WIDTH - 2 - d, HEIGHT - 2 - d
    face.row(y0, x0, x1, flat(colour))
    face.row(y1, x0, x1, flat(colour))
    face.col(x0, y0, y1, flat(colour))
    face.col(x1, y0, y1, flat(colour))
    for cx, cy, sx, sy in ((x0, y0, 1, 1), (x1, y0, -1, 1), (x0, y1, 1, -1), (x1, y1, -1, -1)):
        face.set(cx, cy, gap)
        face.set(cx + sx, cy, near)
        face.set(cx, cy + sy, near)
        face.set(cx + 2 * sx, cy, far)
        face.set(cx, cy + 2 * sy, far)


# The usual ring: mostly E0DCC9 along the top and F8F7F0 along the bottom, a little darker
# and lighter across the middle third.
def middle_band(edge, middle):
    return lambda x: middle if 24 <= x <= 40 else edge


RING = dict(top=middle_band(0xE0DCC9, 0xDCD6C2), bottom=middle_band(0xF8F7F0, 0xFAFAF6),
            left=flat(0xE2DECB), right=flat(0xF0EEE0))


def raised(fill, top2, top3, bottom22, bottom21, left2, left3, right61, right60):
    """A face with its outline one pixel in and a two-pixel rim; rims given outside in."""
    face = Face(fill)
    face.col(2, 2, 22, left2)
    face.col(3, 2, 22, left3)
    face.col(61, 2, 22, right61)
    face.col(60, 2, 22, right60)
    face.row(2, 2, 61, top2)
    face.row(3, 2, 61, top3)
    face.row(22, 2, 61, bottom22)
    face.row(21, 2, 61, bottom21)
    ring(face, 0, **RING)
    outline(face, 0, OUTLINE, CORNER_GAP, CORNER_NEAR, CORNER_FAR)
    return face


def normal():
    light_side = ramp([(2, 0xFEFEFE), (12, 0xF4F4F0), (20, 0xECEAE3)])
    return raised(0xF8F8F4, flat(0xF3F3EE), flat(0xF3F3EE), flat(0xD6D0C5), flat(0xE2DFD6),
                  light_side, light_side,
                  ramp([(2, 0xF1F0EA), (12, 0xE8E5DF), (20, 0xE0DDD5)]),
                  ramp([(2, 0xF6F5F1), (12, 0xEEEDE7), (20, 0xE9E6E0)]))


def highlight():
    outer = ramp([(2, 0xFCCE71), (12, 0xFCCA69), (22, 0xF9B435)])
    inner = ramp([(2, 0xFCCE71), (12, 0xFBCA6A), (22, 0xF9B435)])
    return raised(0xF7F4EA, flat(0xFFF0CF), flat(0xFDD889), flat(0xE59700), flat(0xF8B330),
                  outer, inner, outer, inner)


def selected():
    outer = ramp([(2, 0xB7D0F4), (12, 0xA9C5EF), (22, 0x8BADE4)])
    return raised(0xF3F6FB, flat(0xCEE7FF), flat(0xCEE7FF), flat(0x6982EE), flat(0x6982EE),
                  outer, ramp([(2, 0xB7D0F4), (12, 0xA8C6F0), (22, 0x8BADE4)]),
                  outer, outer)


def pressed():
    """Sunken: everything one pixel further in, the dialog colour around it."""
    face = Face(0xEAE8E0)
    face.col(3, 3, 21, ramp([(3, 0xD0CBBF), (12, 0xD7D4CB), (21, 0xF2F1EE)]))
    face.col(60, 3, 21, ramp([(3, 0xD6D0C6), (12, 0xE4E3DC), (21, 0xF2F1EE)]))
    face.row(3, 3, 60, ramp([(3, 0xD0CBBF), (32, 0xD1CCC1), (60, 0xD6D0C6)]))
    face.row(4, 4, 59, flat(0xE2E1D9))
    face.row(21, 3, 60, flat(0xF2F1EE))
    face.row(0, 0, WIDTH - 1, flat(OUTSIDE))
    face.row(HEIGHT - 1, 0, WIDTH - 1, flat(OUTSIDE))
    face.col(0, 0, HEIGHT - 1, flat(OUTSIDE))
    face.col(WIDTH - 1, 0, HEIGHT - 1, flat(OUTSIDE))
    ring(face, 1, **RING)
    outline(face, 1, OUTLINE, CORNER_GAP, CORNER_NEAR, CORNER_FAR)
    return face


def disable():
    """Flat and grey: no rim shading, the corners cut in greys."""
    face = Face(0xF5F4EA)
    ring(face, 0, flat(OUTSIDE), flat(OUTSIDE), flat(OUTSIDE), flat(OUTSIDE))
    outline(face, 0, 0xC9C7BA, OUTSIDE, 0xD8D6CA, 0xCFCDC1)
    return face


FACES = {
    'normal.bmp': normal,
    'highlight.bmp': highlight,
    'highlight_select.bmp': highlight,  # the same picture as the hover face, by design
    'selected.bmp': selected,
    'pressed.bmp': pressed,
    'disable.bmp': disable,
}


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    for name, draw in FACES.items():
        with open(os.path.join(folder, name), 'wb') as out:
            out.write(draw().bmp())


if __name__ == '__main__':
    main()
