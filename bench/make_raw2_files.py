#!/usr/bin/env python3
"""Writes COUNT RAW version 2 files of POINTS points each into DIR, byte by
byte from the layout (256-byte file header, 60-byte range header, then the
intensities as 32-bit floats), for the batch benchmark."""
import math
import struct
import sys


def raw2(index, points):
    header = bytearray(256)
    header[0:4] = b"RAW2"
    struct.pack_into("<h", header, 4, 1)  # one range
    header[8:40] = (b"Bench scan %03d" % index).ljust(32, b" ")
    header[168:188] = b"08/12/2026".ljust(20, b" ")
    struct.pack_into("<ff", header, 190, 1.54056, 1.54439)
    rng = bytearray(60)
    struct.pack_into("<hh", rng, 0, 60, points)
    struct.pack_into("<ffff", rng, 8, 1.0, 0.01, 3.0, 1.5)
    values = [100 + 900 * math.exp(-((k % 2000) - 1000) ** 2 / 5e3) + (k * 7919 % 97) / 7.0 for k in range(points)]
    return bytes(header) + bytes(rng) + struct.pack("<%df" % points, *values)


def main():
    folder, count, points = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
    body = raw2(0, points)
    for i in range(count):
        data = bytearray(body)
        data[8:40] = (b"Bench scan %03d" % i).ljust(32, b" ")
        with open("%s/S%03d.RAW" % (folder, i), "wb") as out:
            out.write(data)


if __name__ == "__main__":
    main()
