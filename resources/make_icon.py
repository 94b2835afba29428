#!/usr/bin/env python3
"""Writes lumaro.ico: one 16 x 16 image with a 256-colour palette (a door on a blue tile,
with the dots of a network beneath it). Run it again after changing the picture."""

import struct
import sys

PICTURE = [
    "................",
    ".bbbbbbbbbbbbbb.",
    ".bbbbbbbbbbbbbb.",
    ".bbbwwwwwwwbbbb.",
    ".bbbwdddddwbbbb.",
    ".bbbwdddddwbgbb.",
    ".bbbwdddddwbgbb.",
    ".bbbwdddydwbgbb.",
    ".bbbwdddddwbbbb.",
    ".bbbwdddddwbbbb.",
    ".bbbwdddddwbbbb.",
    ".bbbwwwwwwwbbbb.",
    ".bbbbbbbbbbbbbb.",
    ".bggbggbggbbbbb.",
    ".bbbbbbbbbbbbbb.",
    "................",
]
# Palette entries as (red, green, blue); '.' is transparent through the AND mask.
COLOURS = {
    ".": (0, 0, 0),
    "b": (0x1E, 0x6F, 0xD9),
    "w": (0xFF, 0xFF, 0xFF),
    "d": (0x10, 0x2A, 0x55),
    "y": (0xFF, 0xC8, 0x20),
    "g": (0x3C, 0xD0, 0x70),
}
SIZE = 16


def icon_bytes() -> bytes:
    keys = list(COLOURS)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in COLOURS.values())
    palette += b"\0" * (256 * 4 - len(palette))
    rows = list(reversed(PICTURE))  # bitmaps are stored bottom row first
    colour_rows = b"".join(bytes(keys.index(c) for c in row) for row in rows)
    mask_rows = b""
    for row in rows:
        bits = 0
        for c in row:
            bits = (bits << 1) | (c == ".")
        mask_rows += struct.pack(">H", bits) + b"\0\0"  # rows padded to 32 bits
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, 2 * SIZE, 1, 8, 0,
                         len(colour_rows) + len(mask_rows), 0, 0, 0, 0)
    image = header + palette + colour_rows + mask_rows
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, 1, 8, len(image), 6 + 16)
    return directory + entry + image


if __name__ == "__main__":
    out = sys.argv[1] if len(sys.argv) > 1 else "lumaro.ico"
    with open(out, "wb") as f:
        f.write(icon_bytes())
