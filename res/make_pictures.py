#!/usr/bin/env python3
"""Draws the program's own pictures beside this script: the toolbar's button images
(toolbar.bmp: Open, Save, Print, Help, 16 x 15 each, 16 colours on button grey), the
program icon (sorvanta.ico: 32 x 32 and 16 x 16, 32-bit with alpha) and the splash
picture (splash.gif: 420 x 400, whose lower part stays light for the about text) and the
banner strip's offline picture (Banner.gif: 468 x 60)."""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))

# The 16 colours of the button images; '.' is the button face, which the bars replace.
VGA = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
       (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255),
       (255, 0, 255), (0, 255, 255), (255, 255, 255)]
ART_COLOURS = {'#': 0, 'r': 1, 'g': 2, 'o': 3, 'n': 4, 'c': 6, '.': 7, 'd': 8, 'R': 9, 'y': 11, 'b': 12,
               'w': 15}

OPEN = """
................
..........###...
.........#...#.#
..............##
.###.........###
#yoy#######.....
#oyoyoyoyo#.....
#yoyoyoyoy#.....
#oyoy##########.
#yoy#ooooooooo#.
#oy#ooooooooo#..
#y#ooooooooo#...
##ooooooooo#....
###########.....
................
"""

SAVE = """
................
.##############.
.#dd#wwwwww#dd#.
.#dd#wwwwww#dd#.
.#dd#wwwwww#dd#.
.#dd#wwwwww#dd#.
.#ddd######ddd#.
.#dddddddddddd#.
.#ddd#######dd#.
.#ddd#ww#www#d#.
.#ddd#ww#www#d#.
.#ddd#ww#www#d#.
..############..
................
................
"""

PRINT = """
................
....#########...
....#wwwwwww#...
....#w#####w#...
....#wwwwwww#...
..###########...
.#wwwwwwwwwww#..
.#ddddddddddd##.
.#ddddddddgg###.
.#############..
..#w#####w#.....
..#wwwwwww#.....
..#########.....
................
................
"""

HELP = """
................
.....######.....
....##bbbb##....
...##b####b##...
...#bb#..#bb#...
.......##bb#....
......#bbb#.....
.....#bb##......
.....#bb#.......
......##........
.....#bb#.......
.....#bb#.......
......##........
................
................
"""


def art_rows(art):
    rows = art.strip('\n').splitlines()
    assert len(rows) == 15 and all(len(r) == 16 for r in rows), art
    return rows


def toolbar_bmp(images):
    """A 4-bit bottom-up BMP of the images side by side."""
    rows = [''.join(parts) for parts in zip(*[art_rows(a) for a in images])]
    width, height = 16 * len(images), 15
    stride = (width // 2 + 3) // 4 * 4
    pixels = b''
    for row in reversed(rows):
        line = bytearray(stride)
        for x, c in enumerate(row):
            index = ART_COLOURS[c]
            line[x // 2] |= index << (4 if x % 2 == 0 else 0)
        pixels += bytes(line)
    palette = b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in VGA)
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 4, 0, len(pixels), 2835, 2835, 16, 16)
    offset = 14 + len(info) + len(palette)
    return struct.pack('<2sIHHI', b'BM', offset + len(pixels), 0, 0, offset) + info + palette + pixels


