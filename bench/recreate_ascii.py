#!/usr/bin/env python3
"""Rebuilds the ASCII file of a module from its binary measurement file, written the plain way a script
would do it. The value store's benchmark runs it on the same file as its own rebuild, to compare the two
and to check that both give the same bytes.

Usage: recreate_ascii.py BINARY_FILE ASCII_FILE

Handles the one-value and two-value layouts (time stamp, then one or two 32-bit floats).
"""
import struct
import sys

HEADER_SIZE = 56
HEADER = struct.Struct("<8s4sIH16s2xI")
XV_MODULE_NAME = b"PX-TAVIK2XV"
UNKNOWN_ERROR_CODE = 0xFFFF


def stamp_text(stamp):
    day = stamp & 0x1F
    month = (stamp >> 5) & 0x0F
    year = 1970 + ((stamp >> 9) & 0x3F)
    hour = (stamp >> 15) & 0x1F
    minute = (stamp >> 20) & 0x3F
    second = (stamp >> 26) & 0x3F
    return "%02u.%02u.%04u %02u:%02u:%02u" % (day, month, year, hour, minute, second)


def value_text(bits):
    if bits & 0x7F800000 == 0x7F800000 and bits & 0x007FFFFF:
        code = bits & 0xFFFF
        return "NaN(?)" if code == UNKNOWN_ERROR_CODE else "NaN(%u)" % code
    return "%.3f" % struct.unpack("<f", struct.pack("<I", bits))[0]


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    with open(sys.argv[1], "rb") as source:
        data = source.read()
    magic, version, _, serial, name, mask = HEADER.unpack_from(data)
    if magic != b"ORVAmdfh" or version != b"1.01":
        sys.exit("not a measurement file: " + sys.argv[1])
    if name.split(b"\0")[0][:15] == XV_MODULE_NAME:
        sys.exit("the XV layout is not handled by this script")
    values = 1 if mask in (1, 2) else 2

    title = "Date/Time"
    for channel in (1, 2):
        if mask & channel:
            title += "\t%u_%u" % (serial, channel)
    lines = [title + "\n"]

    record = struct.Struct("<I%dI" % values)
    end = HEADER_SIZE + (len(data) - HEADER_SIZE) // record.size * record.size
    for fields in record.iter_unpack(data[HEADER_SIZE:end]):
        lines.append(stamp_text(fields[0]) + "\t" + "\t".join(value_text(b) for b in fields[1:]) + "\r\n")

    with open(sys.argv[2], "w", encoding="ascii", newline="") as target:
        target.write("".join(lines))


if __name__ == "__main__":
    main()
