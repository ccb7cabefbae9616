"""Runs vantreo-sim and the built binaries for the end-to-end tests."""
import os
import subprocess
import tempfile
from dataclasses import dataclass, field
from pathlib import Path

from tests import pace

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


def run_sim(*args, stdin=None):
    """Runs the simulator with a transcript; returns what it printed and did."""
    with tempfile.TemporaryDirectory() as tmp:
        transcript = Path(tmp) / "transcript.txt"
        command = [str(WINE_RUN), str(SIM), "--transcript", wine_path(transcript), *map(str, args)]
        done = pace.run(command, pace.session_paces(1), "vantreo-sim " + " ".join(map(str, args)),
                        input=stdin, capture_output=True, cwd=BIN)
        lines = transcript.read_text(encoding="utf-8").splitlines() if transcript.exists() else []
    return Run(done.returncode, done.stdout.decode("utf-8", "replace"),
               done.stderr.decode("utf-8", "replace"), lines)


def run_program(name, *args, paces=2):
    """Runs one of the Win32 test programs of the build; `paces` is its normal
    work in Wine starts (see tests/pace.py)."""
    done = pace.run([str(WINE_RUN), str(BIN / name), *map(str, args)], paces, name,
                    capture_output=True, cwd=BIN)
    return Run(done.returncode, done.stdout.decode("utf-8", "replace"),
               done.stderr.decode("utf-8", "replace"))


def tool(*command):
    return subprocess.run(command, capture_output=True, text=True, check=True).stdout


def run_sessions(*sessions, option_file=False):
    """Runs several simulator sessions in one process (one Wine start); each
    session is a list of arguments. With option_file the arguments go to the
    simulator in a file (@FILE), one per line, a blank line around each
    --then. Returns one Run per session."""
    with tempfile.TemporaryDirectory() as tmp:
        arguments = []
        transcripts = []
        for i, args in enumerate(sessions):
            transcript = Path(tmp) / f"transcript{i + 1}.txt"
            transcripts.append(transcript)
            if i:
                arguments += ["", "--then", ""] if option_file else ["--then"]
            arguments += ["--transcript", wine_path(transcript), *map(str, args)]
        if option_file:
            options = Path(tmp) / "options.txt"
            options.write_text("\n".join(arguments) + "\n", encoding="utf-8")
            arguments = ["@" + wine_path(options)]
        command = [str(WINE_RUN), str(SIM), *arguments]
        done = pace.run(command, pace.session_paces(len(sessions)),
                        f"vantreo-sim with {len(sessions)} sessions", capture_output=True, cwd=BIN)
        out = _split_sessions(done.stdout.decode("utf-8", "replace"), len(sessions))
        err = _split_sessions(done.stderr.decode("utf-8", "replace"), len(sessions))
        runs = []
        for i, transcript in enumerate(transcripts):
            lines = transcript.read_text(encoding="utf-8").splitlines() if transcript.exists() else []
            status = out[i][1] if len(sessions) > 1 else done.returncode
            runs.append(Run(status, out[i][0], err[i][0], lines))
    return runs


def _split_sessions(text, count):
    """[(text, status)] per session from the '=== session N' markers."""
    if count == 1:
        return [(text, None)]
    parts = [["", None] for _ in range(count)]
    current = None
    for line in text.splitlines(keepends=True):
        head = line.strip().split()
        if len(head) >= 3 and head[0] == "===" and head[1] == "session":
            index = int(head[2]) - 1
            if len(head) == 5 and head[3] == "exit":
                parts[index][1] = int(head[4])
                current = None
            else:
                current = index
            continue
        if current is not None:
            parts[current][0] += line
    return [tuple(p) for p in parts]
