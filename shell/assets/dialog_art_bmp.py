#!/usr/bin/env python3
# Rewrites one of the dialog's PNG pictures as a 32-bit top-down BMP, alpha kept, for the
# Windows build: GDI has no PNG reader, and the pictures stay drawn once, as PNG.
#   dialog_art_bmp.py IN.png OUT.bmp
import struct
import sys
import zlib


def read_png(path):
    data = open(path, 'rb').read()
    if data[:8] != b'\x89PNG\r\n\x1a\n':
        raise SystemExit(f'{path}: not a PNG')
    at, idat = 8, b''
    while at < len(data):
        length, kind = struct.unpack('>I4s', data[at:at + 8])
        body = data[at + 8:at + 8 + length]
        if kind == b'IHDR':
            width, height, depth, colour, _, _, interlace = struct.unpack('>IIBBBBB', body)
            if depth != 8 or colour not in (2, 6) or interlace:
                raise SystemExit(f'{path}: only 8-bit RGB or RGBA without interlace')
        elif kind == b'IDAT':
            idat += body
        at += 12 + length
    channels = 3 if colour == 2 else 4
    raw = zlib.decompress(idat)
    stride = width * channels
    rows, previous = [], bytearray(stride)
    for y in range(height):
        start = y * (stride + 1)
        kind, row = raw[start], bytearray(raw[start + 1:start + 1 + stride])
        for i in range(stride):
            left = row[i - channels] if i >= channels else 0
            up = previous[i]
            corner = previous[i - channels] if i >= channels else 0
            if kind == 1:
                row[i] = (row[i] + left) & 255
            elif kind == 2:
                row[i] = (row[i] + up) & 255
            elif kind == 3:
                row[i] = (row[i] + (left + up) // 2) & 255
            elif kind == 4:
                p = left + up - corner
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - corner)
                pred = left if pa <= pb and pa <= pc else up if pb <= pc else corner
                row[i] = (row[i] + pred) & 255
        rows.append(bytes(row))
        previous = row
    return width, height, channels, rows


def write_bmp(path, width, height, channels, rows):
    pixels = bytearray()
    for row in rows:
        for x in range(width):
            r, g, b = row[x * channels:x * channels + 3]
            a = row[x * channels + 3] if channels == 4 else 255
            pixels += bytes((b, g, r, a))
    header = struct.pack('<2sIHHI', b'BM', 54 + len(pixels), 0, 0, 54)
    info = struct.pack('<IiiHHIIiiII', 40, width, -height, 1, 32, 0, len(pixels), 3780, 3780, 0, 0)
    open(path, 'wb').write(header + info + pixels)


if __name__ == '__main__':
    write_bmp(sys.argv[2], *read_png(sys.argv[1]))
