"""The release that scripts/release.sh writes to dist/: the stripped plug-in
keeps the build's tables and shows its version, its debug information lies
beside it under a checked link, and a copy of the checkout built in another
folder gives the same bytes."""
import re
import shutil
import subprocess
import sys
import tempfile
import unittest
import zlib
from pathlib import Path

from tests.e2e.simulator import PLUGIN, ROOT, tool

try:
    import pefile
except ImportError:  # a Python of its own in front of Debian's (python3-pefile)
    sys.path.append("/usr/lib/python3/dist-packages")
    import pefile

DIST = ROOT / "dist"
RELEASE = DIST / "korvandilek.dll"
DEBUG = DIST / "korvandilek.dll.debug"
GOLDEN_IMPORTS = ROOT / "tests" / "pe" / "korvandilek.imports"
RELEASE_TIMEOUT = 1800


def release(checkout):
    done = subprocess.run([str(checkout / "scripts" / "release.sh")], capture_output=True,
                          text=True, timeout=RELEASE_TIMEOUT)
    if done.returncode:
        raise AssertionError(f"release.sh in {checkout}: exit {done.returncode}\n{done.stderr}")


def copy_checkout(destination):
    """The checkout's files as they are now, tracked or new, without what git ignores."""
    names = subprocess.run(["git", "-C", str(ROOT), "ls-files", "-z", "--cached", "--others",
                            "--exclude-standard"], capture_output=True, check=True).stdout
    for name in filter(None, names.decode().split("\0")):
        source = ROOT / name
        if not source.exists():
            continue  # deleted but not yet committed
        target = destination / name
        target.parent.mkdir(parents=True, exist_ok=True)
        shutil.copy2(source, target)


def sections(image):
    return re.findall(r"^\s*\d+ (\S+)", tool("i686-w64-mingw32-objdump", "-h", str(image)),
                      re.MULTILINE)


class ReleaseTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        release(ROOT)
        cls.sums = (DIST / "SHA256SUMS").read_text()
        with tempfile.TemporaryDirectory(prefix="korvandilek-elsewhere-") as tmp:
            elsewhere = Path(tmp) / "checkout"
            copy_checkout(elsewhere)
            release(elsewhere)
            cls.elsewhere_sums = (elsewhere / "dist" / "SHA256SUMS").read_text()

    def test_same_bytes_from_a_checkout_elsewhere(self):
        self.assertEqual(self.elsewhere_sums, self.sums)

    def test_sums_check(self):
        done = subprocess.run(["sha256sum", "-c", "SHA256SUMS"], cwd=DIST, capture_output=True,
                              text=True)
        self.assertEqual(done.returncode, 0, done.stdout + done.stderr)
        self.assertEqual(len(self.sums.splitlines()), 2)

    def test_import_tables_checksum_and_delay_directory_equal_the_golden_list(self):
        done = subprocess.run([sys.executable, str(ROOT / "tests" / "pe" / "checkImports.py"),
                               "llvm-readobj", str(RELEASE), str(GOLDEN_IMPORTS)],
                              capture_output=True, text=True)
        self.assertEqual(done.returncode, 0, done.stdout + done.stderr)

    def test_export_table_is_the_build_trees(self):
        # The build tree's export table is pinned by test_binary.
        def exports(image):
            text = tool("llvm-readobj", "--coff-exports", str(image))
            return [line for line in text.splitlines() if not line.startswith("File:")]
        self.assertEqual(exports(RELEASE), exports(PLUGIN))

    def test_debug_sections_move_to_the_linked_file(self):
        self.assertEqual([s for s in sections(RELEASE) if s.startswith(".debug")], [])
        self.assertIn(".debug_info", sections(DEBUG))
        with tempfile.TemporaryDirectory() as tmp:
            dumped = Path(tmp) / "link"
            tool("i686-w64-mingw32-objcopy", f"--dump-section=.gnu_debuglink={dumped}",
                 str(RELEASE), str(Path(tmp) / "copy"))
            data = dumped.read_bytes()
        # The file's name, padded to four bytes, then the CRC-32 of its contents.
        name, _, rest = data.partition(b"\0")
        crc = int.from_bytes(rest[(-len(name) - 1) % 4:][:4], "little")
        self.assertEqual((name, crc), (b"korvandilek.dll.debug", zlib.crc32(DEBUG.read_bytes())))

    def test_version_resource_shows_the_version_file(self):
        version = (ROOT / "VERSION").read_text().strip()
        image = pefile.PE(str(RELEASE))
        strings = {k.decode(): v.decode() for info in image.FileInfo[0]
                   if info.Key == b"StringFileInfo" for table in info.StringTable
                   for k, v in table.entries.items()}
        fixed = image.VS_FIXEDFILEINFO[0]
        numbers = [fixed.FileVersionMS >> 16, fixed.FileVersionMS & 0xFFFF,
                   fixed.FileVersionLS >> 16, fixed.FileVersionLS & 0xFFFF]
        self.assertEqual(
            ({k: strings.get(k) for k in ("FileVersion", "ProductVersion", "FileDescription",
                                          "InternalName", "OriginalFilename")},
             numbers, fixed.ProductVersionMS, fixed.ProductVersionLS),
            ({"FileVersion": version, "ProductVersion": version,
              "FileDescription": "Vantreo plug-in: overdue unpaid invoices",
              "InternalName": "korvandilek", "OriginalFilename": "korvandilek.dll"},
             [*map(int, version.split(".")), 0], fixed.FileVersionMS, fixed.FileVersionLS))


if __name__ == "__main__":
    unittest.main()
