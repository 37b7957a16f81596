#!/usr/bin/env python3
"""Makes resources/rulecast.ico, the Windows program icon, from resources/rulecast.png.

The icon holds the picture at 64, 32 and 16 pixels, each halving averaged from the one above, as
32-bit bitmaps with alpha; Windows scales the nearest larger one to any other size it needs. The
output depends on the PNG alone, so running this again gives the same bytes. Plain Python: the
Windows build then needs no image tool, only the .ico that this wrote.
"""
import pathlib
import struct
import sys
import zlib

SIZES = (64, 32, 16)


def read_png(path):
    """The pixels of an 8-bit RGBA, non-interlaced PNG: rows of (r, g, b, a) tuples."""
    data = path.read_bytes()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        sys.exit(f"{path}: not a PNG")
    pos, idat, header = 8, b"", None
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    width, height, depth, colour, _, _, interlace = header
    if (depth, colour, interlace) != (8, 6, 0):
        sys.exit(f"{path}: only 8-bit RGBA without interlacing is read")
    raw = zlib.decompress(idat)
    stride = width * 4
    rows, previous = [], bytearray(stride)
    for y in range(height):
        start = y * (stride + 1)
        kind, line = raw[start], bytearray(raw[start + 1:start + 1 + stride])
        for i in range(stride):
            left = line[i - 4] if i >= 4 else 0
            up = previous[i]
            corner = previous[i - 4] if i >= 4 else 0
            if kind == 1:
                line[i] = (line[i] + left) & 0xFF
            elif kind == 2:
                line[i] = (line[i] + up) & 0xFF
            elif kind == 3:
                line[i] = (line[i] + (left + up) // 2) & 0xFF
            elif kind == 4:
                guess = left + up - corner
                near = min((abs(guess - left), 0, left), (abs(guess - up), 1, up),
                           (abs(guess - corner), 2, corner))[2]
                line[i] = (line[i] + near) & 0xFF
        rows.append([tuple(line[x * 4:x * 4 + 4]) for x in range(width)])
        previous = line
    return rows


def halve(rows):
    """Each 2x2 block averaged, colours weighted by their alpha so that clear pixels add no tint."""
    out = []
    for y in range(0, len(rows), 2):
        line = []
        for x in range(0, len(rows[0]), 2):
            block = [rows[y][x], rows[y][x + 1], rows[y + 1][x], rows[y + 1][x + 1]]
            alpha = sum(p[3] for p in block)
            if alpha == 0:
                line.append((0, 0, 0, 0))
                continue
            colour = [(sum(p[c] * p[3] for p in block) + alpha // 2) // alpha for c in range(3)]
            line.append((*colour, (alpha + 2) // 4))
        out.append(line)
    return out


def bitmap_entry(rows):
    """One icon image: a bottom-up BGRA bitmap with the AND mask that old readers look at."""
    size = len(rows)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    colour = b"".join(bytes((b, g, r, a)) for line in reversed(rows) for r, g, b, a in line)
    mask_stride = ((size + 31) // 32) * 4
    mask = b""
    for line in reversed(rows):
        bits = bytearray(mask_stride)
        for x, pixel in enumerate(line):
            if pixel[3] == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bytes(bits)
    return header + colour + mask


def main():
    root = pathlib.Path(__file__).resolve().parent.parent
    rows = read_png(root / "resources" / "rulecast.png")
    if len(rows) != SIZES[0] or len(rows[0]) != SIZES[0]:
        sys.exit(f"rulecast.png must be {SIZES[0]} x {SIZES[0]} pixels")
    images = []
    for size in SIZES:
        images.append((size, bitmap_entry(rows)))
        if size != SIZES[-1]:
            rows = halve(rows)
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, image in images:
        directory += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    (root / "resources" / "rulecast.ico").write_bytes(directory + b"".join(i for _, i in images))


if __name__ == "__main__":
    main()
