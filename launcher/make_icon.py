#!/usr/bin/env python3
"""Writes the launcher's icon: six images (16x16 in 16 and 256 colours,
32x32 in 2, 16 and 256 colours, 48x48 in 256 colours), each a bottom-up DIB
with its AND mask, as the ICO format stores them. The picture is a disc on a
transparent ground; the same drawing at every size keeps the images alike."""
import struct
import sys

# (size, bits per pixel)
IMAGES = [(16, 4), (16, 8), (32, 1), (32, 4), (32, 8), (48, 8)]


def palette(bits):
    colours = 1 << bits
    if bits == 1:
        entries = [(0, 0, 0), (255, 255, 255)]
    else:
        # Index 0 black, then a blue ramp: enough to draw a shaded disc.
        entries = [(0, 0, 0)] + [(40 + i * 215 // (colours - 1), 90 + i * 120 // (colours - 1), 255)
                                 for i in range(1, colours)]
    return b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in entries)


def pixel(size, bits, x, y):
    """Returns (colour index, opaque) for pixel (x, y), y counted from the top."""
    c = (size - 1) / 2
    d2 = (x - c) ** 2 + (y - c) ** 2
    r = size * 0.45
    if d2 > r * r:
        return 0, False
    if bits == 1:
        return 1, True
    colours = 1 << bits
    shade = 1.0 - (d2 ** 0.5) / r
    return 1 + int(shade * (colours - 2)), True


def row_bytes(bits_per_row):
    return ((bits_per_row + 31) // 32) * 4


def pack_row(values, bits):
    out = bytearray(row_bytes(len(values) * bits))
    per_byte = 8 // bits
    for i, v in enumerate(values):
        shift = 8 - bits * (i % per_byte + 1)
        out[i // per_byte] |= v << shift
    return bytes(out)


def image(size, bits):
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bits, 0, 0, 0, 0, 0, 0)
    xor = b""
    mask = b""
    for y in reversed(range(size)):
        px = [pixel(size, bits, x, y) for x in range(size)]
        xor += pack_row([p[0] for p in px], bits)
        mask += pack_row([0 if p[1] else 1 for p in px], 1)
    return header + palette(bits) + xor + mask


def main(path):
    blobs = [image(s, b) for s, b in IMAGES]
    out = struct.pack("<HHH", 0, 1, len(IMAGES))
    offset = 6 + 16 * len(IMAGES)
    for (size, bits), blob in zip(IMAGES, blobs):
        colours = (1 << bits) if bits < 8 else 0
        out += struct.pack("<BBBBHHII", size, size, colours, 0, 1, bits, len(blob), offset)
        offset += len(blob)
    with open(path, "wb") as f:
        f.write(out + b"".join(blobs))


if __name__ == "__main__":
    main(sys.argv[1])
