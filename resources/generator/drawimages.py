#!/usr/bin/env python3
"""Draws Warmlog's images and writes them into resources/.

    python3 resources/generator/drawimages.py [--preview DIR]

The images are committed; the build does not run this. Change a drawing below, run the script and
commit what it wrote. With --preview it also writes enlarged PNG copies into DIR for looking at.

Written against the Python 3 standard library only, so it runs anywhere Python does:

  icons/warmlog.ico                  program icon, 32 x 32, 16 colours (Windows)
  icons/warmlog.png                  the same image for the windows and the notification area
  icons/hicolor/NxN/apps/warmlog.png the program icon in the sizes the desktop asks for
  icons/links.ico, icons/links.png   the links window's icon, 32 x 32, 256 colours
  cursors/hand.cur, cursors/hand.png the links' hand cursor, 32 x 32, monochrome, hot spot 6, 0
  pictures/spion.bmp                 the device's board, 318 x 204, 24 bits, uncompressed
"""

import math
import os
import struct
import sys
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
RESOURCES = os.path.dirname(HERE)

BLACK = (0, 0, 0)
WHITE = (255, 255, 255)


# ------------------------------------------------------------------------------------------------
# Drawing: shapes in scene units, rendered with several samples per pixel for smooth edges.
# ------------------------------------------------------------------------------------------------

class Scene:
    """Opaque shapes painted in the order they were added; later ones cover earlier ones."""

    def __init__(self):
        self.items = []

    def add(self, bbox, contains, colour):
        self.items.append((bbox, contains, colour))

    def rect(self, x0, y0, x1, y1, colour, radius=0.0):
        r = min(radius, (x1 - x0) / 2, (y1 - y0) / 2)

        def contains(x, y):
            if x < x0 or x > x1 or y < y0 or y > y1:
                return False
            dx = max(x0 + r - x, 0.0, x - (x1 - r))
            dy = max(y0 + r - y, 0.0, y - (y1 - r))
            return dx * dx + dy * dy <= r * r

        self.add((x0, y0, x1, y1), contains, colour)

    def ellipse(self, cx, cy, rx, ry, colour, angle=0.0, where=None):
        c, s = math.cos(angle), math.sin(angle)

        def contains(x, y):
            dx, dy = x - cx, y - cy
            u, v = dx * c + dy * s, -dx * s + dy * c
            if (u / rx) ** 2 + (v / ry) ** 2 > 1.0:
                return False
            return where is None or where(x, y)

        r = max(rx, ry)
        self.add((cx - r, cy - r, cx + r, cy + r), contains, colour)

    def circle(self, cx, cy, r, colour):
        self.ellipse(cx, cy, r, r, colour)

    def polygon(self, points, colour):
        xs = [p[0] for p in points]
        ys = [p[1] for p in points]

        def contains(x, y):
            inside = False
            j = len(points) - 1
            for i, (xi, yi) in enumerate(points):
                xj, yj = points[j]
                if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                    inside = not inside
                j = i
            return inside

        self.add((min(xs), min(ys), max(xs), max(ys)), contains, colour)

    def line(self, x0, y0, x1, y1, width, colour):
        half = width / 2
        dx, dy = x1 - x0, y1 - y0
        length2 = dx * dx + dy * dy or 1e-9

        def contains(x, y):
            t = max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / length2))
            px, py = x0 + t * dx - x, y0 + t * dy - y
            return px * px + py * py <= half * half

        self.add((min(x0, x1) - half, min(y0, y1) - half, max(x0, x1) + half,
                  max(y0, y1) + half), contains, colour)

    def polyline(self, points, width, colour):
        for a, b in zip(points, points[1:]):
            self.line(a[0], a[1], b[0], b[1], width, colour)

    def arrow(self, x0, y0, x1, y1, colour=BLACK, width=1.0, head=5.0):
        """A line from the caption to the part, with a filled head at the part."""
        length = math.hypot(x1 - x0, y1 - y0)
        ux, uy = (x1 - x0) / length, (y1 - y0) / length
        bx, by = x1 - ux * head, y1 - uy * head
        self.line(x0, y0, bx, by, width, colour)
        side = head * 0.45
        self.polygon([(x1, y1), (bx - uy * side, by + ux * side), (bx + uy * side, by - ux * side)],
                     colour)

    def render(self, width, height, scale=1.0, samples=4, background=None):
        """Returns rows of (r, g, b, a); a transparent background when background is None."""
        bg = (0, 0, 0, 0) if background is None else tuple(background) + (255,)
        offsets = [(i + 0.5) / samples for i in range(samples)]
        count = samples * samples
        rows = []
        for py in range(height):
            y0, y1 = py / scale, (py + 1) / scale
            row_items = [it for it in self.items if it[0][3] >= y0 and it[0][1] <= y1]
            row = []
            for px in range(width):
                x0, x1 = px / scale, (px + 1) / scale
                items = [it for it in row_items if it[0][2] >= x0 and it[0][0] <= x1]
                if not items:
                    row.append(bg)
                    continue
                items.reverse()
                r = g = b = a = 0
                for oy in offsets:
                    sy = (py + oy) / scale
                    for ox in offsets:
                        sx = (px + ox) / scale
                        for _, contains, colour in items:
                            if contains(sx, sy):
                                r += colour[0]
                                g += colour[1]
                                b += colour[2]
                                a += 255
                                break
                        else:
                            r += bg[0] * bg[3] // 255
                            g += bg[1] * bg[3] // 255
                            b += bg[2] * bg[3] // 255
                            a += bg[3]
                if a == 0:
                    row.append((0, 0, 0, 0))
                else:
                    # Colours were summed premultiplied by their coverage.
                    row.append((round(r * 255 / a), round(g * 255 / a), round(b * 255 / a),
                                round(a / count)))
            rows.append(row)
        return rows


