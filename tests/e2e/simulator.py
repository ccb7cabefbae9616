"""Runs vantreo-sim and the built binaries for the end-to-end tests."""
import os
import subprocess
import tempfile
from dataclasses import dataclass, field
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
BUILD = Path(os.environ.get("KORV_BUILD", ROOT / "build" / "win32"))
BIN = BUILD / "bin"
SIM = BIN / "vantreo-sim.exe"
PLUGIN = BIN / "korvandilek.dll"
WINE_RUN = ROOT / "scripts" / "wine-run"

EXIT_OK, EXIT_LEDGER, EXIT_USAGE, EXIT_NOT_LOADABLE, EXIT_REFUSED, EXIT_FAULT = range(6)


@dataclass
class Run:
    status: int
    out: str
    err: str
    transcript: list = field(default_factory=list)

    def lines(self, prefix):
        """Transcript lines that start with prefix."""
        return [line for line in self.transcript if line.startswith(prefix)]

    def describe(self):
        return (f"exit {self.status}\n--- stdout\n{self.out}\n--- stderr\n{self.err}\n"
                f"--- transcript\n" + "\n".join(self.transcript))


def wine_path(path):
    return "Z:" + str(path).replace("/", "\\")


def run_sim(*args, stdin=None, timeout=300):
    """Runs the simulator with a transcript; returns what it printed and did."""
    with tempfile.TemporaryDirectory() as tmp:
        transcript = Path(tmp) / "transcript.txt"
        command = [str(WINE_RUN), str(SIM), "--transcript", wine_path(transcript), *map(str, args)]
        done = subprocess.run(command, input=stdin, capture_output=True, timeout=timeout, cwd=BIN)
        lines = transcript.read_text(encoding="utf-8").splitlines() if transcript.exists() else []
    return Run(done.returncode, done.stdout.decode("utf-8", "replace"),
               done.stderr.decode("utf-8", "replace"), lines)


def run_program(name, *args, timeout=300):
    """Runs one of the Win32 test programs of the build."""
    done = subprocess.run([str(WINE_RUN), str(BIN / name), *map(str, args)],
                          capture_output=True, timeout=timeout, cwd=BIN)
    return Run(done.returncode, done.stdout.decode("utf-8", "replace"),
               done.stderr.decode("utf-8", "replace"))


def tool(*command):
    return subprocess.run(command, capture_output=True, text=True, check=True).stdout
