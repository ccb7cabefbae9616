#!/usr/bin/env python3
"""Writes the service slots, entries and bind stubs from binding/services.txt.

usage: genServices.py services.txt out.S out.h

Every slot gets three things: a pointer cell (initially its bind stub), an
entry that is one indirect jump through the cell, and a bind stub that pushes
the entry's address, the cell's address and the service number and jumps to
the shared binder in bindStub.S. Entries are named by number; the second slot
of a number declared twice gets the suffix _2.
"""
import sys


def read_numbers(path):
    numbers = []
    with open(path, encoding="ascii") as f:
        for line in f:
            line = line.split("#", 1)[0]
            for token in line.split(","):
                token = token.strip()
                if not token:
                    continue
                if "-" in token:
                    first, last = (int(t) for t in token.split("-"))
                    if last < first:
                        sys.exit(f"{path}: empty range {token}")
                    numbers.extend(range(first, last + 1))
                else:
                    numbers.append(int(token))
    for n in numbers:
        if not 0 < n < 0x10000:
            sys.exit(f"{path}: {n} is not a service number")
    return numbers


def entry_names(numbers):
    seen = {}
    names = []
    for n in numbers:
        seen[n] = seen.get(n, 0) + 1
        names.append(f"serviceEntry{n}" + ("" if seen[n] == 1 else f"_{seen[n]}"))
    return names


def write_asm(path, source, numbers, names):
    out = [f"/* generated from {source} by binding/genServices.py; do not edit */",
           "/* Register contract: an entry touches no register and no stack cell;",
           "   a bind stub pushes three constants and jumps to bindCommon, which",
           "   restores every register before the entry runs again. */",
           "    .cfi_sections .debug_frame",
           "    .data",
           "    .p2align 2",
           "    .globl _serviceSlots",
           "_serviceSlots:"]
    for i, n in enumerate(numbers):
        out.append(f"    .long bindStub{i}  /* {n} */")
    out += ["    .globl _serviceSlotsEnd", "_serviceSlotsEnd:", "",
            "    .text", "    .p2align 4", "    .globl _serviceEntries", "_serviceEntries:"]
    for i, name in enumerate(names):
        out += [f"    .globl _{name}",
                f"_{name}:",
                f"    jmp *_serviceSlots+{4 * i}"]
    out += ["    .globl _serviceEntriesEnd", "_serviceEntriesEnd:", "",
            "    .p2align 4", "    .globl _bindStubs", "_bindStubs:"]
    for i, (n, name) in enumerate(zip(numbers, names)):
        out += [f"bindStub{i}:",
                "    .cfi_startproc",
                f"    pushl $_{name}",
                "    .cfi_adjust_cfa_offset 4",
                f"    pushl $_serviceSlots+{4 * i}",
                "    .cfi_adjust_cfa_offset 4",
                f"    pushl ${n}",
                "    .cfi_adjust_cfa_offset 4",
                "    jmp _bindCommon",
                "    .cfi_endproc"]
    out += ["    .globl _bindStubsEnd", "_bindStubsEnd:", ""]
    with open(path, "w", encoding="ascii") as f:
        f.write("\n".join(out))


def write_header(path, source, numbers):
    rows = []
    for i in range(0, len(numbers), 12):
        rows.append("    " + ", ".join(str(n) for n in numbers[i:i + 12]) + ",")
    text = f"""// generated from {source} by binding/genServices.py; do not edit
#pragma once
#include <cstdint>

inline constexpr int serviceSlotCount = {len(numbers)};

// Service number of every slot, in slot order.
inline constexpr std::uint16_t serviceSlotNumbers[serviceSlotCount] = {{
{chr(10).join(rows)}
}};

using ServiceSlot = void*;

extern "C" {{
extern ServiceSlot serviceSlots[serviceSlotCount];
extern ServiceSlot serviceSlotsEnd[];
extern unsigned char serviceEntries[], serviceEntriesEnd[];
extern unsigned char bindStubs[], bindStubsEnd[];
}}
"""
    with open(path, "w", encoding="ascii") as f:
        f.write(text)


def main():
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    source, asm, header = sys.argv[1:]
    numbers = read_numbers(source)
    names = entry_names(numbers)
    write_asm(asm, "binding/services.txt", numbers, names)
    write_header(header, "binding/services.txt", numbers)


if __name__ == "__main__":
    main()
