"""Time limits for the programs the tests run under Wine, in proportion to how
fast Wine is on the machine at hand.

The pace is the time of one warm Wine start of a small program (the
simulator's --help). Where the kernel runs 32-bit programs it is about a
second; where Wine's loader runs under qemu it is tens of seconds, and every
Win32 test takes longer in about that proportion. A test says how much work it
normally is in paces (measured on both kinds of machine), and its limit is
SLACK times that, so a hang names its test within minutes here and well within
CI's limit there.

./test measures the pace once and hands it on in KORV_WINE_PACE; a test run on
its own measures it the first time it needs it.

    python3 tests/pace.py measure                 prints the pace in seconds
    python3 tests/pace.py run PACES NAME -- CMD   runs CMD with the limit of PACES
"""
import os
import signal
import subprocess
import sys
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parents[1]
BIN = Path(os.environ.get("KORV_BUILD", ROOT / "build" / "win32")) / "bin"
WINE_RUN = ROOT / "scripts" / "wine-run"

# Tests run two at a time and the machine may be busy: a wide margin.
SLACK = 6
FLOOR = 120  # seconds: no limit is shorter, however fast the machine
# One simulator session (load, a few events, the list, unload) in paces.
SESSION_PACES = 0.1

_pace = None


def pace():
    """Seconds of one warm Wine start on this machine."""
    global _pace
    if _pace is None:
        given = os.environ.get("KORV_WINE_PACE")
        _pace = float(given) if given else _measure()
    return _pace


def _measure():
    # The first start may also start Wine's session (minutes under qemu):
    # only the second counts.
    command = [str(WINE_RUN), str(BIN / "vantreo-sim.exe"), "--help"]
    times = []
    for _ in range(2):
        start = time.monotonic()
        subprocess.run(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, cwd=BIN,
                       timeout=3600)
        times.append(time.monotonic() - start)
    measured = max(times[1], 0.5)
    # scripts/wine-run bounds its own waits (prefix, session) by the same pace.
    try:
        Path(os.environ.get("WINEPREFIX", str(ROOT / ".wine")) + ".pace").write_text(f"{measured:.2f}\n")
    except OSError:
        pass
    return measured


def limit(paces):
    """Seconds a program that is normally `paces` Wine starts of work may take."""
    return max(FLOOR, SLACK * paces * pace())


def session_paces(sessions):
    """Normal work of one simulator process running `sessions` sessions."""
    return 1 + SESSION_PACES * sessions


class Hang(AssertionError):
    pass


def run(command, paces, what, input=None, capture_output=False, **options):
    """subprocess.run with the limit for `paces`; a hang raises Hang naming `what`.
    The command runs in a process group of its own, which a hang ends whole:
    Wine's launcher may leave children that hold the caller's pipes."""
    seconds = limit(paces)
    if capture_output:
        options.update(stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    with subprocess.Popen(command, start_new_session=True,
                          stdin=subprocess.PIPE if input is not None else None, **options) as process:
        try:
            out, err = process.communicate(input, timeout=seconds)
        except subprocess.TimeoutExpired:
            os.killpg(process.pid, signal.SIGKILL)
            process.communicate()
            raise Hang(f"{what}: not done after {seconds:.0f} s, normally about {paces:g} Wine "
                       f"starts of {pace():.1f} s: stopped as a hang") from None
    return subprocess.CompletedProcess(command, process.returncode, out, err)


def main(argv):
    if argv[:1] == ["measure"]:
        print(f"{pace():.2f}")
        return 0
    if len(argv) >= 4 and argv[0] == "run" and argv[3] == "--":
        try:
            return run(argv[4:], float(argv[1]), argv[2]).returncode
        except Hang as hang:
            print(hang, file=sys.stderr)
            return 124
    print(__doc__, file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