# ------------------------------------------------------------------------------------------------
# A 5 x 7 pixel font with two rows below the base line, for the captions in the picture.
# ------------------------------------------------------------------------------------------------

GLYPHS = {
    'A': "01110 10001 10001 10001 11111 10001 10001",
    'B': "11110 10001 10001 11110 10001 10001 11110",
    'C': "01110 10001 10000 10000 10000 10001 01110",
    'D': "11100 10010 10001 10001 10001 10010 11100",
    'E': "11111 10000 10000 11110 10000 10000 11111",
    'F': "11111 10000 10000 11110 10000 10000 10000",
    'G': "01110 10001 10000 10111 10001 10001 01111",
    'H': "10001 10001 10001 11111 10001 10001 10001",
    'I': "01110 00100 00100 00100 00100 00100 01110",
    'J': "00111 00010 00010 00010 00010 10010 01100",
    'K': "10001 10010 10100 11000 10100 10010 10001",
    'L': "10000 10000 10000 10000 10000 10000 11111",
    'M': "10001 11011 10101 10101 10001 10001 10001",
    'N': "10001 10001 11001 10101 10011 10001 10001",
    'O': "01110 10001 10001 10001 10001 10001 01110",
    'P': "11110 10001 10001 11110 10000 10000 10000",
    'Q': "01110 10001 10001 10001 10101 10010 01101",
    'R': "11110 10001 10001 11110 10100 10010 10001",
    'S': "01111 10000 10000 01110 00001 00001 11110",
    'T': "11111 00100 00100 00100 00100 00100 00100",
    'U': "10001 10001 10001 10001 10001 10001 01110",
    'V': "10001 10001 10001 10001 10001 01010 00100",
    'W': "10001 10001 10001 10101 10101 10101 01010",
    'X': "10001 10001 01010 00100 01010 10001 10001",
    'Y': "10001 10001 10001 01010 00100 00100 00100",
    'Z': "11111 00001 00010 00100 01000 10000 11111",
    'a': "00000 00000 01110 00001 01111 10001 01111",
    'b': "10000 10000 10110 11001 10001 10001 11110",
    'c': "00000 00000 01110 10000 10000 10001 01110",
    'd': "00001 00001 01101 10011 10001 10001 01111",
    'e': "00000 00000 01110 10001 11111 10000 01110",
    'f': "00110 01001 01000 11100 01000 01000 01000",
    'g': "00000 00000 01111 10001 10001 10001 01111 00001 01110",
    'h': "10000 10000 10110 11001 10001 10001 10001",
    'i': "00100 00000 01100 00100 00100 00100 01110",
    'j': "00010 00000 00110 00010 00010 00010 00010 10010 01100",
    'k': "10000 10000 10010 10100 11000 10100 10010",
    'l': "01100 00100 00100 00100 00100 00100 01110",
    'm': "00000 00000 11010 10101 10101 10101 10101",
    'n': "00000 00000 10110 11001 10001 10001 10001",
    'o': "00000 00000 01110 10001 10001 10001 01110",
    'p': "00000 00000 11110 10001 10001 10001 11110 10000 10000",
    'q': "00000 00000 01111 10001 10001 10001 01111 00001 00001",
    'r': "00000 00000 10110 11001 10000 10000 10000",
    's': "00000 00000 01111 10000 01110 00001 11110",
    't': "01000 01000 11100 01000 01000 01001 00110",
    'u': "00000 00000 10001 10001 10001 10011 01101",
    'v': "00000 00000 10001 10001 10001 01010 00100",
    'w': "00000 00000 10001 10001 10101 10101 01010",
    'x': "00000 00000 10001 01010 00100 01010 10001",
    'y': "00000 00000 10001 10001 10001 10001 01111 00001 01110",
    'z': "00000 00000 11111 00010 00100 01000 11111",
    'ä': "01010 00000 01110 00001 01111 10001 01111",
    'ö': "01010 00000 01110 10001 10001 10001 01110",
    'ü': "01010 00000 10001 10001 10001 10011 01101",
    'ß': "01100 10010 10010 10110 10001 10001 10110",
    '0': "01110 10001 10011 10101 11001 10001 01110",
    '1': "00100 01100 00100 00100 00100 00100 01110",
    '2': "01110 10001 00001 00010 00100 01000 11111",
    '3': "11111 00010 00100 00010 00001 10001 01110",
    '4': "00010 00110 01010 10010 11111 00010 00010",
    '5': "11111 10000 11110 00001 00001 10001 01110",
    '6': "00110 01000 10000 11110 10001 10001 01110",
    '7': "11111 00001 00010 00100 01000 01000 01000",
    '8': "01110 10001 10001 01110 10001 10001 01110",
    '9': "01110 10001 10001 01111 00001 00010 01100",
    ' ': "00000 00000 00000 00000 00000 00000 00000",
    '-': "00000 00000 00000 11111 00000 00000 00000",
    '/': "00000 00001 00010 00100 01000 10000 00000",
    '(': "00010 00100 01000 01000 01000 00100 00010",
    ')': "01000 00100 00010 00010 00010 00100 01000",
    '.': "00000 00000 00000 00000 00000 01100 01100",
    ':': "00000 01100 01100 00000 01100 01100 00000",
    '+': "00000 00100 00100 11111 00100 00100 00000",
}
GLYPH_ADVANCE = 6


