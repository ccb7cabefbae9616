"""Disassembles named routines of a linked image with addresses replaced by
symbols, so the text does not depend on where the linker put things."""
import re
import subprocess


def symbol_table(image):
    found = {}
    for line in subprocess.run(["i686-w64-mingw32-nm", str(image)], capture_output=True,
                               text=True, check=True).stdout.splitlines():
        parts = line.split()
        if len(parts) == 3:
            found.setdefault(parts[2], int(parts[0], 16))
    return found


def symbolize(value, by_address):
    best = max((a for a in by_address if a <= value), default=None)
    if best is None or value - best > 0x10000:
        return hex(value)
    offset = value - best
    return f"<{by_address[best]}{'+' + str(offset) if offset else ''}>"


def routine(image, name, symbols=None):
    """The instructions of one routine, up to its first ret or jmp."""
    symbols = symbols or symbol_table(image)
    by_address = {}
    for symbol, address in sorted(symbols.items(), key=lambda s: s[0].startswith(".")):
        by_address.setdefault(address, symbol)  # section names only where nothing else
    start = symbols[name]
    text = subprocess.run(["i686-w64-mingw32-objdump", "-d", "--no-show-raw-insn",
                           f"--start-address={start:#x}", f"--stop-address={start + 96:#x}",
                           str(image)], capture_output=True, text=True, check=True).stdout
    lines = []
    for line in text.splitlines():
        m = re.match(r"\s*[0-9a-f]+:\t(.*)", line)
        if not m:
            continue
        instruction = re.sub(r"\s+", " ", m.group(1).strip())
        instruction = re.sub(r" <[^>]*>$", "", instruction)
        instruction = re.sub(r"0x([0-9a-f]{6,8})\b|(?<=jmp )([0-9a-f]{8})\b|(?<=call )([0-9a-f]{8})\b",
                             lambda v: symbolize(int(next(g for g in v.groups() if g), 16), by_address),
                             instruction)
        lines.append(instruction)
        if instruction.startswith(("ret", "jmp")):
            break
    return lines
