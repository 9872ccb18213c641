#!/usr/bin/env python3
"""png-info.py FILE: prints "WIDTH HEIGHT COLOUR_TYPE CORNER_ALPHA" of a PNG file.

CORNER_ALPHA is the alpha of the top left pixel of an 8-bit RGBA picture ("-" for
other kinds). That pixel can be read without undoing the row filters: every filter
predicts the first pixel of the first row as zero.
"""
import struct
import sys
import zlib


def chunks(data):
    offset = 8
    while offset + 8 <= len(data):
        length, kind = struct.unpack(">I4s", data[offset:offset + 8])
        yield kind, data[offset + 8:offset + 8 + length]
        offset += 12 + length


def main(path):
    data = open(path, "rb").read()
    if not data.startswith(b"\x89PNG\r\n\x1a\n"):
        sys.exit(f"{path}: not a PNG file")
    header = None
    pixels = b""
    for kind, body in chunks(data):
        if kind == b"IHDR":
            header = struct.unpack(">IIBB", body[:10])
        elif kind == b"IDAT":
            pixels += body
    if header is None:
        sys.exit(f"{path}: no header")
    width, height, depth, colour = header
    alpha = "-"
    if depth == 8 and colour == 6:
        alpha = zlib.decompress(pixels)[4]  # byte 0 is the row's filter
    print(width, height, colour, alpha)


main(sys.argv[1])