def text_width(text, scale=1):
    return (len(text) * GLYPH_ADVANCE - 1) * scale


def draw_text(pixels, x, y, text, colour=BLACK, scale=1):
    """Writes text into rows of (r, g, b[, a]) pixels; y is the top of the capitals."""
    for index, char in enumerate(text):
        rows = GLYPHS[char].split()
        for gy, bits in enumerate(rows):
            for gx, bit in enumerate(bits):
                if bit != '1':
                    continue
                for dy in range(scale):
                    for dx in range(scale):
                        px = x + (index * GLYPH_ADVANCE + gx) * scale + dx
                        py = y + gy * scale + dy
                        if 0 <= py < len(pixels) and 0 <= px < len(pixels[py]):
                            pixels[py][px] = colour + pixels[py][px][3:]


# ------------------------------------------------------------------------------------------------
# File formats.
# ------------------------------------------------------------------------------------------------

def png_bytes(rows):
    """An 8-bit RGBA PNG."""
    height, width = len(rows), len(rows[0])

    def chunk(kind, data):
        body = kind + data
        return struct.pack('>I', len(data)) + body + struct.pack('>I', zlib.crc32(body))

    raw = b''.join(b'\0' + bytes(c for pixel in row for c in pixel) for row in rows)
    return (b'\x89PNG\r\n\x1a\n'
            + chunk(b'IHDR', struct.pack('>IIBBBBB', width, height, 8, 6, 0, 0, 0))
            + chunk(b'IDAT', zlib.compress(raw, 9)) + chunk(b'IEND', b''))


