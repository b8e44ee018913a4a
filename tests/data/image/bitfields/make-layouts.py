#!/usr/bin/env python3
"""Writes expected.ppm (made by ImageMagick) into BMP bit-field layouts that
ImageMagick cannot produce. Rerun from this folder: python3 make-layouts.py

The other files here came from ImageMagick 6:
  convert -size 8x4 xc: -sparse-color Bilinear '0,0 red 7,0 white 0,3 blue 7,3 lime' -depth 8 expected.ppm
  convert -size 8x4 gradient:red-white -depth 8 red-white.ppm
  convert -size 8x4 gradient:red-white -define bmp:format=bmp4 -alpha on -type TrueColorAlpha red-white-v5.bmp
  convert -size 8x4 xc: -sparse-color Bilinear '0,0 red 7,0 white 0,3 blue 7,3 lime' \\
      -alpha set -channel A -fx 'i/7' +channel -define bmp:format=bmp4 alpha-v5.bmp
  convert alpha-v5.bmp -background white -flatten -depth 8 alpha-on-white.ppm
"""
import struct


def read_ppm(path):
    data = open(path, 'rb').read()
    fields, pos = [], 0
    while len(fields) < 4:
        while data[pos:pos + 1].isspace():
            pos += 1
        end = pos
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[pos:end])
        pos = end
    width, height = int(fields[1]), int(fields[2])
    pos += 1
    return width, height, data[pos:pos + width * height * 3]


def place(value, mask):
    if not mask:
        return 0
    shift = (mask & -mask).bit_length() - 1
    top = mask >> shift
    return (round(value * top / 255) << shift) & mask


def write(name, masks, header=40, compression=3, filler=0):
    width, height, rgb = read_ppm('expected.ppm')
    red, green, blue, alpha = masks
    rows = []
    for y in range(height - 1, -1, -1):
        row = b''
        for x in range(width):
            r, g, b = rgb[(y * width + x) * 3:(y * width + x) * 3 + 3]
            v = place(r, red) | place(g, green) | place(b, blue) | place(255, alpha) | filler
            row += struct.pack('<I', v)
        rows.append(row)
    pixels = b''.join(rows)
    extra = b''
    if header == 40 and compression == 3:
        extra = struct.pack('<3I', red, green, blue)
    elif header == 40 and compression == 6:
        extra = struct.pack('<4I', red, green, blue, alpha)
    info = struct.pack('<IiiHHIIiiII', header, width, height, 1, 32, compression,
                       len(pixels), 2835, 2835, 0, 0)
    if header > 40:
        info += struct.pack('<4I', red, green, blue, alpha)
        info += b'\0' * (header - len(info))
    offset = 14 + len(info) + len(extra)
    with open(name, 'wb') as f:
        f.write(b'BM' + struct.pack('<IHHI', offset + len(pixels), 0, 0, offset))
        f.write(info + extra + pixels)


write('a2r10g10b10-v5.bmp', (0x3FF00000, 0x000FFC00, 0x000003FF, 0xC0000000), header=124)
write('r11g11b10.bmp', (0xFFE00000, 0x001FFC00, 0x000003FF, 0))
write('rgbx-order.bmp', (0xFF000000, 0x00FF0000, 0x0000FF00, 0), filler=0x5A)
write('bgra-alpha-bitfields.bmp', (0x0000FF00, 0x00FF0000, 0xFF000000, 0x000000FF),
      compression=6)
write('xrgb-uncompressed.bmp', (0x00FF0000, 0x0000FF00, 0x000000FF, 0), compression=0,
      filler=0x7F000000)
