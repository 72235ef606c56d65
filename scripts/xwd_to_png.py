#!/usr/bin/env python3
"""Turns a 24/32-bit TrueColor X window dump (xwd) into a PNG: xwd_to_png.py IN OUT.

Used to take the README's screenshot under Xvfb without further packages.
"""
import struct
import sys
import zlib


def main(source, target):
    data = open(source, "rb").read()
    fields = struct.unpack(">25I", data[:100])
    header_size, width, height = fields[0], fields[4], fields[5]
    byte_order, bits_per_pixel, bytes_per_line = fields[7], fields[11], fields[12]
    masks, ncolors = fields[14:17], fields[19]
    if bits_per_pixel not in (24, 32):
        sys.exit("only 24 and 32 bits per pixel")
    pixels = data[header_size + 12 * ncolors:]
    step = bits_per_pixel // 8
    shifts = [(m & -m).bit_length() - 1 for m in masks]
    rows = bytearray()
    for y in range(height):
        rows.append(0)
        line = pixels[y * bytes_per_line:(y + 1) * bytes_per_line]
        for x in range(width):
            raw = line[x * step:(x + 1) * step]
            value = int.from_bytes(raw, "big" if byte_order else "little")
            rows += bytes((value & m) >> s for m, s in zip(masks, shifts))

    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF)

    with open(target, "wb") as out:
        out.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
                  + chunk(b"IDAT", zlib.compress(bytes(rows), 9)) + chunk(b"IEND", b""))


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