def bitmap_info(width, height, bits, image_size, colours=0, pixels_per_metre=0):
    return struct.pack('<IiiHHIIiiII', 40, width, height, 1, bits, 0, image_size,
                       pixels_per_metre, pixels_per_metre, colours, 0)


def pack_indices(indices, bits):
    """One row of palette indices as bytes, padded to a multiple of four bytes."""
    per_byte = 8 // bits
    out = bytearray()
    for start in range(0, len(indices), per_byte):
        value = 0
        for i in range(per_byte):
            index = indices[start + i] if start + i < len(indices) else 0
            value = (value << bits) | index
        out.append(value)
    while len(out) % 4:
        out.append(0)
    return bytes(out)


def icon_image(indices, palette, mask, bits):
    """The bitmap of one icon or cursor entry: header, palette, colour rows, then the AND mask,
    both bottom-up. A set mask bit makes the pixel transparent."""
    height = len(indices)
    width = len(indices[0])
    colour_rows = b''.join(pack_indices(row, bits) for row in reversed(indices))
    mask_rows = b''.join(pack_indices(row, 1) for row in reversed(mask))
    padded = list(palette) + [BLACK] * ((1 << bits) - len(palette))
    table = b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in padded)
    header = bitmap_info(width, height * 2, bits, len(colour_rows) + len(mask_rows))
    return header + table + colour_rows + mask_rows


def ico_bytes(indices, palette, mask, bits, hot_spot=None):
    """A one-image .ico file, or a .cur file when a hot spot is given."""
    image = icon_image(indices, palette, mask, bits)
    size = len(indices)
    colours = (1 << bits) if bits < 8 else 0
    if hot_spot is None:
        kind, plane_or_x, bits_or_y = 1, 1, bits
    else:
        kind, (plane_or_x, bits_or_y) = 2, hot_spot
    directory = struct.pack('<HHH', 0, kind, 1)
    entry = struct.pack('<BBBBHHII', size % 256, size % 256, colours, 0, plane_or_x, bits_or_y,
                        len(image), 6 + 16)
    return directory + entry + image


def bmp_bytes(rows):
    """A 24-bit uncompressed bottom-up BMP at 96 dots per inch."""
    height, width = len(rows), len(rows[0])
    stride = (width * 3 + 3) // 4 * 4
    data = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for pixel in row:
            line += bytes((pixel[2], pixel[1], pixel[0]))
        line += b'\0' * (stride - len(line))
        data += line
    info = bitmap_info(width, height, 24, len(data), pixels_per_metre=3780)
    header = struct.pack('<2sIHHI', b'BM', 14 + len(info) + len(data), 0, 0, 14 + len(info))
    return header + info + bytes(data)


# ------------------------------------------------------------------------------------------------
# Colours: the 16-colour Windows palette and a median cut down to 256 colours.
# ------------------------------------------------------------------------------------------------

PALETTE16 = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
    (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]


def nearest(colour, palette):
    return min(range(len(palette)),
               key=lambda i: sum((a - b) ** 2 for a, b in zip(colour, palette[i])))


def median_cut(colours, count):
    boxes = [sorted(set(colours))]
    while len(boxes) < count:
        boxes.sort(key=lambda box: max(max(c[i] for c in box) - min(c[i] for c in box)
                                       for i in range(3)) if len(box) > 1 else -1)
        box = boxes.pop()
        if len(box) < 2:
            boxes.append(box)
            break
        channel = max(range(3), key=lambda i: max(c[i] for c in box) - min(c[i] for c in box))
        box.sort(key=lambda c: c[channel])
        half = len(box) // 2
        boxes += [box[:half], box[half:]]
    return [tuple(round(sum(c[i] for c in box) / len(box)) for i in range(3)) for box in boxes]


