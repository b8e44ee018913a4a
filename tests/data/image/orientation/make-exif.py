#!/usr/bin/env python3
"""Adds an EXIF block with an orientation tag to plain.jpg (written by
ImageMagick from upright.ppm at quality 100). The expected pictures come from
ImageMagick too:  convert oN.jpg -auto-orient -depth 8 oN.ppm
Big-endian blocks for odd orientations, little-endian for even ones."""
import struct

plain = open('plain.jpg', 'rb').read()
for n in range(2, 9):
    e = '>' if n % 2 else '<'
    tiff = (b'MM' if e == '>' else b'II') + struct.pack(e + 'HI', 42, 8)
    # One IFD: a decoy tag, then orientation (SHORT, count 1, value in place).
    tiff += struct.pack(e + 'H', 2)
    tiff += struct.pack(e + 'HHIHH', 0x0100, 3, 1, 16, 0)
    tiff += struct.pack(e + 'HHIHH', 0x0112, 3, 1, n, 0)
    tiff += struct.pack(e + 'I', 0)
    body = b'Exif\0\0' + tiff
    app1 = b'\xff\xe1' + struct.pack('>H', len(body) + 2) + body
    open('o%d.jpg' % n, 'wb').write(plain[:2] + app1 + plain[2:])
