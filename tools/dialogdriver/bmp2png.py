#!/usr/bin/env python3
"""Converts the 24-bit .bmp that dialog-driver writes into a .png.

bmp2png.py IN.bmp OUT.png
"""
import struct
import sys
import zlib


def main():
    if len(sys.argv) != 3:
        sys.exit("usage: bmp2png.py IN.bmp OUT.png")
    data = open(sys.argv[1], 'rb').read()
    offset = struct.unpack_from('<I', data, 10)[0]
    width, height = struct.unpack_from('<ii', data, 18)
    if struct.unpack_from('<H', data, 28)[0] != 24:
        sys.exit("bmp2png: not a 24-bit bitmap")
    stride = (width * 3 + 3) & ~3
    rows = []
    for y in range(abs(height)):
        source = height - 1 - y if height > 0 else y  # bottom row first unless the height is negative
        row = data[offset + source * stride:offset + source * stride + width * 3]
        rgb = bytearray(len(row))
        rgb[0::3], rgb[1::3], rgb[2::3] = row[2::3], row[1::3], row[0::3]
        rows.append(b'\0' + bytes(rgb))

    def chunk(kind, body):
        return struct.pack('>I', len(body)) + kind + body + struct.pack('>I', zlib.crc32(kind + body) & 0xFFFFFFFF)

    with open(sys.argv[2], 'wb') as out:
        out.write(b'\x89PNG\r\n\x1a\n')
        out.write(chunk(b'IHDR', struct.pack('>IIBBBBB', width, abs(height), 8, 2, 0, 0, 0)))
        out.write(chunk(b'IDAT', zlib.compress(b''.join(rows), 9)))
        out.write(chunk(b'IEND', b''))


main()
