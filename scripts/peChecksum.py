#!/usr/bin/env python3
"""Writes a PE image's checksum anew; the last step after any edit of the file.

usage: peChecksum.py IMAGE
"""
import struct
import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / "binding"))
from setDelayImportDirectory import Image, checksum  # noqa: E402


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    path = Path(sys.argv[1])
    data = bytearray(path.read_bytes())
    offset = Image(bytes(data)).checksum_offset
    struct.pack_into("<I", data, offset, checksum(bytes(data), offset))
    path.write_bytes(data)


if __name__ == "__main__":
    main()
