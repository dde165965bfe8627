#!/usr/bin/env python3
"""Writes the bitmaps and icons drawn in Pictures.txt as 16-colour .bmp and .ico files.

make_pictures.py PICTURES.TXT OUTPUT-FOLDER
"""
import struct
import sys

# The 16 standard colours, in the order of the system palette.
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
# Light grey is the button face: the program loads the bitmaps with their grey mapped to
# the system's button colour.
COLOURS = {'#': 0, 'm': 1, 'G': 2, 'o': 3, 'n': 4, 'c': 6, ' ': 7, 's': 7, 'g': 8,
           'r': 9, 'y': 11, 'b': 12, '.': 15}


def fail(message):
    sys.exit("make_pictures: " + message)


def rotate(rows):
    """A quarter turn clockwise."""
    height, width = len(rows), len(rows[0])
    return [''.join(rows[height - 1 - y][x] for y in range(height)) for x in range(width)]


def flip(rows):
    return [row[::-1] for row in rows]


def scale(rows, n):
    return [''.join(c * n for c in row) for row in rows for _ in range(n)]


def dib(rows, with_mask):
    """A BITMAPINFOHEADER, the palette and 4-bit pixels bottom row first; for an icon also
    the height doubled and the 1-bit AND mask (set where transparent)."""
    height, width = len(rows), len(rows[0])
    stride = (width + 7) // 8 * 4
    pixels = b''
    for row in reversed(rows):
        line = bytearray(stride)
        for x, c in enumerate(row):
            index = 0 if with_mask and c == ' ' else COLOURS[c]
            line[x // 2] |= index << (4 if x % 2 == 0 else 0)
        pixels += bytes(line)
    mask = b''
    if with_mask:
        mask_stride = (width + 31) // 32 * 4
        for row in reversed(rows):
            line = bytearray(mask_stride)
            for x, c in enumerate(row):
                if c == ' ':
                    line[x // 8] |= 0x80 >> (x % 8)
            mask += bytes(line)
    header = struct.pack('<IiiHHIIiiII', 40, width, height * (2 if with_mask else 1), 1, 4, 0,
                         len(pixels) + len(mask), 0, 0, 16, 0)
    palette = b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in PALETTE)
    return header + palette + pixels + mask


def bmp(rows):
    body = dib(rows, False)
    return struct.pack('<2sIHHI', b'BM', 14 + len(body), 0, 0, 14 + 40 + 64) + body


def ico(images):
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    bodies = [dib(rows, True) for rows in images]
    for rows, body in zip(images, bodies):
        width, height = len(rows[0]), len(rows)
        out += struct.pack('<BBBBHHII', width % 256, height % 256, 16, 0, 1, 4, len(body), offset)
        offset += len(body)
    return out + b''.join(bodies)


def read(path):
    """Pictures by id: (kind, file name, list of images, each a list of rows)."""
    pictures = {}
    current = None
    for number, line in enumerate(open(path, encoding='ascii').read().split('\n'), 1):
        where = "%s:%d: " % (path, number)
        if current is not None:
            if line == 'end':
                rows = current[3]
                if not rows or any(len(r) != len(rows[0]) for r in rows):
                    fail(where + "rows of picture %s differ in length" % current[0])
                if any(c not in COLOURS for r in rows for c in r):
                    fail(where + "unknown colour in picture %s" % current[0])
                pictures[current[0]] = [current[1], current[2], [rows]]
                current = None
            else:
                current[3].append(line)
            continue
        words = line.split()
        if not words or words[0].startswith('#'):
            continue
        if words[0] in ('bitmap', 'icon') and len(words) == 3:
            current = (words[1], words[0], words[2], [])
        elif words[0] == 'derive' and len(words) == 6 and words[3] == 'from':
            kind, _, images = pictures[words[4]]
            turn = rotate if words[5] == 'rotate' else flip if words[5] == 'flip' else None
            if not turn:
                fail(where + "unknown derivation " + words[5])
            pictures[words[1]] = [kind, words[2], [turn(rows) for rows in images]]
        elif words[0] == 'scale' and len(words) == 2 and pictures:
            last = pictures[list(pictures)[-1]]
            last[2].append(scale(last[2][0], int(words[1])))
        else:
            fail(where + "cannot read: " + line)
    if current is not None:
        fail(path + ": picture %s has no end" % current[0])
    return pictures


def main():
    if len(sys.argv) != 3:
        fail("usage: make_pictures.py PICTURES.TXT OUTPUT-FOLDER")
    for kind, name, images in read(sys.argv[1]).values():
        data = bmp(images[0]) if kind == 'bitmap' else ico(images)
        with open(sys.argv[2] + '/' + name, 'wb') as f:
            f.write(data)


main()
