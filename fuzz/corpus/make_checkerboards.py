#!/usr/bin/env python3
"""Writes the checkerboard seeds: masks of one-pixel squares, whose region has
one rectangle per shown pixel (the busiest kind of mask there is).
  skinfile/checkerboard_1500_shaped.ski    [Skin] En=1, a 1500 x 1500 mask
  skinfile/checkerboard_1500_unshaped.ski  [Skin] En=0 W=1500 H=1500, the same mask
  mask/checkerboard_256.bmp                a 256 x 256 mask: 32768 rectangles
The two skins, a few KB each, once ended the editor ("Pokaż obszar maski")
and skintool render. Run from this folder; the output is the same on every
machine."""
import struct
import zipfile


def checkerboard_bmp(side):
    """A 1-bit BMP, black where x + y is even (the top-left pixel: hidden)."""
    stride = (side + 31) // 32 * 4
    rows = []
    for y in range(side - 1, -1, -1):  # bottom-up
        row = bytearray(stride)
        for x in range(y % 2 ^ 1, side, 2):
            row[x >> 3] |= 0x80 >> (x & 7)
        rows.append(bytes(row))
    pixels = b''.join(rows)
    offset = 14 + 40 + 8
    return (b'BM' + struct.pack('<IHHI', offset + len(pixels), 0, 0, offset) +
            struct.pack('<IiiHHIIiiII', 40, side, side, 1, 1, 0, len(pixels), 2835, 2835, 2, 0) +
            b'\x00\x00\x00\x00\xff\xff\xff\x00' + pixels)


def skin(path, keys):
    text = '[Skin]\r\n' + ''.join('%s=%s\r\n' % kv for kv in keys) + '\r\n'
    entry = zipfile.ZipInfo('skin.ski', date_time=(2024, 3, 5, 10, 20, 30))
    entry.compress_type = zipfile.ZIP_DEFLATED
    with zipfile.ZipFile(path, 'w') as archive:
        archive.writestr(entry, text.encode('ascii'))


if __name__ == '__main__':
    mask = checkerboard_bmp(1500).hex().upper()
    skin('skinfile/checkerboard_1500_shaped.ski', [('En', '1'), ('Maska', mask)])
    skin('skinfile/checkerboard_1500_unshaped.ski', [('En', '0'), ('W', '1500'), ('H', '1500'), ('Maska', mask)])
    with open('mask/checkerboard_256.bmp', 'wb') as out:
        out.write(checkerboard_bmp(256))
