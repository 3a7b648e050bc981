#!/usr/bin/env python3
"""Builds Kalvetor's icon from its pixel map.

    make_icon.py <hamburger.txt> <output-dir>

Writes kalvetor.ico (one 32 x 32 image, 8 bits per pixel with a 256-colour
palette and a 1-bit transparency mask) and kalvetor-<N>.png for N = 32, 64,
128, 192, 256 and 512 (192 and 512 are the sizes a web app's manifest
offers phones), each pixel scaled up as a square block so the pixel art
stays sharp.
"""

import struct
import sys
import zlib
from pathlib import Path

SIZE = 32
PNG_SIZES = (32, 64, 128, 192, 256, 512)
TRANSPARENT = "."


def read_map(path):
    """Returns (palette, rows): palette maps a symbol to (r, g, b); rows are
    the 32 strings of symbols, top row first."""
    palette, rows, section = {}, [], None
    for number, line in enumerate(Path(path).read_text(encoding="ascii").splitlines(), 1):
        if not line.strip() or line.startswith("#"):
            continue
        if line in ("palette:", "pixels:"):
            section = line[:-1]
        elif section == "palette":
            symbol, colour = line.split()[:2]
            if len(symbol) != 1 or symbol == TRANSPARENT or not colour.startswith("#") or len(colour) != 7:
                sys.exit(f"{path}:{number}: expected '<symbol> #rrggbb'")
            palette[symbol] = tuple(int(colour[i:i + 2], 16) for i in (1, 3, 5))
        elif section == "pixels":
            if len(line) != SIZE or any(c != TRANSPARENT and c not in palette for c in line):
                sys.exit(f"{path}:{number}: a row is {SIZE} symbols from the palette or '{TRANSPARENT}'")
            rows.append(line)
        else:
            sys.exit(f"{path}:{number}: outside the palette: and pixels: sections")
    if len(rows) != SIZE:
        sys.exit(f"{path}: {len(rows)} rows of pixels, expected {SIZE}")
    return palette, rows


def ico(palette, rows):
    # Index 0 is black, the colour under transparent pixels; the map's colours
    # follow in the order they are listed; the rest of the 256 entries are black.
    symbols = list(palette)
    index = {symbol: i + 1 for i, symbol in enumerate(symbols)}
    colours = [(0, 0, 0)] + [palette[s] for s in symbols]
    colours += [(0, 0, 0)] * (256 - len(colours))

    bottom_up = list(reversed(rows))
    xor = b"".join(bytes(index.get(c, 0) for c in row) for row in bottom_up)
    mask = b""
    for row in bottom_up:
        bits = 0
        for c in row:
            bits = bits << 1 | (c == TRANSPARENT)
        mask += struct.pack(">I", bits)  # 32 pixels, one bit each, padded to 4 bytes

    header = struct.pack("<IiiHHIIiiII", 40, SIZE, 2 * SIZE, 1, 8, 0, len(xor) + len(mask), 0, 0, 256, 0)
    palette_bytes = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in colours)
    image = header + palette_bytes + xor + mask
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, 1, 8, len(image), 6 + 16)
    return directory + entry + image


def png(palette, rows, scale):
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    lines = b""
    for row in rows:
        pixels = b"".join(bytes(palette[c]) + b"\xff" if c != TRANSPARENT else b"\0\0\0\0" for c in row)
        line = b"".join(pixels[i:i + 4] * scale for i in range(0, len(pixels), 4))
        lines += (b"\0" + line) * scale
    size = SIZE * scale
    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)  # 8-bit RGBA
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(lines, 9))
            + chunk(b"IEND", b""))


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    palette, rows = read_map(sys.argv[1])
    out = Path(sys.argv[2])
    out.mkdir(parents=True, exist_ok=True)
    (out / "kalvetor.ico").write_bytes(ico(palette, rows))
    for size in PNG_SIZES:
        (out / f"kalvetor-{size}.png").write_bytes(png(palette, rows, size // SIZE))


if __name__ == "__main__":
    main()
