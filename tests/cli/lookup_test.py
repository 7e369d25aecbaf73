#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""beugwerk lookup over the shipped lists: the line per verb, the exit statuses, --json valid
against schema/lookup.schema.json, and `lookup -` with its JSON lines in input order, the same
with --jobs 2 as with one thread, UTF-8 and Windows-1252 lines alike.

Usage: lookup_test.py BEUGWERK SOURCE_DIR
"""
import json
import os
import subprocess
import sys

import jsonschema

EXE, SOURCE = sys.argv[1], sys.argv[2]
LISTS = os.path.join(SOURCE, "data", "Beugwerk.VLX")
SCHEMA = json.load(open(os.path.join(SOURCE, "schema", "lookup.schema.json"), encoding="utf-8"))
jsonschema.Draft202012Validator.check_schema(SCHEMA)
VALIDATOR = jsonschema.Draft202012Validator(SCHEMA)
failures = []


def run(args, stdin=None):
    r = subprocess.run([EXE, "--verb-lists", LISTS, "lookup"] + args, input=stdin,
                       capture_output=True, timeout=120)
    return r.returncode, r.stdout.decode("utf-8"), r.stderr.decode("utf-8")


def valid(name, obj):
    for e in list(VALIDATOR.iter_errors(obj))[:3]:
        failures.append(f"{name}: schema: {'/'.join(map(str, e.path))}: {e.message[:200]}")


# (arguments, exit status, first line of standard output or None)
ROWS = [
    (["ging"], 0, "gehen: Präteritum Indikativ, 1. und 3. Person Singular (ich ging, er ging)"),
    (["zog", "an"], 0, "anziehen: Präteritum Indikativ, 1. und 3. Person Singular (ich zog an, er zog an)"),
    (["--ortho", "alt", "mußte"], 0, "müssen: Präteritum Indikativ, 1. und 3. Person Singular (ich mußte, er mußte)"),
    (["qqq"], 1, ""),
    (["123"], 1, ""),
    ([], 2, ""),
    (["--jobs", "2", "ging"], 2, ""),
    (["--frob", "ging"], 2, ""),
]
for args, status, first in ROWS:
    rc, out, err = run(args)
    if rc != status:
        failures.append(f"{args}: exit {rc}, expected {status} ({err.strip()})")
    if first is not None and (out.splitlines() or [""])[0] != first:
        failures.append(f"{args}: printed {out!r}, expected {first!r}")

for word in ["ging", "übergesetzt", "hat gelesen", "wird gelesen", "anzog", "lies", "123", "qqq"]:
    rc, out, _ = run(["--json"] + word.split())
    try:
        valid(word, json.loads(out))
    except json.JSONDecodeError as e:
        failures.append(f"{word}: no JSON ({e}): {out!r}")

words = ["ging", "lasen", "qqq", "", "zog an", "gewönne", "wäscht sich", "\x01"] * 20
stdin = "\n".join(words).encode("utf-8") + b"\nh\xf6rte\n"
one = run(["-"], stdin)
two = run(["--jobs", "2", "-"], stdin)
if one[0] != 0 or one[1] != two[1]:
    failures.append(f"lookup -: exit {one[0]}, --jobs 2 differs: {one[1] != two[1]}")
lines = one[1].splitlines()
if len(lines) != len(words) + 1:
    failures.append(f"lookup -: {len(lines)} lines for {len(words) + 1} forms")
else:
    for word, line in zip(words + ["hörte"], lines):
        obj = json.loads(line)
        valid(repr(word), obj)
        names = [v["infinitive"] for v in obj] if isinstance(obj, list) else None
        want = {"ging": ["gehen"], "lasen": ["lesen"], "qqq": [], "zog an": ["anziehen"],
                "gewönne": ["gewinnen"], "wäscht sich": ["sich waschen"], "hörte": ["hören"]}
        if word in want and names[:1] != want[word]:
            failures.append(f"lookup - {word!r}: {names}")

for f in failures:
    print(f)
sys.exit(1 if failures else 0)
