"""A host that misbehaves and goes on: plug-in faults that the host survives
(--on-fault continue), scan read errors (--scan-error), and the options of all
of it read from an option file (@FILE). All sessions run in one simulator
process whose options come from one file."""
import unittest

from tests import pace

from tests.e2e.sampleRows import SAMPLE_ROWS
from tests.e2e.simulator import (BIN, EXIT_FAULT, EXIT_OK, EXIT_REFUSED, EXIT_USAGE, SIM, WINE_RUN,
                                 run_sessions)

BINDER_FAULT = "(exception 0xE04B5301)"

CASES = {
    # Every event faults in the plug-in's hook (the previous hook is a bad pointer).
    "each event faults": ["--fault", "previous-hook", "--on-fault", "continue", "--answer", "no",
                          "--events", "4098,7181,7181"],
    # The report for the withheld showDocument is aborted inside the dialog
    # procedure; the dialog goes on and Esc closes it.
    "fault in the dialog": ["--without", "52128", "--box-answers", "abort", "--on-fault", "continue",
                            "--rows", "--keys", "f5,esc", "--end-report"],
    # The report for the withheld hookContext is aborted; every later event calls it again.
    "later calls after abort": ["--without", "52267", "--box-answers", "abort", "--on-fault", "continue",
                                "--answer", "no", "--events", "4098,7181"],
    "no fault": ["--on-fault", "continue", "--rows", "--state-flags", "0x8000", "--end-report"],
    "first scan read fails": ["--scan-error", "1", "--rows", "--end-report"],
    "document scan read fails": ["--scan-error", "2", "--rows", "--end-report"],
    # One line of the option file holds a value with blanks.
    "value with blanks": ["--host-stamp", "Jul 29 2004", "--answer", "no"],
}


def setUpModule():
    global RUNS
    RUNS = dict(zip(CASES, run_sessions(*CASES.values(), option_file=True)))


class OnFaultContinueTest(unittest.TestCase):
    def test_host_goes_on_with_its_next_event(self):
        run = RUNS["each event faults"]
        self.assertEqual(run.status, EXIT_FAULT, run.describe())
        faults = [line for line in run.err.splitlines() if "plug-in fault during an event" in line]
        events = run.lines("event ")
        self.assertEqual(len(events), 100, "every scripted event is fired:\n" + run.describe())
        self.assertEqual(len(faults), 100, run.describe())
        self.assertEqual(len(run.lines("fault an event")), 100)
        # Still loaded after its faults: the host ends it with the unload call.
        self.assertIn("unload -> 0", run.transcript)
        self.assertIn("freed", run.transcript)
        self.assertNotIn("freed after a fault", run.transcript)

    def test_fault_in_a_nested_call_abandons_only_that_call(self):
        run = RUNS["fault in the dialog"]
        self.assertEqual(run.status, EXIT_FAULT, run.describe())
        self.assertEqual(run.out.splitlines(), SAMPLE_ROWS)
        self.assertIn("vantreo-sim: plug-in fault during the dialog procedure: host service 52128 could "
                      "not be bound " + BINDER_FAULT + "\n", run.err)
        fault = run.transcript.index("fault the dialog procedure: host service 52128 could not be bound "
                                     + BINDER_FAULT)
        after = run.transcript[fault + 1:]
        # The procedure's command is abandoned; the next key is the next
        # event: the dialog closes, the hook returns and restores the state
        # flags, the plug-in gives its memory back.
        self.assertEqual(after[:2], ["dialog 1001 procedure(1005, 1) -> 0", "key esc"], run.describe())
        self.assertIn("dialog 1001 closed", after)
        self.assertIn("32408 setStateFlags(0x8000, 0) -> 0x0000", after)
        self.assertIn("unload -> 0", after)
        self.assertIn("[end] 1 faults, state flags 0x0000 -> 0x0000, 14 rows listed after 0 faults, "
                      "0 blocks held, 0 scans open\n", run.err)

    def test_later_calls_of_an_aborted_service_end_as_the_first(self):
        run = RUNS["later calls after abort"]
        self.assertEqual(run.status, EXIT_FAULT, run.describe())
        faults = [line for line in run.err.splitlines() if line.startswith("vantreo-sim: plug-in fault")]
        self.assertEqual(len(faults), 100, run.describe())
        self.assertEqual(set(faults), {"vantreo-sim: plug-in fault during an event: host service 52267 could "
                                       "not be bound " + BINDER_FAULT})
        self.assertEqual(run.err.count("[box] "), 1, "one report only")
        self.assertEqual(len(run.lines("callback 2 52267")), 1, "one request only")
        self.assertIn("unload -> 0", run.transcript)

    def test_without_faults_nothing_changes(self):
        run = RUNS["no fault"]
        self.assertEqual(run.status, EXIT_OK, run.describe())
        self.assertEqual(run.out.splitlines(), SAMPLE_ROWS)
        self.assertTrue(run.err.endswith("[end] 0 faults, state flags 0x8000 -> 0x8000, 14 rows listed after "
                                         "0 faults, 0 blocks held, 0 scans open\n"), run.describe())


class ScanErrorTest(unittest.TestCase):
    """A read error ends the scan's loop as any answer other than 1 does; the
    scan is still ended."""

    def scan_lines(self, run):
        return [line for line in run.transcript if line.startswith(("52278 ", "52279 ", "52281 "))]

    def test_loop_ends_and_scan_ends(self):
        for case, table in (("first scan read fails", "T35"), ("document scan read fails", "T36")):
            with self.subTest(case):
                run = RUNS[case]
                self.assertEqual(run.status, EXIT_OK, run.describe())
                lines = self.scan_lines(run)
                error = lines.index(f"52279 scanNext({table}) -> -1 (read error on request)")
                self.assertEqual(lines[error + 1], f"52281 scanEnd({table})", run.describe())
                self.assertIn(", 0 scans open\n", run.err)
                self.assertNotIn("never ended", run.err)

    def test_rows_as_far_as_read(self):
        # No counterparty read: nothing collected, an empty list.
        run = RUNS["first scan read fails"]
        self.assertEqual(run.out, "", run.describe())
        self.assertIn(" 0 rows listed after 0 faults", run.err)
        # The first debtor's documents unread: its invoices are missing, the others stay.
        run = RUNS["document scan read fails"]
        self.assertEqual(run.out.splitlines(), [row for row in SAMPLE_ROWS if not row.startswith("Hurtownia Żuraw")])


class OptionFileTest(unittest.TestCase):
    def test_sessions_from_the_file(self):
        self.assertEqual(len(RUNS), len(CASES))
        run = RUNS["value with blanks"]
        self.assertEqual(run.status, EXIT_REFUSED, run.describe())
        self.assertIn("52006 buildStamp(null) -> 8976", run.transcript)

    def test_command_line_past_the_limit(self):
        # Three thousand sessions do not fit a Windows command line: one line
        # says so before Wine would start the simulator with a cut one.
        arguments = ["--answer", "no", "--then"] * 3000 + ["--answer", "no"]
        done = pace.run([str(WINE_RUN), str(SIM), *arguments], 1, "wine-run with a long command line",
                        capture_output=True, cwd=BIN)
        done.stderr = done.stderr.decode("utf-8", "replace")
        self.assertEqual(done.returncode, EXIT_USAGE, done.stderr)
        self.assertRegex(done.stderr, r"^wine-run: the command line has \d+ characters, more than Windows "
                                      r"takes \(32,767\): put the options in a file and pass @FILE\n$")


if __name__ == "__main__":
    unittest.main()
