#!/usr/bin/env python3
"""Writes LinkHand.cur next to this script: a 32x32 monochrome pointing hand whose hot
spot is the tip of the index finger. Image tools leave the hot spot at 0,0, so the file
is put together here byte by byte."""

import os
import struct

# 'X' outline (black), 'o' fill (white), anything else transparent.
HAND = [
    "      XX",
    "     XooX",
    "     XooX",
    "     XooX",
    "     XooX",
    "     XooXXX",
    "     XooXooXXX",
    "     XooXooXooXX",
    "     XooXooXooXoX",
    " XX  XooXooXooXooX",
    " XoX XoooooooooooX",
    " XooXXoooooooooooX",
    "  XooooooooooooooX",
    "  XooooooooooooooX",
    "   XoooooooooooooX",
    "   XooooooooooooX",
    "    XoooooooooooX",
    "    XooooooooooX",
    "     XoooooooooX",
    "     XoooooooooX",
    "      XooooooooX",
    "      XXXXXXXXXX",
]
HOT_SPOT = (6, 0)  # the top of the index finger
SIZE = 32


def cell(x, y):
    row = HAND[y] if y < len(HAND) else ""
    return row[x] if x < len(row) else " "


def bitmap_rows(bit_of):
    """Rows of a 1-bit-per-pixel bitmap, bottom row first, each padded to 4 bytes."""
    rows = []
    for y in reversed(range(SIZE)):
        bits = 0
        for x in range(SIZE):
            bits = (bits << 1) | bit_of(cell(x, y))
        rows.append(bits.to_bytes(SIZE // 8, "big"))
    return b"".join(rows)


def cursor_file():
    # XOR bitmap: palette index 1 (white) for the fill, 0 elsewhere. AND mask: 1 where
    # the screen shows through, 0 under the outline and the fill.
    xor = bitmap_rows(lambda c: 1 if c == "o" else 0)
    mask = bitmap_rows(lambda c: 0 if c in "Xo" else 1)
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 1, 0, 0, 0, 0, 2, 0)
    palette = bytes([0, 0, 0, 0, 255, 255, 255, 0])
    image = header + palette + xor + mask
    directory = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 2, 0, HOT_SPOT[0], HOT_SPOT[1], len(image), 22)
    return directory + entry + image


if __name__ == "__main__":
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "LinkHand.cur")
    with open(path, "wb") as out:
        out.write(cursor_file())
