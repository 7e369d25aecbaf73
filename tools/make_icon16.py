#!/usr/bin/env python3
# Writes data/beugwerk16.ico, the 16x16 site icon (a white "B" on the page's brick red), from
# the pixel rows below. Run: python3 tools/make_icon16.py data/beugwerk16.ico
import struct
import sys

ROWS = [
    "................",
    ".##############.",
    ".##############.",
    ".###oooooo#####.",
    ".###oo###oo####.",
    ".###oo###oo####.",
    ".###oo###oo####.",
    ".###oooooo#####.",
    ".###oo####oo###.",
    ".###oo####oo###.",
    ".###oo####oo###.",
    ".###oooooooo###.",
    ".##############.",
    ".##############.",
    ".##############.",
    "................",
]
COLOURS = {".": (0, 0, 0, 0), "#": (0xB0, 0x3A, 0x1E, 0xFF), "o": (0xFF, 0xFF, 0xFF, 0xFF)}


def icon_bytes():
    pixels = b""
    for row in reversed(ROWS):  # bitmaps run bottom-up
        for ch in row:
            r, g, b, a = COLOURS[ch]
            pixels += bytes((b, g, r, a))
    mask = bytes(16 * 4)  # alpha carries the transparency; the AND mask stays clear
    info = struct.pack("<IiiHHIIiiII", 40, 16, 32, 1, 32, 0, len(pixels) + len(mask), 0, 0, 0, 0)
    image = info + pixels + mask
    header = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", 16, 16, 0, 0, 1, 32, len(image), 6 + 16)
    return header + entry + image


if __name__ == "__main__":
    with open(sys.argv[1], "wb") as f:
        f.write(icon_bytes())
