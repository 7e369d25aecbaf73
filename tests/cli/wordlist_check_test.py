#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""tools/wordlist-check over a small word list (tests/fixtures/wordlist/words.txt) and the
shipped verb lists: which words it takes as infinitives, that the verbs of the two-readings
block do not count as undecided, and which forms it reports missing.

Usage: wordlist_check_test.py BEUGWERK SOURCE_DIR
"""
import os
import subprocess
import sys
import tempfile

EXE, SOURCE = sys.argv[1], sys.argv[2]
TOOL = os.path.join(SOURCE, "tools", "wordlist-check")
WORDS = os.path.join(SOURCE, "tests", "fixtures", "wordlist", "words.txt")

failures = []


def check(what, ok):
    if not ok:
        failures.append(what)


with tempfile.TemporaryDirectory() as tmp:
    out, inf = os.path.join(tmp, "out.txt"), os.path.join(tmp, "inf.txt")
    run = subprocess.run([sys.executable, TOOL, "--beugwerk", EXE, "--wordlist", WORDS,
                          "--out", out, "--infinitives", inf],
                         capture_output=True, text=True, encoding="utf-8")
    check(f"exit status {run.returncode}: {run.stderr}", run.returncode == 0)
    with open(inf, encoding="utf-8") as f:
        infinitives = f.read().split()
    with open(out, encoding="utf-8") as f:
        report = f.read()

# lasen, gelesen and offenen are inflected forms: no Partizip I in the list.
check(f"infinitives {infinitives}",
      infinitives == ["anfangen", "lesen", "umfahren", "wandern", "übersetzen"])
check("figures: " + run.stdout,
      "undecided: 2 (2 of them in the two-readings block)" in run.stdout
      and "decided outside the two-readings block: 3/3 (100.00 %)" in run.stdout)
# anfinge is not in the list: the Konjunktiv II of anfangen in subordinate order is missing.
check("missing forms:\n" + report, "anfangen\t1\tKonjunktiv II ich: anfinge\n" in report)
check("lesen and wandern have all forms:\n" + report,
      "\nlesen\t" not in report and "\nwandern\t" not in report)

for f in failures:
    print("FAILED:", f)
sys.exit(1 if failures else 0)
