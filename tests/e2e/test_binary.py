"""The built plug-in as the host's loader sees it: its export, its load-time
imports, its entry point and the instructions of its service entries."""
import re
import unittest

from tests.e2e.simulator import PLUGIN, tool


class ExportTest(unittest.TestCase):
    def test_one_nameless_export_at_30001(self):
        text = tool("llvm-readobj", "--coff-exports", str(PLUGIN))
        ordinals = re.findall(r"Ordinal: (\d+)", text)
        names = re.findall(r"Name: (.*)", text)
        self.assertEqual(ordinals, ["30001"])
        self.assertEqual([n.strip() for n in names], [""])

    def test_export_directory_names_the_module(self):
        dump = tool("i686-w64-mingw32-objdump", "-p", str(PLUGIN))
        self.assertRegex(dump, r"\n\s*Name\s+[0-9a-f]+ korvandilek\.dll\n")
        self.assertRegex(dump, r"Ordinal Base\s+30001")

    def test_entry_point_is_library_entry(self):
        start = int(re.search(r"start address 0x([0-9a-f]+)",
                              tool("i686-w64-mingw32-objdump", "-f", str(PLUGIN))).group(1), 16)
        symbols = tool("i686-w64-mingw32-nm", str(PLUGIN))
        entry = int(re.search(r"([0-9a-f]+) T _libraryEntry@12\n", symbols).group(1), 16)
        self.assertEqual(start, entry)


class ServiceEntryCodeTest(unittest.TestCase):
    def test_entries_are_one_indirect_jump(self):
        symbols = tool("i686-w64-mingw32-nm", str(PLUGIN))
        for name in ("_serviceEntry52006", "_serviceEntry20778_2", "_serviceEntry51513"):
            with self.subTest(entry=name):
                address = int(re.search(r"([0-9a-f]+) T " + name + r"\n", symbols).group(1), 16)
                code = tool("i686-w64-mingw32-objdump", "-d", "--no-show-raw-insn",
                            f"--start-address={address:#x}", f"--stop-address={address + 6:#x}",
                            str(PLUGIN))
                body = [l.split("\t", 1)[1].strip() for l in code.splitlines() if re.match(r"\s*[0-9a-f]+:\t", l)]
                self.assertEqual(len(body), 1, code)
                self.assertRegex(body[0], r"^jmp\s+\*0x[0-9a-f]+$")


if __name__ == "__main__":
    unittest.main()
