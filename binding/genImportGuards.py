#!/usr/bin/env python3
"""Writes the import guard table and the guards from binding/importGuards.txt.

usage: genImportGuards.py importGuards.txt out.S out.h

Each line of the list names a function and its number of 4-byte arguments.
The table (importGuardTable) is one flag byte followed directly by one cell
per function, which first holds the address of the function's import cell
(__imp__Name@bytes, whichever library supplies it). Each guard pushes the
address of its table cell and jumps to the body shared by all guards of its
argument count.
"""
import sys

MAX_ARGUMENTS = 8


def read_guards(path):
    guards = []
    with open(path, encoding="ascii") as f:
        for number, line in enumerate(f, 1):
            words = line.split("#", 1)[0].split()
            if not words:
                continue
            if len(words) != 2 or not words[1].isdigit():
                sys.exit(f"{path}:{number}: expected 'Function arguments'")
            name, count = words[0], int(words[1])
            if count > MAX_ARGUMENTS:
                sys.exit(f"{path}:{number}: more than {MAX_ARGUMENTS} arguments")
            guards.append((name, count))
    names = [g[0] for g in guards]
    if len(set(names)) != len(names):
        sys.exit(f"{path}: a function is listed twice")
    return guards


def write_asm(path, banner, guards):
    out = [f"/* {banner} */",
           "/* Register contract of a guard: called in place of the function, with",
           "   the caller's return address and N argument cells on the stack. It",
           "   keeps EBX, ECX, EDX, ESI, EDI and EBP as the caller left them, returns",
           "   the function's EAX, and removes the N arguments as the function would.",
           "   The flags are not kept. The guard pushes the address of its table cell",
           "   and jumps to the body for N, which saves all eight registers, pushes",
           "   copies of the N arguments, calls through the cell (the function removes",
           "   the copies), puts EAX into the saved EAX and restores all eight. */",
           "    .cfi_sections .debug_frame",
           "",
           "    .data",
           "    .globl _importGuardTable",
           "_importGuardTable:",
           "    .byte 0                      /* installed */"]
    for name, count in guards:
        out.append(f"    .long __imp__{name}@{4 * count}")
    out += ["", "    .text"]
    for n in range(MAX_ARGUMENTS + 1):
        out += ["    .p2align 4",
                f"guardBody{n}:",
                "    .cfi_startproc",
                "    .cfi_adjust_cfa_offset 4     /* the table cell's address */",
                "    pushal",
                "    .cfi_adjust_cfa_offset 32"]
        # Above the 32 saved bytes: the cell address, the return address, then
        # the arguments. Each push moves the next lower argument to the same
        # displacement, so one displacement serves all N pushes.
        for _ in range(n):
            out += [f"    pushl {40 + 4 * (n - 1)}(%esp)",
                    "    .cfi_adjust_cfa_offset 4"]
        out += [f"    movl {32 + 4 * n}(%esp), %eax  /* the table cell */",
                "    call *(%eax)",
                f"    .cfi_adjust_cfa_offset {-4 * n}" if n else "    /* no copies */",
                "    movl %eax, 28(%esp)          /* into the saved EAX */",
                "    popal",
                "    .cfi_adjust_cfa_offset -32",
                "    lea 4(%esp), %esp            /* drop the cell address */",
                "    .cfi_adjust_cfa_offset -4",
                f"    ret ${4 * n}" if n else "    ret",
                "    .cfi_endproc"]
    out += ["", "    .p2align 4", "    .globl _importGuardCode", "_importGuardCode:"]
    for i, (name, count) in enumerate(guards):
        out += [f"importGuard{i}:  /* {name} */",
                "    .cfi_startproc",
                f"    pushl $_importGuardTable+{1 + 4 * i}",
                "    .cfi_adjust_cfa_offset 4",
                f"    jmp guardBody{count}",
                "    .cfi_endproc"]
    out += ["    .globl _importGuardCodeEnd", "_importGuardCodeEnd:", "",
            "    .section .rdata,\"dr\"", "    .p2align 2",
            "    .globl _importGuards", "_importGuards:"]
    out += [f"    .long importGuard{i}" for i in range(len(guards))]
    out.append("")
    with open(path, "w", encoding="ascii") as f:
        f.write("\n".join(out))


def write_header(path, banner, guards):
    rows = "\n".join(f"    {{\"{name}\", {count}}}," for name, count in guards)
    text = f"""// {banner}
#pragma once
#include <cstdint>

inline constexpr int importGuardCount = {len(guards)};

struct ImportGuardDeclaration {{
    const char* function;
    int arguments;  // 4-byte cells
}};

inline constexpr ImportGuardDeclaration importGuardDeclarations[importGuardCount] = {{
{rows}
}};

// Patched at attach: the flag, then one cell per guard, which holds the
// address of an import cell before installation and that cell's old value
// after it.
struct __attribute__((packed)) ImportGuardTable {{
    std::uint8_t installed;
    std::uintptr_t cells[importGuardCount];
}};
static_assert(sizeof(ImportGuardTable) == 1 + 4 * importGuardCount,
              "the cells follow the flag byte directly");

extern "C" {{
extern ImportGuardTable importGuardTable;
// The guards, in table order; each calls through its own cell.
extern void* const importGuards[importGuardCount];
extern unsigned char importGuardCode[], importGuardCodeEnd[];
}}
"""
    with open(path, "w", encoding="ascii") as f:
        f.write(text)


def main():
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    source, asm, header = sys.argv[1:]
    guards = read_guards(source)
    banner = "generated from binding/importGuards.txt by binding/genImportGuards.py; do not edit"
    write_asm(asm, banner, guards)
    write_header(header, banner, guards)


if __name__ == "__main__":
    main()
