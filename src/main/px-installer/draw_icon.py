#!/usr/bin/env python3
"""Writes px-installer.ico, the window icon: a printer with a cyan sheet, 32 x 32, 16 colours.

The picture below is the icon, one character per pixel; "." is transparent. Run this script
after changing it: python3 draw_icon.py
"""
import pathlib
import struct

# The 16-colour palette of Windows, index: (red, green, blue).
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
# Characters of the picture: k black, 6 teal, 7 silver, 8 grey, a lime, e cyan, f white.
COLOURS = {"k": 0, "6": 6, "7": 7, "8": 8, "a": 10, "e": 14, "f": 15}

PICTURE = """
................................
................................
..........kkkkkkkkkkkk..........
..........kffffffffffk..........
..........kffffffffffk..........
..........kf8888888ffk..........
..........kffffffffffk..........
..........kf888888fffk..........
..........kffffffffffk..........
...kkkkkkkkkkkkkkkkkkkkkkkkkk...
..k77777777777777777777777778k..
..k77777777777777777777777778k..
..k7ffffffffffffffffffff77778k..
..k77777777777777777777777a78k..
..k77777777777777777777777a78k..
..k77777777777777777777777778k..
..k77888888888888888888888778k..
..k778kkkkkkkkkkkkkkkkkkk8778k..
..k77888888888888888888888778k..
..k77777777777777777777777778k..
..k88888888888888888888888888k..
...kkkkkkkkkkkkkkkkkkkkkkkkkk...
......kffffffffffffffffffk......
......kfeeeeeeeeeeeeeeeefk......
......kffffffffffffffffffk......
......kfeeeeeeeeeeeffffffk......
......kffffffffffffffffffk......
......kfeeeeeeeeeeeeeefffk......
......kffffffffffffffffffk......
......kkkkkkkkkkkkkkkkkkkk......
................................
................................
"""


def rows():
    lines = [line for line in PICTURE.strip().splitlines()]
    assert len(lines) == 32, len(lines)
    for line in lines:
        line = (line + "." * 32)[:32]
        yield line


def main():
    pixels = [[None if c == "." else COLOURS.get(c, 0) for c in line] for line in rows()]
    width = height = 32
    xor = bytearray()
    mask = bytearray()
    for row in reversed(pixels):  # bottom-up, as DIBs are stored
        for x in range(0, width, 2):
            a, b = row[x] or 0, row[x + 1] or 0
            xor.append((a << 4) | b)
        bits = 0
        for x in range(width):
            bits = (bits << 1) | (1 if row[x] is None else 0)
        mask += struct.pack(">I", bits)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    header = struct.pack("<IiiHHIIiiII", 40, width, height * 2, 1, 4, 0,
                         len(xor) + len(mask), 0, 0, 16, 0)
    image = header + palette + bytes(xor) + bytes(mask)
    icon = struct.pack("<HHH", 0, 1, 1)
    icon += struct.pack("<BBBBHHII", width, height, 16, 0, 1, 4, len(image), 6 + 16)
    out = pathlib.Path(__file__).with_name("px-installer.ico")
    out.write_bytes(icon + image)


if __name__ == "__main__":
    main()
