#!/usr/bin/env python3
"""Builds the component's pictures from their pixel descriptions in this folder.

  items.txt    the nine item images  -> items.bmp  (bitmap 201, 151 x 16, 4 bits per pixel)
  states       the thirteen state pictures, drawn here from their description below
               -> states.bmp (bitmap 202, 215 x 16, 4 bits per pixel)
  cursors.txt  the three drag cursors -> <id>.cur (32 x 32 monochrome)

usage: make_pictures.py OUTPUT_DIR
"""
import os
import struct
import sys

HERE = os.path.dirname(os.path.abspath(__file__))

# The 16-colour palette (index order) and the letter for each colour.
PALETTE = [
    ('k', 0x000000), ('m', 0x800000), ('g', 0x008000), ('o', 0x808000),
    ('n', 0x000080), ('p', 0x800080), ('t', 0x008080), ('s', 0xC0C0C0),
    ('d', 0x808080), ('r', 0xFF0000), ('l', 0x00FF00), ('y', 0xFFFF00),
    ('b', 0x0000FF), ('f', 0xFF00FF), ('c', 0x00FFFF), ('w', 0xFFFFFF),
]
INDEX = {letter: i for i, (letter, _) in enumerate(PALETTE)}


def parse_blocks(path):
    """Yields (header words, rows) for every '= ...' block of a description file."""
    header, rows = None, []
    with open(path) as f:
        for line in f:
            line = line.rstrip('\n')
            if line.startswith('#'):
                continue
            if line.startswith('='):
                if header is not None:
                    yield header, rows
                header, rows = line[1:].split(), []
            elif header is not None and line.strip():
                rows.append(line)
    if header is not None:
        yield header, rows


def strip_bmp(images, width, mask_letter):
    """A 4-bit bottom-up BMP of 16-pixel-wide images side by side; columns past them are mask."""
    height = 16
    pixels = [[INDEX[mask_letter]] * width for _ in range(height)]
    for n, rows in enumerate(images):
        for y in range(height):
            row = rows[y] if y < len(rows) else ''
            for x in range(16):
                letter = row[x] if x < len(row) else '.'
                pixels[y][n * 16 + x] = INDEX[mask_letter if letter == '.' else letter]
    stride = ((width * 4 + 31) // 32) * 4
    data = bytearray()
    for y in reversed(range(height)):
        line = bytearray(stride)
        for x in range(width):
            value = pixels[y][x]
            if x % 2 == 0:
                line[x // 2] |= value << 4
            else:
                line[x // 2] |= value
        data += line
    palette = b''.join(struct.pack('<BBBB', c & 0xFF, (c >> 8) & 0xFF, c >> 16, 0) for _, c in PALETTE)
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 4, 0, len(data), 2835, 2835, 16, 16)
    offset = 14 + len(info) + len(palette)
    header = struct.pack('<2sIHHI', b'BM', offset + len(data), 0, 0, offset)
    return header + info + palette + data


# State pictures: a circle whose fill tells visibility and whose ring tells the load status.
# (fill, ring, extra): fill 'w' hidden, 'k' shown, 'half' partly shown; ring 'k' loaded,
# 'r' not or partly loaded; extra 'cross' draws a red cross over the circle.
STATES = [
    None,                      # 0 no state picture
    ('k', 'k', None),          # 1 on (shown)
    ('w', 'k', None),          # 2 off (hidden)
    ('w', 'k', 'cross'),       # 3 failed
    ('w', 'r', None),          # 4 not loaded
    ('w', 'r', None),          # 5 nothing loaded
    ('k', 'k', None),          # 6 all loaded, all shown
    ('w', 'k', None),          # 7 all loaded, none shown
    ('half', 'r', None),       # 8 partly loaded, shown
    ('w', 'r', None),          # 9 partly loaded, none shown
    ('half', 'k', None),       # 10 all loaded, partly shown
    ('half', 'r', None),       # 11 partly loaded, partly shown
    ('g', 'g', None),          # 12 green
]


def state_picture(picture):
    rows = [['.'] * 16 for _ in range(16)]
    if picture is None:
        return [''.join(r) for r in rows]
    fill, ring, extra = picture
    cx, cy = 7.5, 7.5
    for y in range(16):
        for x in range(16):
            d2 = (x - cx) ** 2 + (y - cy) ** 2
            if d2 <= 6.5 ** 2:
                if d2 >= 5.0 ** 2:
                    rows[y][x] = ring
                elif fill == 'half':
                    rows[y][x] = 'k' if x < 8 else 'w'
                else:
                    rows[y][x] = fill
    if extra == 'cross':
        for i in range(4, 12):
            rows[i][i] = 'r'
            rows[i][15 - i] = 'r'
    return [''.join(r) for r in rows]


def cursor_file(rows, hot_x, hot_y):
    """A .cur file: one 32 x 32 monochrome image with its hot spot."""
    xor_rows, and_rows = [], []
    for y in range(32):
        row = rows[y] if y < len(rows) else ''
        xor_bits = and_bits = 0
        for x in range(32):
            letter = row[x] if x < len(row) else '.'
            bit = 1 << (31 - x)
            if letter == '.':
                and_bits |= bit
            elif letter == 'w':
                xor_bits |= bit
        xor_rows.append(struct.pack('>I', xor_bits))
        and_rows.append(struct.pack('>I', and_bits))
    # Bottom-up rows: the colour (XOR) mask first, then the transparency (AND) mask.
    image = struct.pack('<IiiHHIIiiII', 40, 32, 64, 1, 1, 0, 256, 0, 0, 2, 0)
    image += struct.pack('<BBBBBBBB', 0, 0, 0, 0, 255, 255, 255, 0)
    image += b''.join(reversed(xor_rows)) + b''.join(reversed(and_rows))
    directory = struct.pack('<HHH', 0, 2, 1)
    entry = struct.pack('<BBBBHHII', 32, 32, 0, 0, hot_x, hot_y, len(image), 6 + 16)
    return directory + entry + image


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    items = [rows for _, rows in parse_blocks(os.path.join(HERE, 'items.txt'))]
    assert len(items) == 9, 'nine item images'
    with open(os.path.join(out, 'items.bmp'), 'wb') as f:
        f.write(strip_bmp(items, 151, 'w'))
    states = [state_picture(s) for s in STATES]
    with open(os.path.join(out, 'states.bmp'), 'wb') as f:
        f.write(strip_bmp(states, 215, 's'))
    for header, rows in parse_blocks(os.path.join(HERE, 'cursors.txt')):
        ident, _name, hot_x, hot_y = header
        with open(os.path.join(out, ident + '.cur'), 'wb') as f:
            f.write(cursor_file(rows, int(hot_x), int(hot_y)))


if __name__ == '__main__':
    main()
