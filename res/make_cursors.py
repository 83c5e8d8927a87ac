#!/usr/bin/env python3
"""Draws the two hand cursors of the picture controls (open hand over a pannable image,
grabbing hand while it is dragged) as 32 x 32 monochrome .cur files beside this script.
Art: '#' black outline, '.' outside (transparent); the inside of the outline is white."""
import os
import struct

OPEN_HAND = """
.......##.......
...##.#..###....
..#..##..#..#...
..#..##..#..#.#.
...#..#..#..##.#
...#..#..#..#..#
.##.#.......#..#
#..##..........#
#...#.........#.
.#............#.
..#...........#.
..#..........#..
...#.........#..
....#.......#...
.....#......#...
.....########...
"""

GRAB_HAND = """
................
................
................
....##.##.##....
...#..#..#..###.
...#.........#.#
....#..........#
...##..........#
..#.#..........#
..#............#
..#...........#.
...#..........#.
....#........#..
.....#.......#..
......#......#..
......########..
"""


def pixels(art):
    rows = [list(line) for line in art.strip().splitlines()]
    height, width = len(rows), len(rows[0])
    # Everything reachable from the border without crossing the outline is outside.
    outside = set()
    todo = [(x, y) for y in range(height) for x in range(width)
            if (x in (0, width - 1) or y in (0, height - 1)) and rows[y][x] == '.']
    while todo:
        x, y = todo.pop()
        if (x, y) in outside or not (0 <= x < width and 0 <= y < height) or rows[y][x] != '.':
            continue
        outside.add((x, y))
        todo += [(x + 1, y), (x - 1, y), (x, y + 1), (x, y - 1)]
    return [['#' if rows[y][x] == '#' else '.' if (x, y) in outside else 'o' for x in range(width)]
            for y in range(height)]


def cursor(art, scale=2):
    small = pixels(art)
    size = 32
    grid = [['.'] * size for _ in range(size)]
    for y, row in enumerate(small):
        for x, c in enumerate(row):
            for dy in range(scale):
                for dx in range(scale):
                    grid[y * scale + dy][x * scale + dx] = c
    xor_rows, and_rows = [], []
    for row in reversed(grid):  # bottom-up, as in every device-independent bitmap
        xor_bits = and_bits = 0
        for c in row:
            xor_bits = (xor_bits << 1) | (1 if c == 'o' else 0)
            and_bits = (and_bits << 1) | (1 if c == '.' else 0)
        xor_rows.append(struct.pack('>I', xor_bits))
        and_rows.append(struct.pack('>I', and_bits))
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 1, 0, 0, 0, 0, 2, 0)
    palette = struct.pack('<II', 0x000000, 0xFFFFFF)
    image = header + palette + b''.join(xor_rows) + b''.join(and_rows)
    hotspot = size // 2
    directory = struct.pack('<HHH', 0, 2, 1) + struct.pack('<BBBBHHII', size, size, 2, 0, hotspot, hotspot,
                                                           len(image), 6 + 16)
    return directory + image


here = os.path.dirname(os.path.abspath(__file__))
for name, art in (('hand_open.cur', OPEN_HAND), ('hand_grab.cur', GRAB_HAND)):
    with open(os.path.join(here, name), 'wb') as out:
        out.write(cursor(art))
