#!/usr/bin/env python3
"""Draws the control's picture and writes the two resource files:

  src/resources/qta1.bmp  bitmap 1: 31 x 31 pixels, 16 colours (toolbox bitmap and the
                          control's drawing, which copies the top-left 30 x 30 pixels)
  src/resources/qta1.ico  the control's icon: 32 x 32 pixels, 16 colours

The picture is an air-handling unit: a housing with a fan and a heating/cooling coil,
air going in on the left and out on the right. The 31st column and row are a grey
shadow that the control's drawing leaves out; no other pixel uses that grey.

Only the Python standard library is used. Run it again after changing the drawing and
commit both files.
"""
import pathlib
import struct

# The standard 16-colour palette, as (red, green, blue).
PALETTE = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]
BLACK, GREEN, NAVY, SILVER, GREY, RED, BLUE, AQUA, WHITE = 0, 2, 4, 7, 8, 9, 12, 14, 15


def draw_picture():
    """The 30 x 30 picture, rows top to bottom, as palette indexes."""
    size = 30
    px = [[WHITE] * size for _ in range(size)]
    # Housing.
    for y in range(5, 25):
        for x in range(3, 27):
            edge = y in (5, 24) or x in (3, 26)
            px[y][x] = BLACK if edge else SILVER
    # Fan: a blue disc with four navy blades.
    cx, cy, r = 10, 14, 6
    for y in range(cy - r, cy + r + 1):
        for x in range(cx - r, cx + r + 1):
            dx, dy = x - cx, y - cy
            if dx * dx + dy * dy <= r * r:
                px[y][x] = BLUE
                if dx == 0 or dy == 0 or abs(dx) == abs(dy):
                    px[y][x] = NAVY
    # Coil: heating (red) and cooling (aqua) tubes.
    for y in range(8, 22):
        for x in range(18, 25):
            px[y][x] = RED if (x - 18) % 3 == 0 else (AQUA if (x - 18) % 3 == 1 else SILVER)
    # Air in (left) and out (right): green arrows above the housing.
    for x in range(0, 30):
        px[2][x] = GREEN
    for d in range(3):
        px[2 - d][29 - d] = GREEN
        px[2 + d][29 - d] = GREEN
    return px


def bitmap_31(picture):
    """The 31 x 31 bitmap: the picture plus a grey shadow column and row."""
    rows = [row + [GREY] for row in picture]
    rows.append([GREY] * 31)
    return rows


def pack_4bpp(rows):
    """Bottom-up 4-bit rows, each padded to a multiple of four bytes."""
    data = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for i in range(0, len(row), 2):
            hi = row[i]
            lo = row[i + 1] if i + 1 < len(row) else 0
            line.append((hi << 4) | lo)
        while len(line) % 4:
            line.append(0)
        data += line
    return bytes(data)


def palette_bytes():
    return b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in PALETTE)


def info_header(width, height, image_size):
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, 4, 0, image_size, 2835, 2835, 16, 0)


def write_bmp(path, rows):
    width, height = len(rows[0]), len(rows)
    pixels = pack_4bpp(rows)
    header = info_header(width, height, len(pixels)) + palette_bytes()
    offset = 14 + len(header)
    file_header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    path.write_bytes(file_header + header + pixels)


def write_ico(path, picture):
    size = 32
    # The picture sits at (1, 1); the frame around it is transparent.
    rows = [[0] * size for _ in range(size)]
    opaque = [[False] * size for _ in range(size)]
    for y, row in enumerate(picture):
        for x, colour in enumerate(row):
            rows[y + 1][x + 1] = colour
            opaque[y + 1][x + 1] = True
    xor = pack_4bpp(rows)
    mask = bytearray()
    for y in reversed(range(size)):
        bits = 0
        for x in range(size):
            bits = (bits << 1) | (0 if opaque[y][x] else 1)
        mask += struct.pack(">I", bits)
    image = info_header(size, size * 2, len(xor) + len(mask)) + palette_bytes() + xor + bytes(mask)
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", size, size, 16, 0, 1, 4, len(image), 6 + 16)
    path.write_bytes(directory + entry + image)


def main():
    out = pathlib.Path(__file__).resolve().parent.parent / "src" / "resources"
    picture = draw_picture()
    write_bmp(out / "qta1.bmp", bitmap_31(picture))
    write_ico(out / "qta1.ico", picture)


if __name__ == "__main__":
    main()
