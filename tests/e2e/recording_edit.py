#!/usr/bin/env python3
# Changes the first recorded key FROM into TO in a flight recording and mends
# the checksum of the chunk it sits in, so that only the input differs:
#   recording_edit.py IN OUT FROM TO
import struct
import sys

FNV_OFFSET = 14695981039346656037
FNV_PRIME = 1099511628211


def fnv(data):
    h = FNV_OFFSET
    for b in data:
        h = ((h ^ b) * FNV_PRIME) & 0xFFFFFFFFFFFFFFFF
    return h


def varint(data, pos):
    value = shift = 0
    while True:
        b = data[pos]
        pos += 1
        value |= (b & 0x7F) << shift
        shift += 7
        if not b & 0x80:
            return value, pos


def main():
    src, dst, old, new = sys.argv[1], sys.argv[2], ord(sys.argv[3]), ord(sys.argv[4])
    data = bytearray(open(src, "rb").read())
    pos = 8 + 2
    pos += 1 + data[pos]
    pos += 1 + 8 + 8
    while pos < len(data):
        kind = data[pos]
        length, start = varint(data, pos + 1)
        end = start + length
        if kind in (ord("E"), ord("S")):
            p = start
            # A second's chunk ends with its digest.
            while p < end - 4 * (kind == ord("S")):
                _, p = varint(data, p)
                tag = data[p]
                p += 1
                kind_of_event, flags = tag & 7, tag >> 3
                if kind_of_event in (1, 2):
                    if kind_of_event == 1 and data[p] == old:
                        data[p] = new
                        struct.pack_into("<H", data, end, fnv(data[pos:end]) & 0xFFFF)
                        open(dst, "wb").write(data)
                        return 0
                    p += 1
                elif kind_of_event == 3:
                    p += 4 * bool(flags & 1) + 4 * bool(flags & 2) + bool(flags & 4) + 4 * bool(flags & 8) + bool(flags & 16)
        pos = end + 2
    print("no key %r in %s" % (chr(old), src), file=sys.stderr)
    return 1


if __name__ == "__main__":
    sys.exit(main())