def blend(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def icon_pixels(size):
    """A framed landscape with an arrow out of its corner: RGBA rows, top first."""
    px = [[(0, 0, 0, 0)] * size for _ in range(size)]
    s = size / 32.0
    frame = (int(2 * s), int(6 * s), int(26 * s), int(28 * s))  # left, top, right, bottom
    l, t, r, b = frame
    for y in range(t, b):
        for x in range(l, r):
            edge = x in (l, r - 1) or y in (t, b - 1)
            if edge:
                px[y][x] = (40, 40, 60, 255)
                continue
            sky = blend((70, 130, 220), (200, 225, 255), (y - t) / max(1, b - t))
            px[y][x] = sky + (255,)
            hill = b - 2 - int((1.0 - ((x - l) / (r - l) - 0.45) ** 2 * 3.0) * 9 * s)
            if y >= hill:
                px[y][x] = (60, 150, 60, 255)
            cx, cy, rad = l + 6 * s, t + 6 * s, 3 * s
            if (x - cx) ** 2 + (y - cy) ** 2 <= rad * rad:
                px[y][x] = (255, 210, 40, 255)
    # The enlarging arrow from the frame towards the top-right corner.
    for i in range(int(8 * s), size - 1):
        for w in range(-max(1, int(s)), max(1, int(s)) + 1):
            x, y = i, size - 1 - i + w - int(4 * s)
            if 0 <= x < size and 0 <= y < size and x >= int(16 * s):
                px[y][x] = (220, 60, 30, 255)
    tip = size - 2
    for d in range(int(7 * s)):
        for w in range(max(1, int(s))):
            for x, y in ((tip - d, 1 + w), (tip - w, 1 + d)):
                if 0 <= x < size and 0 <= y < size:
                    px[y][x] = (220, 60, 30, 255)
    return px


def icon_image(size):
    px = icon_pixels(size)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    xor = b''.join(struct.pack('<BBBB', p[2], p[1], p[0], p[3]) for row in reversed(px) for p in row)
    mask_stride = (size + 31) // 32 * 4
    mask = b''
    for row in reversed(px):
        line = bytearray(mask_stride)
        for x, p in enumerate(row):
            if p[3] == 0:
                line[x // 8] |= 0x80 >> (x % 8)
        mask += bytes(line)
    return header + xor + mask


def ico(sizes):
    images = [icon_image(s) for s in sizes]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for s, image in zip(sizes, images):
        out += struct.pack('<BBBBHHII', s % 256, s % 256, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    return out + b''.join(images)


FONT = {
    'A': ["01110", "10001", "10001", "11111", "10001", "10001", "10001"],
    'D': ["11110", "10001", "10001", "10001", "10001", "10001", "11110"],
    'E': ["11111", "10000", "10000", "11110", "10000", "10000", "11111"],
    'G': ["01111", "10000", "10000", "10111", "10001", "10001", "01111"],
    'I': ["11111", "00100", "00100", "00100", "00100", "00100", "11111"],
    'L': ["10000", "10000", "10000", "10000", "10000", "10000", "11111"],
    'M': ["10001", "11011", "10101", "10101", "10001", "10001", "10001"],
    'N': ["10001", "11001", "10101", "10011", "10001", "10001", "10001"],
    'O': ["01110", "10001", "10001", "10001", "10001", "10001", "01110"],
    'R': ["11110", "10001", "10001", "11110", "10100", "10010", "10001"],
    'S': ["01111", "10000", "10000", "01110", "00001", "00001", "11110"],
    'T': ["11111", "00100", "00100", "00100", "00100", "00100", "00100"],
    'V': ["10001", "10001", "10001", "10001", "01010", "01010", "00100"],
    ' ': ["00000"] * 7,
}


def draw_rect(rows, l, t, r, b, colour, fill=False):
    height, width = len(rows), len(rows[0])
    for y in range(max(0, t), min(height, b)):
        for x in range(max(0, l), min(width, r)):
            if fill or x in (l, r - 1) or y in (t, b - 1):
                rows[y][x] = colour


def draw_text(rows, s, x, y, scale, colour):
    for ch in s:
        for gy, line in enumerate(FONT[ch]):
            for gx, bit in enumerate(line):
                if bit == '1':
                    draw_rect(rows, x + gx * scale, y + gy * scale, x + (gx + 1) * scale, y + (gy + 1) * scale,
                              colour, True)
        x += 6 * scale


def splash_pixels(width, height):
    """Index rows and the palette: a sky gradient, a small photo growing into larger
    frames, and the name in block letters."""
    palette = [blend((40, 80, 160), (250, 252, 255), i / 63.0) for i in range(64)]
    white, orange, dark, green, sun, shadow = 64, 65, 66, 67, 68, 69
    palette += [(255, 255, 255), (235, 120, 30), (30, 40, 70), (70, 150, 70), (255, 205, 50), (150, 160, 185)]
    rows = [[min(63, int(y * 63 / (height * 0.62)))] * width for y in range(height)]

    def rect(l, t, r, b, colour, fill=False):
        draw_rect(rows, l, t, r, b, colour, fill)

    def photo(l, t, r, b):
        rect(l + 3, t + 3, r + 3, b + 3, shadow, True)
        rect(l, t, r, b, white, True)
        inner = (l + 4, t + 4, r - 4, b - 4)
        for y in range(inner[1], inner[3]):
            for x in range(inner[0], inner[2]):
                fy = (y - inner[1]) / (inner[3] - inner[1])
                fx = (x - inner[0]) / (inner[2] - inner[0])
                rows[y][x] = 10 + int(fy * 40)
                if fy > 0.62 - 0.25 * (1 - ((fx - 0.5) * 2) ** 2):
                    rows[y][x] = green
                if (fx - 0.25) ** 2 + ((fy - 0.3) * (inner[3] - inner[1]) / (inner[2] - inner[0])) ** 2 < 0.012:
                    rows[y][x] = sun
        rect(*inner, dark)

    # Each frame twice the one before: what the program does to a picture.
    for scale, l, t in ((1, 30, 150), (2, 76, 102), (4, 150, 30)):
        if scale < 4:
            rect(l, t, l + 40 * scale, t + 30 * scale, orange)
            rect(l + 1, t + 1, l + 40 * scale - 1, t + 30 * scale - 1, orange)
        else:
            photo(l, t, l + 40 * scale, t + 30 * scale)

    draw_text(rows, "SORVANTA", 30, 196, 7, dark)
    draw_text(rows, "IMAGE ENLARGEMENT", 32, 252, 3, orange)
    rect(0, 0, width, height, dark)
    return rows, palette


def banner_pixels(width, height):
    """The banner strip's picture when the banner server cannot be reached: the name on
    a sky gradient, beside three frames each twice the one before."""
    palette = [blend((40, 80, 160), (250, 252, 255), i / 63.0) for i in range(64)]
    white, orange, dark = 64, 65, 66
    palette += [(255, 255, 255), (235, 120, 30), (30, 40, 70)]
    rows = [[20 + min(43, int(x * 43 / width)) for x in range(width)] for _ in range(height)]
    for scale, l, t in ((1, 12, 38), (2, 30, 28), (4, 66, 8)):
        draw_rect(rows, l, t, l + 10 * scale, t + 8 * scale, white, True)
        draw_rect(rows, l, t, l + 10 * scale, t + 8 * scale, orange)
    draw_text(rows, "SORVANTA", 130, 6, 5, dark)
    draw_text(rows, "ENLARGE IMAGES", 132, 44, 2, orange)
    draw_rect(rows, 0, 0, width, height, dark)
    return rows, palette


def lzw(indices, min_code_size):
    """GIF's variable-length LZW, a clear code first and whenever the table fills."""
    clear, end = 1 << min_code_size, (1 << min_code_size) + 1
    out, bit_buffer, bit_count = bytearray(), 0, 0
    code_size = min_code_size + 1

    def emit(code):
        nonlocal bit_buffer, bit_count
        bit_buffer |= code << bit_count
        bit_count += code_size
        while bit_count >= 8:
            out.append(bit_buffer & 0xFF)
            bit_buffer >>= 8
            bit_count -= 8

    table = {(i,): i for i in range(clear)}
    next_code = end + 1
    emit(clear)
    prefix = ()
    for index in indices:
        candidate = prefix + (index,)
        if candidate in table:
            prefix = candidate
            continue
        emit(table[prefix])
        if next_code < 4096:
            table[candidate] = next_code
            next_code += 1
            if next_code > (1 << code_size) and code_size < 12:
                code_size += 1
        else:
            emit(clear)
            table = {(i,): i for i in range(clear)}
            next_code = end + 1
            code_size = min_code_size + 1
        prefix = (index,)
    emit(table[prefix])
    emit(end)
    if bit_count:
        out.append(bit_buffer & 0xFF)
    return bytes(out)


def gif(rows, palette):
    height, width = len(rows), len(rows[0])
    palette = palette + [(0, 0, 0)] * (128 - len(palette))
    header = b'GIF89a' + struct.pack('<HHBBB', width, height, 0xF0 | 6, 0, 0)
    colours = b''.join(bytes(c) for c in palette)
    image = b',' + struct.pack('<HHHHB', 0, 0, width, height, 0)
    data = lzw([i for row in rows for i in row], 7)
    blocks = b''.join(bytes([len(data[i:i + 255])]) + data[i:i + 255] for i in range(0, len(data), 255))
    return header + colours + image + bytes([7]) + blocks + b'\x00;'


def write(name, data):
    with open(os.path.join(HERE, name), 'wb') as out:
        out.write(data)


write('toolbar.bmp', toolbar_bmp([OPEN, SAVE, PRINT, HELP]))
write('sorvanta.ico', ico([32, 16]))
write('splash.gif', gif(*splash_pixels(420, 400)))
write('Banner.gif', gif(*banner_pixels(468, 60)))
