#!/usr/bin/env python3
"""Points a linked PE32 image's delay-import directory at its descriptors.

usage: setDelayImportDirectory.py IMAGE

GNU ld leaves data directory 13 empty for delay imports it did not make
itself. This reads the image's COFF symbol table for _delayImportDescriptors
and _delayImportDescriptorsEnd (binding/genDelayImports.py), writes their
image-relative address and size into the directory and recomputes the
image checksum. Running it twice changes nothing.
"""
import struct
import sys

DELAY_IMPORT_DIRECTORY = 13


def checksum(image, checksum_offset):
    total = 0
    data = image[:checksum_offset] + b"\0\0\0\0" + image[checksum_offset + 4:]
    if len(data) % 2:
        data += b"\0"
    for (word,) in struct.iter_unpack("<H", data):
        total += word
        total = (total & 0xFFFF) + (total >> 16)
    total = (total & 0xFFFF) + (total >> 16)
    return (total + len(image)) & 0xFFFFFFFF


class Image:
    def __init__(self, data):
        self.data = data
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        if data[pe:pe + 4] != b"PE\0\0":
            raise ValueError("not a PE image")
        coff = pe + 4
        (_, sections, _, self.symbol_table, self.symbol_count, optional_size,
         _) = struct.unpack_from("<HHIIIHH", data, coff)
        self.optional = coff + 20
        if struct.unpack_from("<H", data, self.optional)[0] != 0x10B:
            raise ValueError("not a PE32 image")
        self.checksum_offset = self.optional + 64
        self.directories = self.optional + 96
        table = self.optional + optional_size
        self.sections = [struct.unpack_from("<8sIIII", data, table + 40 * i)
                         for i in range(sections)]

    def symbols(self):
        """Name -> image-relative address, for section-relative symbols."""
        strings = self.symbol_table + 18 * self.symbol_count
        found, i = {}, 0
        while i < self.symbol_count:
            entry = self.symbol_table + 18 * i
            raw, value, section, _, _, aux = struct.unpack_from("<8sIhHBB", self.data, entry)
            if raw[:4] == b"\0\0\0\0":
                offset = struct.unpack_from("<I", raw, 4)[0]
                end = self.data.index(b"\0", strings + offset)
                name = self.data[strings + offset:end].decode("ascii", "replace")
            else:
                name = raw.rstrip(b"\0").decode("ascii", "replace")
            if 0 < section <= len(self.sections):
                found[name] = self.sections[section - 1][2] + value
            i += 1 + aux
        return found


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    path = sys.argv[1]
    with open(path, "rb") as f:
        data = bytearray(f.read())
    image = Image(bytes(data))
    if not image.symbol_table:
        sys.exit(f"{path}: no symbol table, cannot find the delay-import descriptors")
    symbols = image.symbols()
    try:
        start = symbols["_delayImportDescriptors"]
        end = symbols["_delayImportDescriptorsEnd"]
    except KeyError:
        sys.exit(f"{path}: no _delayImportDescriptors symbol")
    entry = image.directories + 8 * DELAY_IMPORT_DIRECTORY
    struct.pack_into("<II", data, entry, start, end - start)
    struct.pack_into("<I", data, image.checksum_offset, checksum(bytes(data), image.checksum_offset))
    with open(path, "wb") as f:
        f.write(data)


if __name__ == "__main__":
    main()
