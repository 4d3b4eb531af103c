#!/usr/bin/env python3
"""The string-id check finds the ids the code uses and refuses missing ones."""
import re
import shutil
import subprocess
import sys
import tempfile
import unittest
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
CHECKER = ROOT / "tools/strings/check_string_ids.py"
FIXTURES = ROOT / "tests/fixtures/string_ids"


class CheckStringIds(unittest.TestCase):
    def setUp(self):
        self.folder = Path(tempfile.mkdtemp())
        for table in FIXTURES.glob("*.txt"):
            shutil.copy(table, self.folder)

    def tearDown(self):
        shutil.rmtree(self.folder)

    def run_checker(self, source):
        output = self.folder / "ids.h"
        tables = sorted(str(t) for t in self.folder.glob("*.txt"))
        result = subprocess.run([sys.executable, str(CHECKER), str(output), *tables, "--", str(FIXTURES / source)],
                                capture_output=True, text=True)
        ids = set()
        if output.exists():
            ids = {int(v) for v in re.findall(r"^\s+(\d+),$", output.read_text(), re.M)}
        return result, ids

    def test_every_way_of_naming_an_id_is_collected(self):
        result, ids = self.run_checker("uses.cpp")
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertEqual(ids, {10, 11, 12, 13, 20, 21, 22, 23})

    def test_an_id_missing_from_one_language_fails(self):
        result, ids = self.run_checker("uses_english_only.cpp")
        self.assertNotEqual(result.returncode, 0)
        self.assertIn("string id 14 is in no table for polish", result.stderr)
        self.assertEqual(ids, set())

    def test_each_kind_of_use_is_checked(self):
        cases = {13: "named", 20: "Row row", 23: "list[]", 12: "pair(11, 12)"}
        for removed, where in cases.items():
            with self.subTest(removed=removed):
                for table in self.folder.glob("*.txt"):
                    lines = table.read_text(encoding="utf-8").splitlines(keepends=True)
                    table.write_text("".join(l for l in lines if not l.startswith(f"{removed} ")), encoding="utf-8")
                result, _ = self.run_checker("uses.cpp")
                self.assertNotEqual(result.returncode, 0)
                self.assertIn(f"string id {removed} ", result.stderr)
                self.assertIn(where, result.stderr)
                self.setUp()


if __name__ == "__main__":
    unittest.main()
