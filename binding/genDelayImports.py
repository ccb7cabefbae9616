#!/usr/bin/env python3
"""Writes delay-import tables and thunks from .def files.

usage: genDelayImports.py out.S out.h [--source-root DIR] LIB.def...

Each .def gives a library ("LIBRARY name") and its functions in declaration
order, stdcall ones decorated ("name@bytes"), ordinal-only ones as
"name@bytes @ordinal NONAME". The output is, for the libraries in the order
given:

- the delay-import descriptors (image-relative form) and a zero terminator,
  between _delayImportDescriptors and _delayImportDescriptorsEnd, for the
  post-link step that points data directory 13 at them;
- per library: its name, a module-handle cell, the import cells (IAT) and the
  name table (INT), both in declaration order and zero-terminated, and the
  hint/name entries (names undecorated);
- per function: __imp_ symbol on its import cell, which first holds the
  function's load thunk; a plain symbol that jumps through the cell; and the
  load thunk, which hands the cell to the library's tail and on to
  __delayLoadHelper2 (binding/delayLoadHelper.cpp).

Everything sits in one object, so the linker keeps every thunk and cell.
"""
import os
import sys


class Function:
    def __init__(self, name, arg_bytes, ordinal):
        self.name = name            # undecorated
        self.arg_bytes = arg_bytes  # None for cdecl
        self.ordinal = ordinal      # None when imported by name

    @property
    def symbol(self):
        base = "_" + self.name
        return base if self.arg_bytes is None else f"{base}@{self.arg_bytes}"


def read_def(path):
    library, functions, in_exports = None, [], False
    with open(path, encoding="ascii") as f:
        for number, line in enumerate(f, 1):
            line = line.split(";", 1)[0].strip()
            if not line:
                continue
            words = line.split()
            if words[0] == "LIBRARY":
                library = words[1].strip('"')
            elif words[0] == "EXPORTS":
                in_exports = True
            elif in_exports:
                name, _, arg_bytes = words[0].partition("@")
                ordinal = None
                rest = words[1:]
                if rest:
                    if len(rest) != 2 or not rest[0].startswith("@") or rest[1] != "NONAME":
                        sys.exit(f"{path}:{number}: expected 'name@bytes @ordinal NONAME'")
                    ordinal = int(rest[0][1:])
                functions.append(Function(name, int(arg_bytes) if arg_bytes else None, ordinal))
            else:
                sys.exit(f"{path}:{number}: unexpected '{line}'")
    if not library or not functions:
        sys.exit(f"{path}: needs a LIBRARY line and at least one export")
    names = [fn.name for fn in functions]
    if len(set(names)) != len(names):
        sys.exit(f"{path}: a function is declared twice")
    return library, functions


