#!/usr/bin/python3
"""The campaign's tally: runs add up, and a damaged tally is refused and left as it was."""
import os
import subprocess
import sys
import tempfile
import unittest

TALLY = os.path.join(os.path.dirname(__file__), "..", "..", "fuzz", "campaign_tally.py")


def tally(path, *args):
    return subprocess.run([sys.executable, TALLY, path, *args], capture_output=True, text=True)


class CampaignTallyTest(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.TemporaryDirectory()
        self.path = os.path.join(self.folder.name, "campaign.txt")

    def tearDown(self):
        self.folder.cleanup()

    def read(self):
        with open(self.path, encoding="utf-8") as f:
            return f.read()

    def test_runs_add_up_per_target_and_in_all(self):
        for target, inputs in [("import_fuzzer", "1200"), ("pdf_walk_fuzzer", "30"),
                               ("import_fuzzer", "800")]:
            self.assertEqual(tally(self.path, target, inputs).returncode, 0)
        self.assertEqual(self.read(),
                         "2030 inputs run in all (import_fuzzer 2000, pdf_walk_fuzzer 30)\n")

    def test_damaged_tallies_and_bad_arguments_change_nothing(self):
        cases = [
            ("not a tally\n", ["import_fuzzer", "5"]),
            ("7 inputs run in all (import_fuzzer 5)\n", ["import_fuzzer", "5"]),  # wrong sum
            ("5 inputs run in all (import_fuzzer 5)\n", ["import_fuzzer", "-5"]),
            ("5 inputs run in all (import_fuzzer 5)\n", ["import_fuzzer"]),
        ]
        for text, args in cases:
            with self.subTest(text=text, args=args):
                with open(self.path, "w", encoding="utf-8") as f:
                    f.write(text)
                self.assertNotEqual(tally(self.path, *args).returncode, 0)
                self.assertEqual(self.read(), text)
                self.assertEqual(os.listdir(self.folder.name), ["campaign.txt"])


if __name__ == "__main__":
    unittest.main()