def quantise(rows, palette=None, colours=256):
    """Opaque pixels become palette indices, pixels under half coverage transparent. Returns
    indices, palette, mask and the image as it will look."""
    opaque = [p[:3] for row in rows for p in row if p[3] >= 128]
    if palette is None:
        palette = median_cut(opaque, colours)
    cache = {}
    indices, mask, look = [], [], []
    for row in rows:
        index_row, mask_row, look_row = [], [], []
        for pixel in row:
            if pixel[3] < 128:
                index_row.append(0)
                mask_row.append(1)
                look_row.append((0, 0, 0, 0))
                continue
            colour = pixel[:3]
            if colour not in cache:
                cache[colour] = nearest(colour, palette)
            index_row.append(cache[colour])
            mask_row.append(0)
            look_row.append(palette[cache[colour]] + (255,))
        indices.append(index_row)
        mask.append(mask_row)
        look.append(look_row)
    return indices, palette, mask, look


# ------------------------------------------------------------------------------------------------
# The drawings.
# ------------------------------------------------------------------------------------------------

def program_icon_scene():
    """A face in disguise, black on white, in a 32-unit square: thick round glasses with bushy
    brows, a big nose and a moustache."""
    s = Scene()
    s.ellipse(16, 16.5, 14.8, 15.2, BLACK)
    s.ellipse(16, 16.5, 13.6, 14.0, WHITE)
    s.ellipse(16, 16.5, 14.8, 15.2, BLACK, where=lambda x, y: y < 5.0 + 0.6 * math.sin(x * 1.3))
    for m in (1, -1):
        def mx(x, m=m):
            return x if m == 1 else 32 - x
        s.polygon([(mx(4.6), 9.0), (mx(7.6), 6.4), (mx(13.8), 6.8), (mx(13.9), 8.6),
                   (mx(8.2), 8.3), (mx(5.6), 10.0)], BLACK)
        s.line(mx(5.6), 14.2, mx(1.8), 13.4, 1.4, BLACK)
        s.ellipse(mx(12.0), 24.6, 5.0, 2.3, BLACK, angle=-0.30 * m)
    s.ellipse(16, 28.2, 2.0, 0.8, BLACK)
    for cx in (10.4, 21.6):
        s.circle(cx, 14.4, 4.8, BLACK)
        s.circle(cx, 14.4, 2.9, WHITE)
        s.circle(cx + (0.6 if cx < 16 else -0.6), 14.9, 1.3, BLACK)
    s.rect(14.6, 13.2, 17.4, 14.8, BLACK)
    s.ellipse(16, 19.6, 4.3, 5.0, BLACK)
    s.ellipse(16, 19.6, 3.0, 3.7, WHITE)
    return s


def links_icon_scene():
    """A computer monitor whose screen face sticks its tongue out, in a 32-unit square."""
    outline = (72, 66, 52)
    case = (222, 214, 188)
    s = Scene()
    s.polygon([(12.2, 22.5), (19.8, 22.5), (21, 27.6), (11, 27.6)], outline)
    s.polygon([(13, 22.5), (19, 22.5), (20, 27), (12, 27)], (170, 162, 138))
    s.rect(5.6, 26.4, 26.4, 30.8, outline, radius=1.8)
    s.rect(6.4, 27.2, 25.6, 30.0, case, radius=1.2)
    s.rect(1.2, 1.2, 30.8, 24.0, outline, radius=2.6)
    s.rect(2.0, 2.0, 30.0, 23.2, case, radius=2.0)
    s.rect(4.4, 4.2, 27.6, 19.4, (60, 58, 52), radius=1.2)
    s.rect(5.4, 5.2, 26.6, 18.4, (40, 120, 200))
    s.rect(5.4, 5.2, 26.6, 7.0, (90, 160, 230))
    s.circle(26.6, 21.4, 0.9, (40, 200, 60))
    for cx in (11.6, 20.4):
        s.ellipse(cx, 10.6, 2.4, 2.7, WHITE)
        s.circle(cx + 0.5, 11.2, 1.2, BLACK)
    s.ellipse(16, 14.6, 6.5, 2.2, BLACK, where=lambda x, y: y >= 14.2)
    s.rect(12.6, 14.2, 19.4, 21.6, (150, 20, 50), radius=3.2)
    s.rect(13.4, 14.2, 18.6, 20.8, (236, 84, 116), radius=2.6)
    s.line(16, 15.6, 16, 18.6, 0.8, (176, 40, 74))
    return s


