"""The feature end to end in the simulator: host events, the plug-in's
question, the list dialog with its rows, the document view and the release
of the item block. All sessions run in one simulator process."""
import json
import re
import tempfile
import unittest
from pathlib import Path

from tests.e2e.sampleRows import SAMPLE_ROWS
from tests.e2e.simulator import EXIT_OK, run_sessions, wine_path

QUESTION = "[message] Uwaga\nCzy chcesz zobaczyć listę niezapłaconych faktur?\n"

SESSIONS = {
    "rows, then F5 on the second row": ["--rows", "--keys", "down,f5,esc"],
    "answer no": ["--answer", "no"],
    "answer yes": ["--answer", "yes"],
    "no context": ["--rows", "--context", "0"],
    "host hook swallows every event": ["--rows", "--host-hook", "minus1"],
    "only events that never prompt": ["--rows", "--events", "4098,-1"],
    "state bit already set": ["--rows", "--state-flags", "0x8001"],
    "an amount of 1e300": ["--rows", "--ledger", "HUGE"],
}

# A debtor whose one invoice is larger than any row can hold.
HUGE_LEDGER = {"today": "20261209", "counterparties": [{
    "number": 5, "name": "Łódzka Huta", "dueTotal": 1e300, "documents": [{
        "number": "FV 1/2026", "date": "20261001", "documentAmount": 1e300, "paymentDays": 14,
        "viewKind": 1, "documentId": 1, "viewRef": 1}]}]}

# Transcript lines of the feature (not the binding's callbacks), with the
# addresses that change from run to run replaced.
FEATURE = re.compile(r"^(event |key |dialog |52267 |32300 |32408 |52028 |52026 |52040 |52034 |52128 )")


def feature_lines(run):
    lines = [line for line in run.transcript if FEATURE.match(line)]
    return [re.sub(r"0x[0-9A-F]{8}", "ADDR", line) for line in lines]


class DialogTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        with tempfile.TemporaryDirectory() as tmp:
            huge = Path(tmp) / "huge.json"
            huge.write_text(json.dumps(HUGE_LEDGER, ensure_ascii=False), encoding="utf-8")
            sessions = [[wine_path(huge) if arg == "HUGE" else arg for arg in args] for args in SESSIONS.values()]
            cls.runs = dict(zip(SESSIONS, run_sessions(*sessions)))

    def test_every_session_ends_well(self):
        for name, run in self.runs.items():
            with self.subTest(session=name):
                self.assertEqual(run.status, EXIT_OK, run.describe())
                self.assertNotIn("fault", run.err)
                self.assertNotIn("still holds", run.err)

    def test_rows_are_printed_in_utf8(self):
        run = self.runs["rows, then F5 on the second row"]
        self.assertEqual(run.out.splitlines(), SAMPLE_ROWS, run.describe())
        self.assertIn(QUESTION, run.err)

    def test_from_the_first_event_to_the_closed_dialog(self):
        run = self.runs["rows, then F5 on the second row"]
        rows = [f'dialog 1001 rows({i}) -> "{row}"' for i, row in enumerate(SAMPLE_ROWS)]
        lines = feature_lines(run)
        self.assertEqual(lines[:8], [
            "52267 hookContext() -> ADDR (1)",
            "event 4098 -> 4098",
            "52267 hookContext() -> ADDR (1)",
            "event -1 -> -1",
            "52267 hookContext() -> ADDR (1)",
            "32300 getStateFlags() -> 0x0000",
            "32408 setStateFlags(0x8000, 1) -> 0x8000",
            '52028 messageBox("Uwaga", "Czy chcesz zobaczyć listę niezapłaconych faktur?", 0x30009) -> 0x5001',
        ], run.describe())
        dialog = lines[8:]
        self.assertEqual(dialog[:3], [
            "52026 runDialog(ADDR, 1001, ADDR, ADDR, ADDR)",
            "dialog 1001 procedure(0, -2) -> 0",
            "dialog 1001 rows(-1) -> 14",
        ], run.describe())
        self.assertEqual(dialog[3:17], rows)
        # Keys in the dialog are host events too; the hook only passes them on.
        self.assertEqual(dialog[17:], [
            "key down",
            "event 20480 -> 20480",
            "key f5",
            "event 16128 -> 16128",
            "52040 listSelection(ADDR, 1) -> 1",
            "52034 setBusy(0, 2048, 1) -> 0x800",
            "52128 showDocument(1, 0, 400, 7001)",
            "52034 setBusy(0, 2048, 0) -> 0x0",
            "dialog 1001 procedure(1005, 1) -> -2",
            "dialog 1001 rows(-1) -> 14",
            "key esc",
            "event 283 -> 283",
            "dialog 1001 closed",
            "32408 setStateFlags(0x8000, 0) -> 0x0000",
            "event 7181 -> 7181",
        ], run.describe())
        # The item block goes back to the host once the dialog has closed.
        closed = run.transcript.index("dialog 1001 closed")
        after = run.transcript[closed:run.transcript.index("event 7181 -> 7181")]
        self.assertEqual(len([line for line in after if line.startswith("21287 memFree(")]), 1, run.describe())
        self.assertEqual(run.lines("host"), [], "no block left, no scan left open")
        self.assertIn("[document] faktura FV/2026/11/00123\nKontrahent: Biuro Rach. Ósemka (nr 27)\n", run.err)

    def test_a_no_runs_no_dialog(self):
        run = self.runs["answer no"]
        self.assertIn(QUESTION, run.err)
        self.assertEqual(run.lines("52026"), [])
        self.assertEqual(run.lines("21287"), [])
        self.assertEqual(run.lines("32408"), ["32408 setStateFlags(0x8000, 1) -> 0x8000",
                                              "32408 setStateFlags(0x8000, 0) -> 0x0000"])

    def test_a_yes_without_rows_still_initialises_and_closes(self):
        run = self.runs["answer yes"]
        self.assertEqual(run.out, "")
        lines = feature_lines(run)
        self.assertIn("dialog 1001 procedure(0, -2) -> 0", lines)
        self.assertIn("dialog 1001 closed", lines)
        self.assertEqual(run.lines("host"), [], "no block left, no scan left open")

    def test_no_question_no_rows(self):
        for name in ("no context", "host hook swallows every event", "only events that never prompt"):
            with self.subTest(session=name):
                run = self.runs[name]
                self.assertEqual(run.out, "")
                self.assertNotIn("[message]", run.err)
                self.assertEqual(run.lines("52028"), [])
                self.assertEqual(len(run.lines("event ")), 100, "at most 100 events")
        self.assertEqual(len(self.runs["no context"].lines("52267")), 100,
                         "the context is asked on every event while the question is pending")
        self.assertEqual(self.runs["host hook swallows every event"].lines("event ")[-1], "event 7181 -> -1")

    def test_a_row_never_passes_its_buffer(self):
        run = self.runs["an amount of 1e300"]
        rows = run.out.splitlines()
        self.assertEqual(len(rows), 1, run.describe())
        # Cut after 123 bytes of Mazovia text, where the name's Ł and ó are one byte each.
        whole = "%-20s %16s %12.2f      %s" % ("Łódzka Huta", "FV 1/2026", -1e300 / 10000.0, "15.10.2026")
        self.assertEqual(rows[0], whole[:123])

    def test_a_set_state_bit_is_left_alone(self):
        run = self.runs["state bit already set"]
        self.assertEqual(run.out.splitlines(), SAMPLE_ROWS)
        self.assertEqual(run.lines("32408"), [])
        self.assertIn("32300 getStateFlags() -> 0x8001", run.transcript)


if __name__ == "__main__":
    unittest.main()
