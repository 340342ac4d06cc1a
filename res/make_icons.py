#!/usr/bin/env python3
"""Writes brisa.ico: a 16-colour icon at 32x32 and 16x16, drawn below.

Run it from anywhere; the icon lands beside this script. Each character is one pixel;
'.' is transparent.
"""
import os
import struct

# The standard 16-colour palette, as (R, G, B).
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
# Pixel characters and their palette index; '.' is masked out, so its colour does not show.
INK = {'.': 0, '#': 0, 'l': 7, 'g': 8, 'B': 12, 'W': 15}

SPEAKER_32 = """
................................
................................
................................
..............##................
.............#l#..........BB....
............#ll#...........BB...
...........#lWl#...........BB...
..........#lWll#............BB..
.........#lWlll#......BB....BB..
........#lWllll#.......BB....BB.
#########lWllll#........BB...BB.
#ggggggg#lWllll#........BB...BB.
#gWWWWgg#lWllll#..BB.....BB...BB
#gWggggg#lWllll#...BB....BB...BB
#gWggggg#lWllll#....BB...BB...BB
#gWggggg#lWllll#....BB...BB...BB
#gWggggg#lWllll#....BB...BB...BB
#gWggggg#lWllll#....BB...BB...BB
#gWggggg#lWllll#...BB....BB...BB
#ggggggg#lWllll#..BB.....BB...BB
#ggggggg#lWllll#........BB...BB.
#########lWllll#........BB...BB.
........#lWllll#.......BB....BB.
.........#lWlll#......BB....BB..
..........#lWll#............BB..
...........#lWl#...........BB...
............#ll#...........BB...
.............#l#..........BB....
..............##................
................................
................................
................................
"""

SPEAKER_16 = """
................
......#.........
.....##.........
....#l#.....B...
...#ll#......B..
####ll#..B...B..
#gg#ll#...B...B.
#gg#ll#...B...B.
#gg#ll#...B...B.
#gg#ll#...B...B.
####ll#..B...B..
...#ll#......B..
....#l#.....B...
.....##.........
......#.........
................
"""

def parse(art):
    rows = art.strip('\n').split('\n')
    size = len(rows)
    assert all(len(row) == size for row in rows), 'art must be square'
    return rows


def dib(rows):
    """One icon image: BITMAPINFOHEADER, palette, 4-bit colour rows, then the 1-bit mask."""
    size = len(rows)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in PALETTE)
    colour = bytearray()
    mask = bytearray()
    for row in reversed(rows):  # bottom-up
        inks = [INK[ch] for ch in row]
        line = bytes((inks[i] << 4) | inks[i + 1] for i in range(0, size, 2))
        colour += line + bytes(-len(line) % 4)
        bits = 0
        for ch in row:
            bits = (bits << 1) | (ch == '.')
        line = bits.to_bytes(size // 8, 'big')
        mask += line + bytes(-len(line) % 4)
    return header + palette + bytes(colour) + bytes(mask)


def write_icon(path, arts):
    images = [dib(parse(art)) for art in arts]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = len(out) + 16 * len(images)
    for art, image in zip(arts, images):
        size = len(parse(art))
        out += struct.pack('<BBBBHHII', size, size, 16, 0, 1, 4, len(image), offset)
        offset += len(image)
    with open(path, 'wb') as f:
        f.write(out + b''.join(images))


if __name__ == '__main__':
    here = os.path.dirname(os.path.abspath(__file__))
    write_icon(os.path.join(here, 'brisa.ico'), [SPEAKER_32, SPEAKER_16])
