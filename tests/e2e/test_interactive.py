"""The interactive host in an ordinary terminal: ./run in tmux, the question
answered, the list dialog drawn with its Polish letters, scrolled, a document
opened with F5, Home and End as tmux sends them, and every window closed with Esc."""
import os
import re
import shutil
import subprocess
import tempfile
import time
import unittest
from pathlib import Path

from tests.e2e.sampleRows import SAMPLE_ROWS
from tests import pace
from tests.e2e.simulator import ROOT, wine_path

# One step (a key and what it draws) is about this many Wine starts of work;
# the first includes ./run's own start.
STEP_PACES = 3

TITLE = "lista faktur do zapłaty na dzień dzisiejszy i wcześniej"
QUESTION = "Czy chcesz zobaczyć listę niezapłaconych faktur?"
FIRST_ROWS = SAMPLE_ROWS[:3]
LAST_ROW = SAMPLE_ROWS[-1]


class Terminal:
    """A tmux session of its own, 100 columns by 30 lines."""

    def __init__(self, command):
        self.socket = f"korvandilek-{os.getpid()}"
        self.tmux("new-session", "-d", "-s", "host", "-x", "100", "-y", "30", command)

    def tmux(self, *args):
        return subprocess.run(["tmux", "-L", self.socket, *args], capture_output=True, text=True, check=True).stdout

    def screen(self):
        return self.tmux("capture-pane", "-p", "-t", "host")

    def keys(self, *keys):
        self.tmux("send-keys", "-t", "host", *keys)

    def wait_for(self, condition, what):
        """Polls the screen until condition(screen) holds; fails with the screen otherwise."""
        deadline = time.monotonic() + pace.limit(STEP_PACES)
        while True:
            screen = self.screen()
            if condition(screen):
                return screen
            if time.monotonic() > deadline:
                raise AssertionError(f"waited in vain for {what}; the screen:\n{screen}")
            time.sleep(1)

    def close(self):
        subprocess.run(["tmux", "-L", self.socket, "kill-server"], capture_output=True)


@unittest.skipUnless(shutil.which("tmux"), "tmux is not installed")
class InteractiveHostTest(unittest.TestCase):
    def test_question_list_document_and_back(self):
        with tempfile.TemporaryDirectory() as tmp:
            transcript = Path(tmp) / "transcript.txt"
            status = Path(tmp) / "status"
            terminal = Terminal(f"cd {ROOT} && ./run --transcript '{wine_path(transcript)}'; echo $? > {status}")
            try:
                self.walk_through(terminal, status)
            finally:
                terminal.close()
            lines = transcript.read_text(encoding="utf-8").splitlines()
        self.assertIn("52128 showDocument(1, 0, 701, 3670)", lines, "the selected row's document")
        self.assertIn("dialog 1001 closed", lines)
        self.assertEqual(len([line for line in lines if line.startswith("21287 ")]), 1, "the item block freed")

    def walk_through(self, terminal, status):
        terminal.wait_for(lambda s: "Kontrahenci" in s and "Hurtownia Żuraw" in s, "the host screen")
        # The first key is the first event that may bring the question.
        terminal.keys("Down")
        screen = terminal.wait_for(lambda s: QUESTION in s, "the question")
        self.assertRegex(screen, r"Tak +Nie")

        terminal.keys("Enter")
        screen = terminal.wait_for(lambda s: TITLE in s and FIRST_ROWS[0] in s, "the list dialog")
        self.assertRegex(screen, r"Kontrahent +Dokument +Kwota +Termin zap\.")
        for row in FIRST_ROWS:
            self.assertIn(row, screen)
        self.assertNotIn(LAST_ROW, screen, "14 rows, 8 in view")
        self.assertIn("F5 Pokaż dokument", screen)
        self.assertIn("Esc Anuluj", screen)

        # A page down: row 7 selected, the last rows in view.
        terminal.keys("NPage")
        screen = terminal.wait_for(lambda s: LAST_ROW in s, "the list scrolled to its end")
        self.assertNotIn(FIRST_ROWS[0], screen)

        terminal.keys("F5")
        screen = terminal.wait_for(lambda s: "faktura FV 70/2026" in s, "the document view")
        self.assertIn("Apteka Pod Łabędziem (nr 36)", screen)

        terminal.keys("Escape")
        terminal.wait_for(lambda s: "faktura FV 70/2026" not in s and TITLE in s, "the document view closed")

        # End and Home as tmux sends them (ESC[4~, ESC[1~): F5 shows which row they selected.
        self.assertEqual(self.document_of(terminal, "End"), "FV 7/2026", "End selects the last row")
        self.assertEqual(self.document_of(terminal, "Home"), "FV 101/2026", "Home selects the first row")
        terminal.keys("Escape")
        terminal.wait_for(lambda s: TITLE not in s and "Kontrahenci" in s, "the dialog closed")
        terminal.keys("Escape")
        # The session ends with the simulator, so there is no screen left to show.
        deadline = time.monotonic() + pace.limit(STEP_PACES)
        while not (status.exists() and status.read_text().strip()) and time.monotonic() < deadline:
            time.sleep(1)
        self.assertEqual(status.read_text().strip(), "0", "the simulator's exit status")

    @staticmethod
    def document_of(terminal, key):
        """Presses key and F5 in the list dialog; the document shown, its view closed again."""
        terminal.keys(key, "F5")
        shown = re.compile(r"faktura (FV \S+/2026)")
        number = shown.search(terminal.wait_for(shown.search, f"a document after {key}")).group(1)
        terminal.keys("Escape")
        terminal.wait_for(lambda s: not shown.search(s) and TITLE in s, "the document view closed")
        return number


if __name__ == "__main__":
    unittest.main()
