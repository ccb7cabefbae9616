"""scripts/wine-run's own waits and filter, with stand-ins for Wine's commands
on PATH: a wait that never ends is cut at its bound with one line that says
what did not finish, and Wine's last words when its server dies are said in
the project's own."""
import os
import subprocess
import tempfile
import time
import unittest
from pathlib import Path

from tests.e2e.simulator import WINE_RUN

# Stand-ins for Wine's commands: each does what the case asks of it.
HANGS = 'mkdir -p "$WINEPREFIX"; exec sleep 1000\n'
QUICK = "exit 0\n"
SERVER_DIES = ('echo "wine client error:0: write: Bad file descriptor" >&2\n'
               'echo "the program\'s own line" >&2\nexit 3\n')


class WineRunTest(unittest.TestCase):
    def start(self, folder, wineboot, wine, prefix_ready, *args):
        """Starts wine-run with stand-ins in a folder of its own; returns the process."""
        folder = Path(folder)
        bin_dir = folder / "bin"
        bin_dir.mkdir()
        for name, body in {"wineboot": wineboot, "wine": wine, "wineserver": QUICK}.items():
            path = bin_dir / name
            path.write_text("#!/bin/sh\n" + body)
            path.chmod(0o755)
        prefix = folder / "prefix"
        if prefix_ready:
            prefix.mkdir()
            (prefix / ".korvandilek-ready").touch()
        env = {**os.environ, "PATH": f"{bin_dir}:{os.environ['PATH']}", "WINEPREFIX": str(prefix),
               "XDG_CACHE_HOME": str(folder / "cache"), "KORV_WINE_PACE": "0.1"}
        return subprocess.Popen([str(WINE_RUN), *args], env=env, stdin=subprocess.DEVNULL,
                                stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True,
                                start_new_session=True)

    def test_waits_that_never_end_are_cut_with_one_line(self):
        cases = {
            # wineboot -i never returns: the prefix is not made, nor left half made.
            "prefix": dict(wineboot=HANGS, wine=QUICK, prefix_ready=False,
                           line="Making the Wine prefix (wineboot -i) did not finish within 30 s"),
            # The program that starts Wine's session never returns.
            "session": dict(wineboot=QUICK, wine=HANGS, prefix_ready=True,
                            line="Starting Wine's session (wine cmd.exe /c exit 0) did not finish within 30 s"),
        }
        with tempfile.TemporaryDirectory() as tmp:
            started = time.monotonic()
            runs = {}
            for name, case in cases.items():
                folder = Path(tmp) / name
                folder.mkdir()
                runs[name] = (folder, self.start(folder, case["wineboot"], case["wine"],
                                                 case["prefix_ready"], "program.exe"))
            for name, (folder, process) in runs.items():
                with self.subTest(name):
                    out, err = process.communicate(timeout=120)
                    self.assertNotEqual(process.returncode, 0, err)
                    lines = err.splitlines()
                    self.assertEqual(len([l for l in lines if "did not finish" in l]), 1, err)
                    self.assertIn(cases[name]["line"], err)
                    self.assertIn("run again", err)
                    self.assertEqual(out, "")
            self.assertLess(time.monotonic() - started, 100)
            self.assertFalse((runs["prefix"][0] / "prefix").exists(), "a prefix made in part is removed")

    def test_the_servers_end_is_said_in_the_projects_words(self):
        with tempfile.TemporaryDirectory() as tmp:
            process = self.start(tmp, QUICK, SERVER_DIES, True, "program.exe")
            out, err = process.communicate(timeout=120)
        self.assertEqual(process.returncode, 3, "the program's exit status passes")
        self.assertNotIn("wine client error", err)
        self.assertEqual(err.splitlines()[-2:], [
            "wine-run: the Wine server ended under the program; the next program starts a new Wine session",
            "the program's own line"])


if __name__ == "__main__":
    unittest.main()
