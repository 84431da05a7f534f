#!/usr/bin/env python3
"""Sets the two compile times that chmcmd writes into a help file (the ITSF header's and the
#SYSTEM file's entry 10) to SOURCE_DATE_EPOCH, or 0 without it, so that one source always
gives the same bytes.

    fix_chm_time.py <file.chm>
"""

import os
import struct
import sys

HEADER_TIME = 0x10  # in the ITSF header
CONTENT_OFFSET = 0x58  # where the stored (uncompressed) content block starts
SYSTEM_ENTRY = b"\x08/#SYSTEM"  # the directory's entry: name length and name
SYSTEM_TIME_CODE = 10


def encint(data, pos):
    """A directory number: 7 bits a byte, most significant first, high bit meaning more."""
    value = 0
    while True:
        byte = data[pos]
        pos += 1
        value = value << 7 | byte & 0x7F
        if byte < 0x80:
            return value, pos


def main(path):
    with open(path, "rb") as f:
        data = bytearray(f.read())
    stamp = int(os.environ.get("SOURCE_DATE_EPOCH", "0")) & 0xFFFFFFFF
    at = data.find(SYSTEM_ENTRY)
    if data[:4] != b"ITSF" or at < 0:
        sys.exit(f"{path}: not a help file with a #SYSTEM file")
    section, at = encint(data, at + len(SYSTEM_ENTRY))
    offset, at = encint(data, at)
    length, _ = encint(data, at)
    if section != 0:
        sys.exit(f"{path}: #SYSTEM is compressed")
    struct.pack_into("<I", data, HEADER_TIME, stamp)
    start = struct.unpack_from("<Q", data, CONTENT_OFFSET)[0] + offset
    pos = start + 4  # after the file's version
    while pos < start + length:
        code, size = struct.unpack_from("<HH", data, pos)
        if code == SYSTEM_TIME_CODE:
            struct.pack_into("<I", data, pos + 4, stamp)
        pos += 4 + size
    with open(path, "wb") as f:
        f.write(data)


if __name__ == "__main__":
    main(sys.argv[1])
