#!/usr/bin/env python3
"""Builds the component's pictures from their pixel descriptions in this folder.

  items.txt    the nine item images  -> items.bmp  (bitmap 201, 151 x 16, 4 bits per pixel)
  states       the thirteen state pictures, drawn here from their description below
               -> states.bmp (bitmap 202, 215 x 16, 4 bits per pixel)
  cursors.txt  the three drag cursors -> <id>.cur (32 x 32 monochrome, and 48 and 64)

Each strip is also drawn at the larger sizes of SIZES (items_<size>.bmp, states_<size>.bmp,
<size> pixels square a picture, in the same order): the state pictures from their geometry at
that size, the item images and cursors from their pixel descriptions, each source pixel
covering the pixels of the larger grid whose centres fall in it. The 16-pixel strips and the
32-pixel cursors are exactly the described pixels.

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


SIZES = [16, 20, 24, 32, 48]
CURSOR_SIZES = [32, 48, 64]


def source_index(x, size, source_size):
    """The source pixel whose cell holds the centre of pixel x of a size-pixel grid."""
    return int((x + 0.5) * source_size / size)


def enlarged(rows, size, source_size):
    """A picture of source_size described rows, drawn on a size x size grid."""
    out = []
    for y in range(size):
        row = rows[source_index(y, size, source_size)] if source_index(y, size, source_size) < len(rows) else ''
        out.append(''.join(row[i] if i < len(row) else '.'
                           for i in (source_index(x, size, source_size) for x in range(size))))
    return out


def strip_bmp(images, width, mask_letter, size=16):
    """A 4-bit bottom-up BMP of size-pixel images side by side; columns past them are mask."""
    height = size
    pixels = [[INDEX[mask_letter]] * width for _ in range(height)]
    for n, rows in enumerate(images):
        for y in range(height):
            row = rows[y] if y < len(rows) else ''
            for x in range(size):
                letter = row[x] if x < len(row) else '.'
                pixels[y][n * size + x] = INDEX[mask_letter if letter == '.' else letter]
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


def state_picture(picture, size=16):
    """A state picture drawn on a size x size grid; its geometry is given on the 16-pixel grid,
    where a pixel's centre is at its index."""
    rows = [['.'] * size for _ in range(size)]
    if picture is None:
        return [''.join(r) for r in rows]
    fill, ring, extra = picture
    scale = size / 16
    cx, cy = 7.5, 7.5
    for y in range(size):
        for x in range(size):
            sx, sy = (x + 0.5) / scale - 0.5, (y + 0.5) / scale - 0.5
            d2 = (sx - cx) ** 2 + (sy - cy) ** 2
            if d2 <= 6.5 ** 2:
                if d2 >= 5.0 ** 2:
                    rows[y][x] = ring
                elif fill == 'half':
                    rows[y][x] = 'k' if sx < 7.5 else 'w'
                else:
                    rows[y][x] = fill
            # The cross: the two diagonals from 4 to 11, about a source pixel thick.
            on_cross = 3.5 <= sx < 11.5 and (abs(sx - sy) * scale < (scale + 1) / 2
                                              or abs(sx + sy - 15) * scale < (scale + 1) / 2)
            if extra == 'cross' and on_cross:
                rows[y][x] = 'r'
    return [''.join(r) for r in rows]


def cursor_image(rows, size):
    """One size x size monochrome cursor image (DIB header, palette, both masks)."""
    stride = ((size + 31) // 32) * 4
    xor_rows, and_rows = [], []
    for y in range(size):
        row = rows[y] if y < len(rows) else ''
        xor_bits = and_bits = 0
        for x in range(size):
            letter = row[x] if x < len(row) else '.'
            bit = 1 << (stride * 8 - 1 - x)
            if letter == '.':
                and_bits |= bit
            elif letter == 'w':
                xor_bits |= bit
        xor_rows.append(xor_bits.to_bytes(stride, 'big'))
        and_rows.append(and_bits.to_bytes(stride, 'big'))
    # Bottom-up rows: the colour (XOR) mask first, then the transparency (AND) mask.
    image = struct.pack('<IiiHHIIiiII', 40, size, 2 * size, 1, 1, 0, 2 * stride * size, 0, 0, 2, 0)
    image += struct.pack('<BBBBBBBB', 0, 0, 0, 0, 255, 255, 255, 0)
    return image + b''.join(reversed(xor_rows)) + b''.join(reversed(and_rows))


def cursor_file(rows, hot_x, hot_y):
    """A .cur file: the 32 x 32 monochrome image as described and its larger sizes, each with
    its hot spot."""
    images = [cursor_image(rows if size == 32 else enlarged(rows, size, 32), size) for size in CURSOR_SIZES]
    directory = struct.pack('<HHH', 0, 2, len(images))
    offset = 6 + 16 * len(images)
    for size, image in zip(CURSOR_SIZES, images):
        hot = (hot_x * size // 32, hot_y * size // 32)
        directory += struct.pack('<BBBBHHII', size, size, 0, 0, hot[0], hot[1], len(image), offset)
        offset += len(image)
    return directory + b''.join(images)


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    items = [rows for _, rows in parse_blocks(os.path.join(HERE, 'items.txt'))]
    assert len(items) == 9, 'nine item images'
    with open(os.path.join(out, 'items.bmp'), 'wb') as f:
        f.write(strip_bmp(items, 151, 'w'))
    with open(os.path.join(out, 'states.bmp'), 'wb') as f:
        f.write(strip_bmp([state_picture(s) for s in STATES], 215, 's'))
    for size in SIZES[1:]:
        with open(os.path.join(out, 'items_%d.bmp' % size), 'wb') as f:
            f.write(strip_bmp([enlarged(rows, size, 16) for rows in items], len(items) * size, 'w', size))
        with open(os.path.join(out, 'states_%d.bmp' % size), 'wb') as f:
            f.write(strip_bmp([state_picture(s, size) for s in STATES], len(STATES) * size, 's', size))
    for header, rows in parse_blocks(os.path.join(HERE, 'cursors.txt')):
        ident, _name, hot_x, hot_y = header
        with open(os.path.join(out, ident + '.cur'), 'wb') as f:
            f.write(cursor_file(rows, int(hot_x), int(hot_y)))


if __name__ == '__main__':
    main()
