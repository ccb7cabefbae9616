"""The plug-in's OS binding seen from the host: the import tables of the built
DLL, the missing-service report in the operating system's box (the simulator's
scripted stand-in), and every service the plug-in calls withheld in turn."""
import re
import subprocess
import unittest

from tests.e2e import simulator
from tests.e2e.simulator import EXIT_FAULT, EXIT_OK, PLUGIN, ROOT
from tests.pe.disassemble import routine, symbol_table

GOLDEN_IMPORTS = ROOT / "tests" / "pe" / "korvandilek.imports"
GOLDEN_THUNKS = ROOT / "tests" / "pe" / "korvandilek.thunks"

REPORT_CAPTION = "POWAŻNY BŁĄD WTYCZKI"
REPORT_TAIL = [
    "Wywołano z wtyczki  'Dorvantelisken' .",
    "",
    "Błąd ten można zignorować lecz dalsza praca",
    "programu w tych warunkach może być niebezpieczna.",
    "",
    "Konieczna jest aktualizacja programu!",
]

# The services the plug-in calls, as frame/hostServices.h declares them.
SERVICES_CALLED = [52005, 52006, 52026, 52028, 52030, 52034, 52040, 52128, 52158, 52161,
                   52179, 52249, 52256, 52267, 52278, 52279, 52281, 52311, 21286, 21287,
                   30204, 30908, 31708, 32008, 32300, 32408]


def boxes(stderr):
    """[(caption, [lines])] of the '[box]' blocks on standard error."""
    found = []
    for line in stderr.splitlines():
        if line.startswith("[box] "):
            found.append((line[6:], []))
        elif line.startswith("[") and re.match(r"^\[\w+\]", line):
            found.append((None, []))  # another kind of block ends a box
        elif found:
            found[-1][1].append(line)
    return [(caption, lines[:8]) for caption, lines in found if caption is not None]


class ImportTablesTest(unittest.TestCase):
    def test_tables_equal_the_golden_list(self):
        done = subprocess.run(
            ["python3", str(ROOT / "tests" / "pe" / "checkImports.py"), "llvm-readobj", str(PLUGIN),
             str(GOLDEN_IMPORTS)], capture_output=True, text=True)
        self.assertEqual(done.returncode, 0, done.stdout + done.stderr)


class ThunkCodeTest(unittest.TestCase):
    def test_thunks_equal_the_golden_text(self):
        golden, name = {}, None
        for line in GOLDEN_THUNKS.read_text(encoding="ascii").splitlines():
            if not line.strip() or line.startswith("#"):
                continue
            if line.startswith("  "):
                golden[name].append(line.strip())
            else:
                name = line.strip()
                golden[name] = []
        symbols = symbol_table(PLUGIN)
        for name, instructions in golden.items():
            with self.subTest(routine=name):
                self.assertEqual(routine(PLUGIN, name, symbols), instructions)


class MissingServiceReportTest(unittest.TestCase):
    """Every case is a session of one simulator process."""

    CASES = {
        "ignore": (52179, "ignore"),
        "retry twice": (52179, "retry,retry,ignore"),
        "abort": (52179, "abort"),
        **{f"withheld {n}": (n, ",".join(["ignore"] * 4)) for n in SERVICES_CALLED},
    }

    @classmethod
    def setUpClass(cls):
        runs = simulator.run_sessions(
            *(["--without", number, "--box-answers", answers, "--rows"]
              for number, answers in cls.CASES.values()))
        cls.runs = {case: (run, boxes(run.err)) for case, run in zip(cls.CASES, runs)}

    def test_report_text_line_by_line(self):
        run, shown = self.runs["ignore"]
        self.assertEqual(run.status, EXIT_OK, run.describe())
        self.assertGreaterEqual(len(shown), 1, run.describe())
        caption, lines = shown[0]
        self.assertEqual(caption, REPORT_CAPTION)
        self.assertRegex(lines[0], r"^W module  [A-Z]:\\.*\\vantreo-sim\.exe $")
        self.assertEqual(lines[1], "brak wpisu  52179 ")
        self.assertEqual(lines[2:], REPORT_TAIL)
        self.assertEqual(len(shown), 1, "a service reported once is not reported again")

    def test_retry_twice_then_ignore_shows_three_boxes(self):
        run, shown = self.runs["retry twice"]
        self.assertEqual(run.status, EXIT_OK, run.describe())
        self.assertEqual(len(shown), 3, run.describe())
        self.assertTrue(all(box == shown[0] for box in shown))

    def test_abort_ends_the_pending_call_where_the_host_sees_it(self):
        run, shown = self.runs["abort"]
        self.assertEqual(len(shown), 1, run.describe())
        self.assertEqual(run.status, EXIT_FAULT, run.describe())
        self.assertIn("host service 52179 could not be bound", run.err)

    def test_each_service_called_withheld_with_ignore(self):
        # From load to the closed dialog: every service the run asks for.
        for number in SERVICES_CALLED:
            with self.subTest(service=number):
                run, shown = self.runs[f"withheld {number}"]
                self.assertEqual(run.status, EXIT_OK, run.describe())
                asked = run.lines(f"callback 2 {number} ")
                if asked:
                    self.assertEqual(len(shown), 1, run.describe())
                    self.assertEqual(shown[0][1][1], f"brak wpisu  {number} ")
                else:
                    self.assertEqual(shown, [], run.describe())

if __name__ == "__main__":
    unittest.main()