# The hand cursor: '#' black, '.' white, anything else transparent. The tip of the index finger is
# the hot spot (column 6 of the first row).
HAND = """
     ##
    #..#
    #..#
    #..#
    #..#
    #..###
    #..#..###
    #..#..#..###
    #..#..#..#..#
 ## #..#..#..#..#
#..##..#..#..#..#
#...#...........#
 #..#...........#
 #..............#
  #.............#
  #............#
   #...........#
   #..........#
    #.........#
    #.........#
    ###########
"""
HAND_HOT_SPOT = (6, 0)


def hand_rows():
    lines = HAND.strip('\n').split('\n')
    rows = []
    for y in range(32):
        line = lines[y] if y < len(lines) else ''
        rows.append([line[x] if x < len(line) else ' ' for x in range(32)])
    return rows


def board_scene():
    """The device's board seen from above, on white, in pixels of the 318 x 204 picture."""
    pcb = (28, 112, 58)
    pcb_edge = (14, 72, 36)
    trace = (78, 160, 96)
    metal = (196, 198, 202)
    dark = (36, 36, 38)
    s = Scene()
    # The board with its copper traces and mounting holes.
    s.rect(71, 33, 271, 157, pcb_edge, radius=7)
    s.rect(72, 34, 270, 156, pcb, radius=6)
    for points in (
        [(108, 60), (128, 60), (140, 74), (150, 74)],
        [(160, 66), (160, 78)],
        [(222, 90), (232, 90), (240, 80), (248, 68)],
        [(74, 100), (86, 100), (96, 90), (150, 90)],
        [(74, 112), (84, 112), (88, 118)],
        [(186, 103), (186, 132)],
        [(198, 103), (198, 132)],
        [(210, 103), (214, 112), (224, 112)],
        [(222, 96), (258, 96), (262, 130), (268, 134)],
        [(150, 96), (144, 104)],
        [(248, 124), (248, 140), (226, 146)],
    ):
        s.polyline(points, 1.6, trace)
    for cx, cy in ((80, 42), (262, 42), (80, 148), (262, 148)):
        s.circle(cx, cy, 4.2, metal)
        s.circle(cx, cy, 2.2, WHITE)
    # The serial connector to the PC, sticking out over the left edge.
    s.rect(66, 76, 76, 136, (150, 152, 158), radius=1)
    s.rect(67, 77, 75, 135, metal)
    s.rect(52, 86, 67, 126, (150, 152, 158), radius=3)
    s.rect(53, 87, 66, 125, (214, 216, 220), radius=2.5)
    s.rect(56, 90, 63, 122, (120, 122, 128), radius=2)
    for cy in (81, 131):
        s.circle(71, cy, 3, (110, 112, 118))
        s.circle(71, cy, 1.4, (220, 220, 224))
    # The microphone capsule.
    s.rect(96, 66, 98, 76, metal)
    s.rect(102, 66, 104, 76, metal)
    s.circle(100, 60, 9.5, (120, 120, 124))
    s.circle(100, 60, 8.2, (176, 178, 182))
    s.circle(100, 60, 6.4, (52, 52, 56))
    for dx, dy in ((-3, -3), (0, -3), (3, -3), (-3, 0), (0, 0), (3, 0), (-3, 3), (0, 3), (3, 3)):
        s.circle(100 + dx, 60 + dy, 0.9, (120, 120, 126))
    # The light sensor: a ceramic disc with its winding track.
    s.circle(160, 58, 7.5, (120, 96, 60))
    s.circle(160, 58, 6.6, (236, 226, 198))
    s.polyline([(155, 54), (165, 54), (165, 56.6), (155, 56.6), (155, 59.2), (165, 59.2),
                (165, 61.8), (155, 61.8)], 1.3, (196, 84, 34))
    # Resistors and capacitors.
    for x0, y0, horizontal in ((112, 74, True), (228, 104, True), (120, 46, True),
                               (202, 44, False)):
        if horizontal:
            s.line(x0 - 4, y0 + 2, x0 + 18, y0 + 2, 1.2, metal)
            s.rect(x0, y0, x0 + 14, y0 + 4.5, (214, 190, 140), radius=2)
            for i, band in enumerate(((150, 80, 30), BLACK, (220, 40, 40), (200, 160, 60))):
                s.rect(x0 + 2 + i * 3, y0, x0 + 3.4 + i * 3, y0 + 4.5, band)
        else:
            s.line(x0 + 2, y0 - 4, x0 + 2, y0 + 18, 1.2, metal)
            s.rect(x0, y0, x0 + 4.5, y0 + 14, (214, 190, 140), radius=2)
            for i, band in enumerate(((220, 200, 40), (120, 40, 160), (150, 80, 30),
                                      (200, 160, 60))):
                s.rect(x0, y0 + 2 + i * 3, x0 + 4.5, y0 + 3.4 + i * 3, band)
    for cx, cy, r in ((220, 126, 5.5), (134, 64, 4.0)):
        s.circle(cx, cy, r, (30, 60, 140))
        s.circle(cx, cy, r - 1.1, (50, 90, 190))
        s.ellipse(cx - r + 2.2, cy, 1.0, r - 1.6, (170, 190, 230))
    # The quartz crystal and the voltage regulator.
    s.rect(232, 84, 248, 91, (150, 152, 158), radius=3.5)
    s.rect(233, 85, 247, 90, (214, 216, 220), radius=2.5)
    s.ellipse(84, 70, 4.5, 4.5, dark, where=lambda x, y: y >= 68.5)
    # The microcontroller.
    for i in range(14):
        x = 154 + i * 5
        s.rect(x, 79, x + 2, 82, metal)
        s.rect(x, 100, x + 2, 103, metal)
    s.rect(150, 82, 224, 100, dark, radius=1)
    s.rect(151, 83, 223, 85, (60, 60, 64))
    s.ellipse(150, 91, 3, 3, (80, 80, 84), where=lambda x, y: x >= 150)
    s.circle(156, 95, 1.4, (70, 70, 74))
    # The rechargeable battery: four cells in blue shrink sleeve, with its leads.
    s.polyline([(142, 112), (150, 112), (154, 118)], 1.6, (200, 40, 40))
    s.polyline([(142, 138), (152, 138), (156, 130)], 1.6, (30, 30, 30))
    s.rect(88, 104, 143, 147, (24, 54, 130), radius=5)
    s.rect(89, 105, 142, 146, (44, 92, 190), radius=4.5)
    for x in (102.5, 116, 129.5):
        s.line(x, 107, x, 144, 1.0, (30, 66, 150))
    s.rect(90, 106, 141, 110, (96, 140, 220), radius=2)
    s.rect(131, 118, 139, 119.6, WHITE)
    s.rect(134.2, 114.8, 135.8, 122.8, WHITE)
    # The I/O connector: a two-row pin header.
    s.rect(176, 131, 216, 146, BLACK, radius=1)
    s.rect(177, 132, 215, 145, (40, 40, 42))
    for col in range(6):
        for row in range(2):
            x = 180 + col * 6
            y = 134 + row * 6
            s.rect(x, y, x + 3, y + 3, (226, 184, 64))
    # The sounder.
    s.circle(238, 116, 12.5, (16, 16, 18))
    s.circle(238, 116, 11.2, (46, 46, 50))
    s.circle(238, 116, 8.0, (30, 30, 32))
    s.circle(238, 116, 2.4, (110, 110, 116))
    s.ellipse(233, 110, 4.0, 2.0, (84, 84, 90), angle=-0.7)
    # The temperature sensor, held out past the right edge into the air.
    s.line(262, 134, 285, 134, 1.1, metal)
    s.line(262, 139, 285, 139, 1.1, metal)
    s.ellipse(287, 136.5, 4.2, 3.6, (92, 50, 28))
    s.ellipse(286, 135.3, 1.6, 1.0, (150, 100, 70))
    # The start/reset push-button, under the window's hot spot at 240..256, 48..64.
    for cx, cy in ((240.5, 49.5), (256.5, 49.5), (240.5, 63.5), (256.5, 63.5)):
        s.rect(cx - 2, cy - 1, cx + 2, cy + 1, metal)
    s.rect(240, 48, 257, 65, (20, 20, 22), radius=1)
    s.rect(241, 49, 256, 64, (150, 152, 158), radius=1)
    s.circle(248.5, 56.5, 5.6, (90, 10, 10))
    s.circle(248.5, 56.5, 4.6, (210, 36, 36))
    s.circle(247.3, 55.3, 1.5, (240, 130, 130))
    # Arrows from the captions to the parts.
    for x0, y0, x1, y1 in (
        (249, 18, 249, 45),     # start/reset push-button
        (160, 31, 160, 48),     # light sensor
        (52, 48, 89, 56),       # microphone
        (30, 137, 50, 124),     # connector to the PC
        (116, 174, 116, 150),   # battery
        (196, 174, 196, 149),   # I/O connector
        (278, 100, 252, 110),   # sounder
        (290, 188, 288, 143),   # temperature sensor
    ):
        s.arrow(x0, y0, x1, y1)
    return s


