#!/usr/bin/env python3
"""Compares a PE image's import tables with a golden list, and checks that its
delay-import directory is set and its checksum right.

usage: checkImports.py LLVM_READOBJ IMAGE GOLDEN

Reads the tables back with llvm-readobj, a reader of its own, so that neither
the project's generators nor its post-link step judge themselves.
"""
import re
import struct
import subprocess
import sys


def read_golden(path):
    tables, current = [], None
    with open(path, encoding="ascii") as f:
        for line in f:
            if not line.strip() or line.startswith("#"):
                continue
            if line.startswith("  "):
                current[2].append(line.strip())
            else:
                kind, library = line.split()
                current = (kind, library, [])
                tables.append(current)
    return tables


def read_image(readobj, image):
    text = subprocess.run([readobj, "--coff-imports", image], check=True,
                          capture_output=True, text=True).stdout
    tables, depth = [], 0
    for line in text.splitlines():
        line = line.strip()
        if line.endswith("{"):
            depth += 1
            if depth == 1:
                kind = "delay" if line.startswith("DelayImport") else "load"
                tables.append([kind, None, []])
            continue
        if line == "}":
            depth -= 1
            continue
        if depth == 0:
            continue
        m = re.match(r"^Name: (\S+)$", line)
        if m and tables[-1][1] is None:
            tables[-1][1] = m.group(1)
        m = re.match(r"^Symbol: (\S*) \((\d+)\)$", line)
        if m:
            tables[-1][2].append(m.group(1) or f"#{m.group(2)}")
    return [tuple(t) for t in tables]


def pe_checksum(data):
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    offset = pe + 24 + 64
    stored = struct.unpack_from("<I", data, offset)[0]
    body = data[:offset] + b"\0\0\0\0" + data[offset + 4:]
    if len(body) % 2:
        body += b"\0"
    total = 0
    for (word,) in struct.iter_unpack("<H", body):
        total += word
        total = (total & 0xFFFF) + (total >> 16)
    total = (total & 0xFFFF) + (total >> 16)
    delay_directory = struct.unpack_from("<II", data, pe + 24 + 96 + 8 * 13)
    return stored, (total + len(data)) & 0xFFFFFFFF, delay_directory


def main():
    readobj, image, golden = sys.argv[1:]
    failures = []
    want = read_golden(golden)
    have = read_image(readobj, image)

    def key(t):
        return (t[0], t[1])

    want_keys = [key(t) for t in want]
    have_keys = [key(t) for t in have]
    if sorted(want_keys) != sorted(have_keys):
        failures.append(f"libraries: expected {want_keys}, found {have_keys}")
    have_by_key = {key(t): t[2] for t in have}
    for kind, library, names in want:
        found = have_by_key.get((kind, library))
        if found is None:
            continue
        if kind == "load":
            missing = sorted(set(names) - set(found))
            extra = sorted(set(found) - set(names))
            if missing or extra or len(found) != len(set(found)):
                failures.append(f"{library}: missing {missing}, unexpected {extra}")
        elif found != names:
            failures.append(f"{library} (delay): expected {names}, found {found}")

    with open(image, "rb") as f:
        data = f.read()
    stored, computed, (delay_rva, delay_size) = pe_checksum(data)
    if stored != computed:
        failures.append(f"checksum: stored {stored:#x}, computed {computed:#x}")
    delay_libraries = sum(1 for t in want if t[0] == "delay")
    if delay_rva == 0 or delay_size != 32 * (delay_libraries + 1):
        failures.append(f"delay-import directory: {delay_rva:#x}, {delay_size} bytes")

    checks = 3 + len(want)
    for failure in failures:
        print("FAIL", failure)
    print(f"imports: {checks - len(failures)} passed, {len(failures)} failed")
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
