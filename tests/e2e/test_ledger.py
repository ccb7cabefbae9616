"""The ledger side of vantreo-sim end to end: ledger files and their refusals,
the options that shape tables 35 and 36, and the list the plug-in computes
from them, with the host refusing memory or a table. Each group runs as
sessions of one simulator process."""
import json
import tempfile
import unittest
from pathlib import Path

from tests.e2e.sampleRows import SAMPLE_ROWS
from tests.e2e.simulator import (EXIT_LEDGER, EXIT_OK, EXIT_USAGE, ROOT, run_sessions,
                                 wine_path)

ROW = "%-20s %16s %12.2f      %s"
FAILURE = "[message] błąd\nBłąd dostępu do pamięci\n"


def invoice(number, document_id, amount, date, days=0):
    return {"number": number, "date": date, "documentAmount": amount, "paymentDays": days,
            "viewKind": 1, "documentId": document_id, "viewRef": document_id + 1000}


def ledger_text(ledger):
    return ledger if isinstance(ledger, str) else json.dumps(ledger, ensure_ascii=False)


class Ledgers:
    """Ledgers written to a temporary folder; path() gives the simulator's name of one."""

    def __init__(self):
        self.dir = tempfile.TemporaryDirectory()
        self.count = 0

    def path(self, ledger):
        self.count += 1
        path = Path(self.dir.name) / f"ledger{self.count}.json"
        path.write_text(ledger_text(ledger), encoding="utf-8")
        return wine_path(path)


REFUSALS = [
    ("not JSON", '{"counterparties": [}', ":1:21: expected a value"),
    ("16-bit field", {"counterparties": [{"number": 1, "documents": [
        {"date": "20261015", "paymentDays": 40000}]}]},
     ":1:85: counterparties[0].documents[0].paymentDays: must be a signed 16-bit integer"),
    ("date", {"today": "2026-12-09", "counterparties": []}, ":1:11: today: must be a date YYYYMMDD"),
    ("code page", {"counterparties": [{"name": "Café €"}]},
     ":1:30: counterparties[0].name: has a character the Mazovia code page lacks"),
    ("slots", {"counterparties": [{"documents": [{"date": "20261015", "slots": [{}] * 5}]}]},
     ":1:83: counterparties[0].documents[0].slots: must have at most 4 slots"),
]

BAD_OPTIONS = [("--today", "20261301"), ("--today", "9.12.2026"), ("--fail-realloc", "0"),
               ("--null-table", "34"), ("--null-table", "36:0")]


class LedgerRefusalTest(unittest.TestCase):
    """A ledger that breaks the rules is refused with one line naming the field
    and where it is; the plug-in is never loaded. Bad option values are usage
    errors."""

    @classmethod
    def setUpClass(cls):
        cls.ledgers = Ledgers()
        cls.paths = [cls.ledgers.path(ledger) for _, ledger, _ in REFUSALS]
        sessions = [["--ledger", path, "--rows"] for path in cls.paths]
        sessions.append(["--ledger", "Z:\\no\\such\\ledger.json", "--rows"])
        sessions += [[option, value, "--rows"] for option, value in BAD_OPTIONS]
        cls.runs = run_sessions(*sessions)

    @classmethod
    def tearDownClass(cls):
        cls.ledgers.dir.cleanup()

    def test_refusals(self):
        for (name, _, message), path, run in zip(REFUSALS, self.paths, self.runs):
            with self.subTest(name):
                self.assertEqual(run.status, EXIT_LEDGER, run.describe())
                self.assertEqual(run.err, "vantreo-sim: " + path + message + "\n")
                self.assertEqual(run.lines("loaded"), [], "nothing runs")

    def test_unreadable_file(self):
        run = self.runs[len(REFUSALS)]
        self.assertEqual(run.status, EXIT_LEDGER, run.describe())
        self.assertEqual(run.err, "vantreo-sim: cannot read the ledger Z:\\no\\such\\ledger.json\n")

    def test_bad_option_values(self):
        for (option, value), run in zip(BAD_OPTIONS, self.runs[len(REFUSALS) + 1:]):
            with self.subTest(option=option, value=value):
                self.assertEqual(run.status, EXIT_USAGE, run.describe())
                self.assertIn("vantreo-sim: " + option + ": ", run.err)


DUE = {"counterparties": [{"number": 3, "name": "Firma", "dueTotal": 30000, "documents": [
    invoice("FV 1", 1, 10000, "20261129", 10),   # due 20261209
    invoice("FV 2", 2, 20000, "20261128", 10),   # due 20261208
    invoice("FV 3/2026/KOREKTA/12", 3, 30000, "20261101", 0),  # a number of 20 characters
]}]}

# 150 invoices: the item block grows twice.
GROWING = {"counterparties": [{"number": 4, "name": "Hurt", "dueTotal": 150 * 10000, "documents": [
    invoice(f"FV {i}", i, 10000, "20261001") for i in range(1, 151)]}]}

