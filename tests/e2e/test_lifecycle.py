"""The plug-in's life in the simulator: the host check, the name, the load and
unload calls, and what the host's own fault handling sees. All cases run as
sessions of one simulator process."""
import unittest

from tests.e2e.simulator import (EXIT_FAULT, EXIT_OK, EXIT_REFUSED, run_sessions)

REFUSAL = ("Do poprawnego działania wtyczki 'Dorvantelisken'\n"
           "potrzebna jest nowsza wersja programu Vantreo")
QUESTION = "[message] Uwaga\nCzy chcesz zobaczyć listę niezapłaconych faktur?\n"

CASES = {
    "required date": ["--host-stamp", "Jul 30 2004", "--answer", "no"],
    "one day older": ["--host-stamp", "Jul 29 2004", "--answer", "no"],
    "unsigned stamp": ["--host-stamp-value", "0x80000000", "--answer", "no"],
    "null name buffer": ["--null-name", "--answer", "no"],
    "unload first": ["--unload-first", "--answer", "no"],
    "two load calls": ["--load-calls", "2", "--answer", "no"],
    "bad previous hook": ["--fault", "previous-hook", "--answer", "no"],
    "bad context pointer": ["--fault", "hook-context", "--answer", "no"],
    "after faults": ["--answer", "no"],
}


class LifecycleTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        runs = run_sessions(*CASES.values())
        cls.runs = dict(zip(CASES, runs))

    def run_of(self, case):
        return self.runs[case]

    def callbacks(self, run):
        return [line.split()[2] for line in run.lines("callback ")]

    def test_accepted_hosts(self):
        for case in ("required date", "unsigned stamp", "after faults"):
            with self.subTest(case=case):
                run = self.run_of(case)
                self.assertEqual(run.status, EXIT_OK, run.describe())
                self.assertIn("load -> 0", run.transcript)
                self.assertEqual(len(run.lines("52249 setEventHook")), 1)
                self.assertIn('name "\'Dorvantelisken\'"', run.transcript)
                self.assertIn(QUESTION, run.err)

    def test_older_host_is_refused(self):
        run = self.run_of("one day older")
        self.assertEqual(run.status, EXIT_REFUSED, run.describe())
        self.assertIn("load -> -1", run.transcript)
        self.assertIn("[error]\n" + REFUSAL + "\n", run.err)
        self.assertRegex(run.err, r"vantreo-sim: the plug-in refused .*\n$")
        self.assertEqual(run.lines("52249"), [], "no event hook for a refused host")
        self.assertEqual(run.lines("event"), [], "no events for a refused host")
        self.assertIn('name "\'Dorvantelisken\'"', run.transcript, "the name is written before the check")
        self.assertIn("unload -> 0", run.transcript)

    def test_nothing_is_bound_before_its_first_call(self):
        run = self.run_of("required date")
        load = run.transcript.index("load -> 0")
        self.assertEqual(self.callbacks(run)[:2], ["52006", "52249"])
        self.assertEqual([l for l in run.transcript[:load] if l.startswith("callback")],
                         ["callback 2 52006 -> _buildStamp@4", "callback 2 52249 -> _setEventHook@4"])
        asked = self.callbacks(run)
        self.assertEqual(len(asked), len(set(asked)), "each service is asked for once")

    def test_null_name_buffer(self):
        run = self.run_of("null name buffer")
        self.assertEqual(run.status, EXIT_OK, run.describe())
        self.assertIn("load pluginEntry(callback, null)", run.transcript)
        self.assertEqual(run.lines("name "), [])
        self.assertEqual(len(run.lines("52249")), 1)

    def test_unload_before_load_does_nothing(self):
        run = self.run_of("unload first")
        self.assertEqual(run.transcript[1:4], ["unload pluginEntry(null, name buffer)", "unload -> 0",
                                               "load pluginEntry(callback, name buffer)"])
        self.assertNotIn("unload wrote into the name buffer", run.transcript)

    def test_repeated_load_call(self):
        run = self.run_of("two load calls")
        self.assertEqual(run.status, EXIT_OK, run.describe())
        self.assertEqual(run.transcript.count("load -> 0"), 2)
        self.assertEqual(len(run.lines("52249 setEventHook")), 1, "the hook is installed once")
        self.assertEqual(self.callbacks(run).count("52006"), 1)
        events = run.lines("event ")
        self.assertTrue(events, run.describe())

    def test_faults_reach_the_hosts_handler(self):
        # Natively Wine reports an access violation with its address; where
        # Wine's loader runs under qemu's user-mode emulator the same fault
        # arrives as an illegal-instruction exception at the faulting address.
        fault = r"exception (0xC0000005|0xC000001D) at "
        cases = {
            "bad previous hook": fault + r"0x0BAD0000",
            "bad context pointer": fault + r"0x[0-9A-F]+.*korvandilek\.dll\+0x[0-9A-F]+",
        }
        for case, pattern in cases.items():
            with self.subTest(case=case):
                run = self.run_of(case)
                self.assertEqual(run.status, EXIT_FAULT, run.describe())
                self.assertRegex(run.err, r"vantreo-sim: plug-in fault during an event: " + pattern)
                self.assertIn("freed after a fault", run.transcript)

if __name__ == "__main__":
    unittest.main()
