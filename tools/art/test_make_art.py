#!/usr/bin/env python3
"""Checks that the drawn icon and divider are files Windows can read."""
import os
import struct
import sys
import tempfile
import unittest
import zlib

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import make_art  # noqa: E402


def png_chunks(data):
    assert data[:8] == b'\x89PNG\r\n\x1a\n'
    pos = 8
    while pos < len(data):
        length, = struct.unpack('>I', data[pos:pos + 4])
        tag = data[pos + 4:pos + 8]
        body = data[pos + 8:pos + 8 + length]
        crc, = struct.unpack('>I', data[pos + 8 + length:pos + 12 + length])
        yield tag, body, crc == zlib.crc32(tag + body) & 0xffffffff
        pos += 12 + length


class IconFile(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.dir = tempfile.mkdtemp()
        assert make_art.main(['make_art.py', cls.dir]) == 0
        with open(os.path.join(cls.dir, 'lorvane.ico'), 'rb') as f:
            cls.ico = f.read()

    def entries(self):
        reserved, kind, count = struct.unpack('<HHH', self.ico[:6])
        self.assertEqual((reserved, kind), (0, 1))
        for i in range(count):
            w, h, colours, _, planes, bits, size, offset = struct.unpack(
                '<BBBBHHII', self.ico[6 + 16 * i:22 + 16 * i])
            yield w or 256, h or 256, bits, self.ico[offset:offset + size]

    def test_has_every_size_from_16_to_128(self):
        self.assertEqual([e[0] for e in self.entries()], [16, 24, 32, 48, 64, 128])
        for w, h, bits, data in self.entries():
            self.assertEqual((w, bits), (h, 32))

    def test_images_are_valid_bmp_or_png_of_their_size(self):
        for w, h, _, data in self.entries():
            if data.startswith(b'\x89PNG'):
                chunks = list(png_chunks(data))
                self.assertTrue(all(ok for _, _, ok in chunks), 'bad CRC')
                ihdr = dict((t, b) for t, b, _ in chunks)[b'IHDR']
                self.assertEqual(struct.unpack('>II', ihdr[:8]), (w, h))
                raw = zlib.decompress(b''.join(b for t, b, _ in chunks if t == b'IDAT'))
                self.assertEqual(len(raw), h * (1 + 4 * w))
            else:
                size, bw, bh, planes, bpp = struct.unpack('<IiiHH', data[:16])
                self.assertEqual((size, bw, bh, planes, bpp), (40, w, 2 * h, 1, 32))
                mask_stride = ((w + 31) // 32) * 4
                self.assertEqual(len(data), 40 + 4 * w * h + mask_stride * h)

    def test_corners_transparent_centre_opaque(self):
        for size in make_art.ICON_SIZES:
            rows = make_art.draw_icon(size)
            self.assertEqual(rows[0][0][3], 0)
            self.assertEqual(rows[-1][-1][3], 0)
            self.assertEqual(rows[size // 2][size // 2][3], 255)


class DividerFile(unittest.TestCase):
    def test_is_a_24_bit_bitmap_of_the_divider_size(self):
        data = make_art.divider_bmp_bytes()
        magic, file_size, _, _, offset = struct.unpack('<2sIHHI', data[:14])
        self.assertEqual((magic, file_size, offset), (b'BM', len(data), 54))
        _, w, h, planes, bpp = struct.unpack('<IiiHH', data[14:30])
        self.assertEqual((w, h, planes, bpp), (make_art.DIVIDER_WIDTH, make_art.DIVIDER_HEIGHT, 1, 24))
        self.assertEqual(len(data) - offset, ((w * 3 + 3) & ~3) * h)


if __name__ == '__main__':
    unittest.main()
