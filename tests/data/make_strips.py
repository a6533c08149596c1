#!/usr/bin/env python3
"""Writes the picture strips the glyph button tests use (plain RGB PNGs).

fancy5.png  80 x 16, five images on magenta: a red, a white-over-grey, a blue,
            a green and a yellow square (3..12 both ways)
fancy2.png  32 x 16, two images on magenta: an orange square, and a white-over-
            grey square with a cyan dot at (8, 8)
fancy1.png  16 x 16, one image on white: a black square (4..9) and a red dot
            at (12, 3)
"""
import struct
import zlib

MAGENTA, WHITE, GREY, BLACK = (255, 0, 255), (255, 255, 255), (128, 128, 128), (0, 0, 0)


def write_png(name, pixels):
    height, width = len(pixels), len(pixels[0])
    raw = b"".join(b"\0" + bytes(c for p in row for c in p) for row in pixels)

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    with open(name, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n")
        f.write(chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)))
        f.write(chunk(b"IDAT", zlib.compress(raw, 9)))
        f.write(chunk(b"IEND", b""))


def strip(count, ground, paint):
    pixels = [[ground] * (16 * count) for _ in range(16)]
    for image in range(count):
        for y in range(16):
            for x in range(16):
                colour = paint(image, x, y)
                if colour:
                    pixels[y][16 * image + x] = colour
    return pixels


def square(colour, low=3, high=12):
    return lambda x, y: colour if low <= x <= high and low <= y <= high else None


def white_over_grey(x, y):
    return (WHITE if y < 8 else GREY) if 3 <= x <= 12 and 3 <= y <= 12 else None


five = [square((255, 0, 0)), white_over_grey, square((0, 0, 255)), square((0, 160, 0)), square((255, 255, 0))]
write_png("fancy5.png", strip(5, MAGENTA, lambda i, x, y: five[i](x, y)))
write_png("fancy2.png", strip(2, MAGENTA, lambda i, x, y: square((255, 128, 0))(x, y) if i == 0
                              else ((0, 255, 255) if (x, y) == (8, 8) else white_over_grey(x, y))))
write_png("fancy1.png", strip(1, WHITE, lambda i, x, y: (255, 0, 0) if (x, y) == (12, 3) else square(BLACK, 4, 9)(x, y)))
