#!/usr/bin/env python3
"""Draws the program's icon and the training page's divider bitmap.

    make_art.py OUT_DIR

writes OUT_DIR/lorvane.ico (images 16, 24, 32, 48, 64 and 128 pixels square;
32-bit BMP images up to 64, a PNG image at 128) and OUT_DIR/divider.bmp.
Everything is drawn from shapes, so the output is the same on every machine.
"""
import math
import os
import struct
import sys
import zlib

ICON_SIZES = (16, 24, 32, 48, 64, 128)
PNG_FROM = 128            # images this size and larger are stored as PNG
SUPERSAMPLE = 4

# Colours (r, g, b).
JADE_TOP = (22, 140, 120)
JADE_BOTTOM = (8, 84, 74)
BUBBLE = (255, 253, 245)
TONGUE = (200, 48, 40)    # the mark inside the bubble
WAVE = (250, 200, 60)


def _mix(a, b, t):
    return tuple(round(x + (y - x) * t) for x, y in zip(a, b))


def _inside_round_rect(x, y, x0, y0, x1, y1, r):
    if x < x0 or x > x1 or y < y0 or y > y1:
        return False
    cx = min(max(x, x0 + r), x1 - r)
    cy = min(max(y, y0 + r), y1 - r)
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def _icon_colour(u, v):
    """Colour and coverage of the point (u, v) of the unit square, or None."""
    if not _inside_round_rect(u, v, 0.02, 0.02, 0.98, 0.98, 0.2):
        return None
    colour = _mix(JADE_TOP, JADE_BOTTOM, v)
    # Speech bubble: an ellipse on the left with a tail at its lower left.
    ex, ey, rx, ry = 0.40, 0.44, 0.30, 0.24
    in_ellipse = ((u - ex) / rx) ** 2 + ((v - ey) / ry) ** 2 <= 1.0
    in_tail = (0.16 <= u <= 0.34 and v <= 0.82 and
               v >= 0.58 and (u - 0.16) >= (v - 0.58) * -0.1 and
               (0.34 - u) >= (v - 0.58) * 0.75)
    if in_ellipse or in_tail:
        colour = BUBBLE
        # Three tone bars inside the bubble, rising like a tone contour.
        for i, top in enumerate((0.46, 0.38, 0.30)):
            bx = 0.25 + i * 0.11
            if bx <= u <= bx + 0.07 and top <= v <= 0.56:
                colour = TONGUE
    # Sound waves: arcs to the right of the bubble.
    dx, dy = u - 0.58, v - 0.44
    dist = math.hypot(dx, dy)
    angle = math.atan2(dy, dx)
    if abs(angle) < 0.75 and dx > 0:
        for radius in (0.22, 0.32):
            if abs(dist - radius) < 0.035:
                colour = WAVE
    return colour


def draw_icon(size):
    """Rows of (r, g, b, a) pixels, top row first."""
    rows = []
    n = SUPERSAMPLE
    for y in range(size):
        row = []
        for x in range(size):
            acc = [0, 0, 0]
            hits = 0
            for sy in range(n):
                for sx in range(n):
                    c = _icon_colour((x + (sx + 0.5) / n) / size, (y + (sy + 0.5) / n) / size)
                    if c is not None:
                        hits += 1
                        for k in range(3):
                            acc[k] += c[k]
            if hits:
                row.append((acc[0] // hits, acc[1] // hits, acc[2] // hits, hits * 255 // (n * n)))
            else:
                row.append((0, 0, 0, 0))
        rows.append(row)
    return rows


def png_bytes(rows):
    height, width = len(rows), len(rows[0])
    raw = b''.join(b'\0' + bytes(v for px in row for v in px) for row in rows)

    def chunk(tag, data):
        return (struct.pack('>I', len(data)) + tag + data +
                struct.pack('>I', zlib.crc32(tag + data) & 0xffffffff))

    return (b'\x89PNG\r\n\x1a\n' +
            chunk(b'IHDR', struct.pack('>IIBBBBB', width, height, 8, 6, 0, 0, 0)) +
            chunk(b'IDAT', zlib.compress(raw, 9)) +
            chunk(b'IEND', b''))


def icon_bmp_bytes(rows):
    """An icon image in BMP form: header with doubled height, BGRA rows bottom-up, AND mask."""
    height, width = len(rows), len(rows[0])
    header = struct.pack('<IiiHHIIiiII', 40, width, height * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    colour = b''.join(bytes((b, g, r, a)) for row in reversed(rows) for r, g, b, a in row)
    mask_stride = ((width + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        line = bytearray(mask_stride)
        for x, px in enumerate(row):
            if px[3] == 0:
                line[x // 8] |= 0x80 >> (x % 8)
        mask += line
    return header + colour + bytes(mask)


def ico_bytes(sizes=ICON_SIZES):
    images = []
    for size in sizes:
        rows = draw_icon(size)
        images.append((size, png_bytes(rows) if size >= PNG_FROM else icon_bmp_bytes(rows)))
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in images:
        dim = 0 if size >= 256 else size
        out += struct.pack('<BBBBHHII', dim, dim, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return out + b''.join(data for _, data in images)


# The divider: a vertical bar with a raised edge, in pixels. The template gives the
# picture control 7 x 291 dialog units; a static bitmap takes the bitmap's own size.
DIVIDER_WIDTH = 10
DIVIDER_HEIGHT = 472


def divider_bmp_bytes(width=DIVIDER_WIDTH, height=DIVIDER_HEIGHT):
    stride = (width * 3 + 3) & ~3
    pixels = bytearray()
    for y in range(height - 1, -1, -1):          # bottom-up
        line = bytearray()
        v = y / (height - 1)
        for x in range(width):
            if x == 0:
                c = (255, 255, 255)               # light edge
            elif x == width - 1:
                c = (96, 96, 96)                  # shadow edge
            else:
                shade = 1.0 - 0.5 * abs((x - (width - 1) / 2) / ((width - 1) / 2))
                c = _mix(JADE_BOTTOM, _mix(JADE_TOP, (170, 220, 205), shade), 0.35 + 0.65 * (1 - abs(2 * v - 1) ** 4))
            line += bytes((c[2], c[1], c[0]))
        line += bytes(stride - len(line))
        pixels += line
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    file_header = struct.pack('<2sIHHI', b'BM', 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    return file_header + info + bytes(pixels)


def main(argv):
    if len(argv) != 2:
        sys.stderr.write(__doc__)
        return 2
    out_dir = argv[1]
    os.makedirs(out_dir, exist_ok=True)
    for name, data in (('lorvane.ico', ico_bytes()), ('divider.bmp', divider_bmp_bytes())):
        tmp = os.path.join(out_dir, name + '.tmp')
        with open(tmp, 'wb') as f:
            f.write(data)
        os.replace(tmp, os.path.join(out_dir, name))
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
