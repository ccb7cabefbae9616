"""The ledger side of vantreo-sim end to end: ledger files and their refusals,
the options that shape tables 35 and 36, and the list the plug-in computes
from them, with the host refusing memory or a table."""
import json
import tempfile
import unittest
from pathlib import Path

from tests.e2e.simulator import EXIT_LEDGER, EXIT_OK, EXIT_USAGE, run_sim, wine_path

ROW = "%-20s %16s %12.2f      %s"
FAILURE = "[message] błąd\nBłąd dostępu do pamięci\n"


def invoice(number, document_id, amount, date, days=0, **more):
    return {"number": number, "date": date, "documentAmount": amount, "paymentDays": days,
            "viewKind": 1, "documentId": document_id, "viewRef": document_id + 1000, **more}


def debtor(number, name, documents):
    return {"number": number, "name": name, "dueTotal": 1000000, "documents": documents}


class LedgerFile:
    """A ledger written to a temporary file, as the simulator's path to it."""

    def __init__(self, ledger):
        self.ledger = ledger

    def __enter__(self):
        self.dir = tempfile.TemporaryDirectory()
        path = Path(self.dir.name) / "ledger.json"
        text = self.ledger if isinstance(self.ledger, str) else json.dumps(self.ledger, ensure_ascii=False)
        path.write_text(text, encoding="utf-8")
        return wine_path(path)

    def __exit__(self, *exc):
        self.dir.cleanup()


class LedgerRefusalTest(unittest.TestCase):
    """A ledger that breaks the rules is refused with one line naming the
    field and where it is; the plug-in is never loaded."""

    CASES = [
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

    def test_refusals(self):
        for name, ledger, message in self.CASES:
            with self.subTest(name), LedgerFile(ledger) as path:
                run = run_sim("--ledger", path, "--rows")
                self.assertEqual(run.status, EXIT_LEDGER, run.describe())
                self.assertEqual(run.err.count("\n"), 1, run.describe())
                self.assertIn(path + message, run.err)
                self.assertEqual(run.lines("loaded"), [], "nothing runs")

    def test_unreadable_file(self):
        run = run_sim("--ledger", "Z:\\no\\such\\ledger.json", "--rows")
        self.assertEqual(run.status, EXIT_LEDGER, run.describe())
        self.assertIn("cannot read the ledger Z:\\no\\such\\ledger.json", run.err)

    def test_bad_option_values(self):
        for option, value in [("--today", "20261301"), ("--today", "9.12.2026"), ("--fail-realloc", "0"),
                              ("--null-table", "34"), ("--null-table", "36:0")]:
            with self.subTest(option=option, value=value):
                run = run_sim(option, value, "--rows")
                self.assertEqual(run.status, EXIT_USAGE, run.describe())
                self.assertIn(option + ":", run.err)


class ListTest(unittest.TestCase):
    """The rows the plug-in lists from the simulator's tables."""

    @classmethod
    def setUpClass(cls):
        probe = run_sim("--rows")
        if not probe.lines("callback 2 52026 -> _runDialog"):
            raise unittest.SkipTest("the simulator has no dialog runner yet")

    def rows(self, run):
        self.assertEqual(run.status, EXIT_OK, run.describe())
        self.assertEqual(run.lines("host"), [], run.describe())
        self.assertEqual(len(run.lines("52278 ")), len(run.lines("52281 ")), "every scan is ended")
        return run.out.splitlines()

    def test_sample_ledger(self):
        self.assertEqual(self.rows(run_sim("--rows")), [
            ROW % ("Biuro Rachunkowe Óse", "FV/2026/11/00012", -1234.56, "09.11.2026"),
            ROW % ("Sklep Pod Kasztanem", "FV 19/2026", -195.0, "02.11.2026"),
            ROW % ("Hurtownia Żuraw", "FV 12/2026", -100.0, "29.10.2026"),
            ROW % ("Sklep Pod Kasztanem", "FV 7/2026", -62.5, "23.09.2026"),
        ])

    def test_due_yesterday_listed_due_today_not(self):
        ledger = {"counterparties": [debtor(3, "Firma", [
            invoice("FV 1", 1, 10000, "20261129", 10),   # due 20261209
            invoice("FV 2", 2, 20000, "20261128", 10),   # due 20261208
        ])]}
        with LedgerFile(ledger) as path:
            rows = self.rows(run_sim("--ledger", path, "--today", "20261209", "--rows"))
        self.assertEqual(rows, [ROW % ("Firma", "FV 2", -2.0, "08.12.2026")])

    def test_host_refusing_memory_or_a_table(self):
        for options in (["--fail-realloc", "2"], ["--null-table", "36"], ["--null-table", "35:2"]):
            with self.subTest(options=options):
                run = run_sim("--rows", *options)
                self.assertEqual(self.rows(run), [])
                self.assertIn(FAILURE, run.err)


if __name__ == "__main__":
    unittest.main()
