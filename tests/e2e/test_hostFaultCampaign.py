"""A short round of the host-fault campaign (scripts/host-faults): random
sessions of a misbehaving host that goes on after plug-in faults, each
checked for what the plug-in must never do to its host."""
import subprocess
import sys
import unittest

from tests import pace
from tests.e2e.simulator import ROOT

SESSIONS = 300


class HostFaultCampaignTest(unittest.TestCase):
    def test_short_round(self):
        # A campaign session is lighter than most test sessions: no transcript,
        # and many end early.
        done = pace.run([sys.executable, str(ROOT / "scripts" / "host-faults"), "--sessions", str(SESSIONS),
                         "--seed", "1"], 2 + 0.04 * SESSIONS, "the short host-fault round", capture_output=True)
        done.stdout, done.stderr = done.stdout.decode("utf-8", "replace"), done.stderr.decode("utf-8", "replace")
        last = done.stdout.splitlines()[-1] if done.stdout else ""
        self.assertRegex(last, rf"^host faults: {SESSIONS} sessions, \d+ plug-in faults survived, 0 broken$",
                         done.stdout + done.stderr)
        self.assertEqual(done.returncode, 0, done.stdout + done.stderr)


if __name__ == "__main__":
    unittest.main()