# 65536 has low 16 bits 0: the payment's key-0 slot settles it in part. The
# credit note has no slots; its credit must reach the surplus, which clears
# 65535 and takes 2.00 more off 65536.
ABSENT_SLOTS = {"today": "20261209", "counterparties": [{
    "number": 5, "name": "Zero", "dueTotal": 600000, "documents": [
        invoice("FV 65535", 65535, 100000, "20261001"),
        invoice("FV 65536", 65536, 200000, "20261001"),
        invoice("FV 65537", 65537, 300000, "20261001"),
        {"number": "KP 9", "date": "20261005", "paidAmount": 150000, "documentId": 9,
         "slots": [{"key": 0, "amount": -150000}]},
        {"number": "KOR 10", "date": "20261010", "documentAmount": -120000, "documentId": 10},
    ]}]}

LISTS = {
    "sample": ["--rows"],
    "due dates": ["--today", "20261209", "--rows", "--keys", "f5,esc"],
    "growing": ["--rows"],
    "second memRealloc fails": ["--rows", "--fail-realloc", "2"],
    "first memRealloc fails": ["--rows", "--fail-realloc", "1"],
    "documents missing": ["--rows", "--null-table", "36"],
    "documents missing in settlement": ["--rows", "--null-table", "36:5"],
    "counterparties missing in settlement": ["--rows", "--null-table", "35:2"],
    "absent slots": ["--rows"],
    "names not copied": ["--rows", "--without", "52161", "--box-answers", "ignore"],
}


class ListTest(unittest.TestCase):
    """The rows the plug-in lists from the simulator's tables."""

    @classmethod
    def setUpClass(cls):
        cls.ledgers = Ledgers()
        growing = cls.ledgers.path(GROWING)
        ledgers = {"due dates": cls.ledgers.path(DUE), "growing": growing, "second memRealloc fails": growing,
                   "absent slots": cls.ledgers.path(ABSENT_SLOTS)}
        sessions = [(["--ledger", ledgers[name]] if name in ledgers else []) + args for name, args in LISTS.items()]
        cls.runs = dict(zip(LISTS, run_sessions(*sessions)))

    @classmethod
    def tearDownClass(cls):
        cls.ledgers.dir.cleanup()

    def rows(self, case):
        run = self.runs[case]
        self.assertEqual(run.status, EXIT_OK, run.describe())
        self.assertEqual(run.lines("host"), [], "nothing left behind, no breach of the protocol")
        self.assertEqual(len(run.lines("52278 ")), len(run.lines("52281 ")), "every scan is ended")
        self.assertNotIn("still holds", run.err)
        return run.out.splitlines()

    def test_sample_ledger(self):
        self.assertEqual(self.rows("sample"), SAMPLE_ROWS)
        self.assertEqual(self.runs["sample"].err.count("[message]"), 1, "only the question")

    def test_due_yesterday_listed_due_today_not(self):
        self.assertEqual(self.rows("due dates"), [
            ROW % ("Firma", "FV 3/2026/KOREKT", -3.0, "01.11.2026"),
            ROW % ("Firma", "FV 2", -2.0, "08.12.2026"),
        ])
        # The host's document view shows the ledger's document, its number uncut.
        self.assertIn("[document] faktura FV 3/2026/KOREKTA/12\nKontrahent: Firma (nr 3)\n",
                      self.runs["due dates"].err)

    def test_item_block_grows_by_100_records(self):
        run = self.runs["growing"]
        self.assertEqual(len(self.rows("growing")), 150)
        self.assertEqual(run.lines("2128"), ["21286 memRealloc(null, 6900) -> B1",
                                             "21286 memRealloc(B1, 13800) -> B2", "21287 memFree(B2)"])

    def test_absent_slots_never_apply(self):
        self.assertEqual(self.rows("absent slots"), [
            ROW % ("Zero", "FV 65537", -30.0, "01.10.2026"),
            ROW % ("Zero", "FV 65536", -3.0, "01.10.2026"),
        ])

    def test_ignored_copy_field_leaves_names_empty(self):
        # The host lacks copyField and the user ignores it: every name is
        # blank, never what happened to be in the plug-in's buffer.
        self.assertEqual(self.rows("names not copied"), [" " * 20 + row[20:] for row in SAMPLE_ROWS])
        self.assertEqual(self.runs["names not copied"].err.count("[box] "), 1, "reported once")

    def test_host_refusing_memory_or_a_table(self):
        for case in ("first memRealloc fails", "second memRealloc fails", "documents missing",
                     "documents missing in settlement", "counterparties missing in settlement"):
            with self.subTest(case):
                self.assertEqual(self.rows(case), [])
                self.assertIn(FAILURE, self.runs[case].err)


if __name__ == "__main__":
    unittest.main()