BOARD_CAPTIONS = (
    (200, 8, "Start/Reset-Taster"),
    (134, 22, "Lichtsensor (LDR)"),
    (4, 44, "Mikrofon"),
    (2, 140, "Serielle"),
    (2, 149, "Verbindung"),
    (2, 158, "zum PC"),
    (104, 177, "Akku"),
    (156, 177, "I/O-Anschluss"),
    (279, 97, "Summer"),
    (184, 191, "Temperaturfühler (NTC)"),
)


# ------------------------------------------------------------------------------------------------

def write(relative, data):
    path = os.path.join(RESOURCES, relative)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, 'wb') as f:
        f.write(data)
    print(f'{relative}: {len(data)} bytes')


def enlarged(rows, factor, background=(236, 236, 236)):
    """For previews: each pixel as a factor x factor block, transparency on grey."""
    out = []
    for row in rows:
        line = []
        for p in row:
            a = p[3] if len(p) > 3 else 255
            colour = tuple((p[i] * a + background[i] * (255 - a)) // 255 for i in range(3))
            line += [colour + (255,)] * factor
        out += [line] * factor
    return out


def main():
    preview = None
    if len(sys.argv) == 3 and sys.argv[1] == '--preview':
        preview = sys.argv[2]
        os.makedirs(preview, exist_ok=True)
    elif len(sys.argv) != 1:
        print(__doc__)
        return 2

    def show(name, rows, factor):
        if preview:
            with open(os.path.join(preview, name), 'wb') as f:
                f.write(png_bytes(enlarged(rows, factor)))

    face = program_icon_scene()
    indices, palette, mask, look = quantise(face.render(32, 32, samples=6), PALETTE16)
    write('icons/warmlog.ico', ico_bytes(indices, palette, mask, 4))
    write('icons/warmlog.png', png_bytes(look))
    show('warmlog-32.png', look, 8)
    for size in (16, 22, 24, 32, 48, 64, 128, 256):
        rows = look if size == 32 else face.render(size, size, scale=size / 32,
                                                   samples=4 if size > 64 else 6)
        write(f'icons/hicolor/{size}x{size}/apps/warmlog.png', png_bytes(rows))
        show(f'warmlog-{size}.png', rows, max(1, 256 // size))

    monitor = links_icon_scene()
    indices, palette, mask, look = quantise(monitor.render(32, 32, samples=6), colours=256)
    write('icons/links.ico', ico_bytes(indices, palette, mask, 8))
    write('icons/links.png', png_bytes(look))
    show('links-32.png', look, 8)

    hand = hand_rows()
    indices = [[1 if c == '.' else 0 for c in row] for row in hand]
    mask = [[0 if c in '#.' else 1 for c in row] for row in hand]
    write('cursors/hand.cur', ico_bytes(indices, [BLACK, WHITE], mask, 1, HAND_HOT_SPOT))
    look = [[(0, 0, 0, 255) if c == '#' else (255, 255, 255, 255) if c == '.' else (0, 0, 0, 0)
             for c in row] for row in hand]
    write('cursors/hand.png', png_bytes(look))
    show('hand-32.png', look, 8)

    picture = board_scene().render(318, 204, samples=3, background=WHITE)
    picture = [[p[:3] for p in row] for row in picture]
    draw_text(picture, 16, 4, "Der Spion", scale=2)
    for x, y, caption in BOARD_CAPTIONS:
        draw_text(picture, x, y, caption)
    write('pictures/spion.bmp', bmp_bytes(picture))
    show('spion.png', [[p + (255,) for p in row] for row in picture], 3)
    return 0


if __name__ == '__main__':
    sys.exit(main())