def write_asm(path, banner, libraries):
    out = [f"/* {banner} */",
           "/* Register contract of the load thunks: on entry the caller's return",
           "   address and arguments are on the stack, as for the function itself.",
           "   The thunk keeps ECX and EDX (fastcall and thiscall callers), lets",
           "   __delayLoadHelper2 bind the function and write its import cell, and",
           "   jumps to the function with the caller's stack untouched; EAX and the",
           "   flags are not kept. */",
           "    .cfi_sections .debug_frame",
           "",
           "    .section .rdata,\"dr\"",
           "    .p2align 2",
           "    .globl _delayImportDescriptors",
           "_delayImportDescriptors:"]
    for j, (library, _) in enumerate(libraries):
        out += [f"delayDescriptor{j}:  /* {library} */",
                "    .long 1                      /* grAttrs: image-relative addresses */",
                f"    .rva delayLibraryName{j}",
                f"    .rva delayModuleHandle{j}",
                f"    .rva delayImportCells{j}",
                f"    .rva delayNameTable{j}",
                "    .long 0, 0, 0                /* no bound or unload table, no stamp */"]
    out += ["    .long 0, 0, 0, 0, 0, 0, 0, 0   /* terminator */",
            "    .globl _delayImportDescriptorsEnd",
            "_delayImportDescriptorsEnd:", ""]
    for j, (library, functions) in enumerate(libraries):
        out += [f"delayLibraryName{j}:", f"    .asciz \"{library}\"", "    .p2align 2",
                f"delayNameTable{j}:"]
        for k, fn in enumerate(functions):
            if fn.ordinal is None:
                out.append(f"    .rva delayHintName{j}_{k}")
            else:
                out.append(f"    .long 0x80000000 + {fn.ordinal}  /* {fn.name} */")
        out.append("    .long 0")
        for k, fn in enumerate(functions):
            if fn.ordinal is None:
                out += ["    .p2align 1", f"delayHintName{j}_{k}:", "    .short 0",
                        f"    .asciz \"{fn.name}\""]
        out.append("    .p2align 2")
    out += ["", "    .data", "    .p2align 2"]
    for j, (library, functions) in enumerate(libraries):
        out += [f"delayModuleHandle{j}:", "    .long 0", f"delayImportCells{j}:"]
        for k, fn in enumerate(functions):
            out += [f"    .globl __imp_{fn.symbol}", f"__imp_{fn.symbol}:",
                    f"    .long delayLoad{j}_{k}"]
        out.append("    .long 0")
    out += ["", "    .text"]
    for j, (library, functions) in enumerate(libraries):
        for k, fn in enumerate(functions):
            out += ["    .p2align 2",
                    f"    .globl {fn.symbol}",
                    f"{fn.symbol}:",
                    f"    jmp *__imp_{fn.symbol}",
                    f"delayLoad{j}_{k}:",
                    "    .cfi_startproc",
                    "    pushl %ecx",
                    "    .cfi_adjust_cfa_offset 4",
                    "    pushl %edx",
                    "    .cfi_adjust_cfa_offset 4",
                    f"    pushl $__imp_{fn.symbol}",
                    "    .cfi_adjust_cfa_offset 4",
                    f"    jmp delayTail{j}",
                    "    .cfi_endproc"]
        out += ["    .p2align 2",
                f"delayTail{j}:  /* {library} */",
                "    .cfi_startproc",
                "    .cfi_adjust_cfa_offset 12",
                f"    pushl $delayDescriptor{j}",
                "    .cfi_adjust_cfa_offset 4",
                "    call ___delayLoadHelper2@8  /* removes descriptor and cell */",
                "    .cfi_adjust_cfa_offset -8",
                "    popl %edx",
                "    .cfi_adjust_cfa_offset -4",
                "    popl %ecx",
                "    .cfi_adjust_cfa_offset -4",
                "    jmp *%eax",
                "    .cfi_endproc"]
    out.append("")
    with open(path, "w", encoding="ascii") as f:
        f.write("\n".join(out))


def write_header(path, banner, libraries):
    rows = []
    for library, functions in libraries:
        for fn in functions:
            what = f"\"{fn.name}\"" if fn.ordinal is None else "nullptr"
            rows.append(f"    {{\"{library}\", {what}, {fn.ordinal or 0}}},")
    text = f"""// {banner}
#pragma once

// Every delay import, by library and in declaration order.
struct DelayImportDeclaration {{
    const char* library;
    const char* name;      // null for an ordinal import
    unsigned ordinal;      // 0 for a name import
}};

inline constexpr DelayImportDeclaration delayImportDeclarations[] = {{
{chr(10).join(rows)}
}};

extern "C" {{
// The descriptors, zero-terminated; data directory 13 points here.
extern const unsigned char delayImportDescriptors[], delayImportDescriptorsEnd[];
}}
"""
    with open(path, "w", encoding="ascii") as f:
        f.write(text)


def main():
    args = sys.argv[1:]
    root = None
    if len(args) >= 2 and args[0] == "--source-root":
        root, args = args[1], args[2:]
    if len(args) < 3:
        sys.exit(__doc__)
    asm, header, defs = args[0], args[1], args[2:]
    libraries = [read_def(d) for d in defs]
    shown = [os.path.relpath(d, root) if root else d for d in defs]
    banner = f"generated from {', '.join(shown)} by binding/genDelayImports.py; do not edit"
    write_asm(asm, banner, libraries)
    write_header(header, banner, libraries)


if __name__ == "__main__":
    main()
