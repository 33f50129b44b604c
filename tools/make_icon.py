#!/usr/bin/env python3
"""Draws the program icon: 32 by 32 pixels, 4 bits per pixel in the standard
16-colour palette, the name in bright red letters with a dark red shadow on a
transparent ground. Writes ui/resources/MAINICON.png; uses only the standard
library."""
import struct
import sys
import zlib

# The standard 16-colour palette; index 0 is the transparent ground.
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
GROUND, DARK_RED, RED = 0, 1, 9

GLYPHS = {  # 5 by 7
    "S": ["01111", "10000", "10000", "01110", "00001", "00001", "11110"],
    "T": ["11111", "00100", "00100", "00100", "00100", "00100", "00100"],
    "A": ["01110", "10001", "10001", "11111", "10001", "10001", "10001"],
    "N": ["10001", "11001", "10101", "10011", "10001", "10001", "10001"],
    "D": ["11110", "10001", "10001", "10001", "10001", "10001", "11110"],
    "O": ["01110", "10001", "10001", "10001", "10001", "10001", "01110"],
    "R": ["11110", "10001", "10001", "11110", "10100", "10010", "10001"],
}


def draw():
    pixels = [[GROUND] * 32 for _ in range(32)]

    def word(text, top, colour, dx=0, dy=0):
        left = 3
        for ch in text:
            for y, row in enumerate(GLYPHS[ch]):
                for x, bit in enumerate(row):
                    if bit == "1":
                        pixels[top + y + dy][left + x + dx] = colour
            left += 7

    for text, top in (("STAN", 7), ("DORA", 18)):
        word(text, top, DARK_RED, 1, 1)  # the shadow first
        word(text, top, RED)
    return pixels


def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))


def png(pixels):
    raw = b""
    for row in pixels:
        raw += b"\0" + bytes((row[i] << 4) | row[i + 1] for i in range(0, 32, 2))
    return (b"\x89PNG\r\n\x1a\n"
            + chunk(b"IHDR", struct.pack(">IIBBBBB", 32, 32, 4, 3, 0, 0, 0))
            + chunk(b"PLTE", b"".join(bytes(c) for c in PALETTE))
            + chunk(b"tRNS", b"\0")
            + chunk(b"IDAT", zlib.compress(raw, 9))
            + chunk(b"IEND", b""))


if __name__ == "__main__":
    out = sys.argv[1] if len(sys.argv) > 1 else "ui/resources/MAINICON.png"
    with open(out, "wb") as f:
        f.write(png(draw()))
