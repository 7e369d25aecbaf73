#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""beugwerk --json over the phrases of every mood, tense and voice (the fixture lists of
tests/fixtures/allforms): each object in each orthography is valid against
schema/conjugation.schema.json and carries what the row expects of the further blocks.

Usage: json_allforms_test.py BEUGWERK SOURCE_DIR
"""
import json
import os
import subprocess
import sys

import jsonschema

EXE, SOURCE = sys.argv[1], sys.argv[2]
LISTS = os.path.join(SOURCE, "tests", "fixtures", "allforms", "allforms.VLX")
SCHEMA = json.load(open(os.path.join(SOURCE, "schema", "conjugation.schema.json"), encoding="utf-8"))
jsonschema.Draft202012Validator.check_schema(SCHEMA)
VALIDATOR = jsonschema.Draft202012Validator(SCHEMA)

failures = []


def get(obj, path):
    """A dotted path with list indices: "passive.vorgangspassiv.perfekt.0.main"."""
    for part in path.split("."):
        obj = obj[int(part)] if isinstance(obj, list) else obj[part]
    return obj


NO_PASSIVE = {"passive": None}
# (phrase, expected values by path in the new orthography; the others only need to be valid)
ROWS = [
    ("lesen", {
        "tenses.konjunktivIPerfekt.2.main": "habe gelesen",
        "tenses.konjunktivIPerfekt.2.sub": "gelesen habe",
        "tenses.konjunktivIFuturI.2.main": "werde lesen",
        "tenses.konjunktivIFuturII.2.sub": "gelesen haben werde",
        "tenses.konjunktivIIPlusquamperfekt.2.main": "hätte gelesen",
        "tenses.konjunktivIIFuturI.2.sub": "lesen würde",
        "tenses.konjunktivIIFuturII.2.main": "würde gelesen haben",
        "nonFinite.imperativWir.form": "lesen wir", "nonFinite.imperativSie.form": "lesen Sie",
        "nonFinite.infinitivPerfekt.form": "gelesen haben",
        "nonFinite.infinitivPerfektZu.form": "gelesen zu haben",
        "passiveNote": None,
        "passive.vorgangspassiv.praesens.0.main": "werde gelesen",
        "passive.vorgangspassiv.perfekt.0.sub": "gelesen worden bin",
        "passive.vorgangspassiv.konjunktivIPerfekt.1.main": "seist gelesen worden",
        "passive.vorgangspassiv.konjunktivIPerfekt.1.mainAlternatives": ["seiest gelesen worden"],
        "passive.vorgangspassiv.konjunktivIIFuturII.0.main": "würde gelesen worden sein",
        "passive.vorgangspassiv.infinitiv.form": "gelesen werden",
        "passive.vorgangspassiv.infinitivPerfekt.form": "gelesen worden sein",
        "passive.zustandspassiv.futurII.2.main": "wird gelesen gewesen sein",
        "passive.zustandspassiv.konjunktivII.2.sub": "gelesen wäre"}),
    ("fahren", {
        "tenses.konjunktivIPerfekt.0.main": "sei gefahren",
        "tenses.konjunktivIPerfekt.0.mainAlternatives": ["habe gefahren"],
        "tenses.konjunktivIIPlusquamperfekt.1.mainAlternatives": ["wärst gefahren",
                                                                   "hättest gefahren"],
        "nonFinite.infinitivPerfekt.alternatives": ["gefahren haben"],
        "passive.vorgangspassiv.perfekt.2.main": "ist gefahren worden"}),
    ("gehen", {"tenses.konjunktivIPerfekt.4.main": "seiet gegangen", **NO_PASSIVE,
               "passiveNote": "Verben mit dem Hilfsverb sein bilden kein Passiv."}),
    ("sich anziehen", {
        "tenses.konjunktivIPerfekt.2.main": "habe sich angezogen",
        "tenses.konjunktivIIFuturII.1.sub": "dich angezogen haben würdest",
        "nonFinite.imperativWir.form": "ziehen wir uns an",
        "nonFinite.imperativSie.form": "ziehen Sie sich an",
        "nonFinite.infinitivPerfektZu.form": "sich angezogen zu haben", **NO_PASSIVE}),
    ("sich3 etwas merken", {"tenses.konjunktivIIPlusquamperfekt.0.main": "hätte mir etwas gemerkt",
                            **NO_PASSIVE}),
    ("ankommen", {"tenses.konjunktivIIFuturI.2.main": "würde ankommen", **NO_PASSIVE}),
    ("übersetzen", {"decided": False, "passive.vorgangspassiv.praesens.2.main": "wird übersetzt"}),
    ("können", {"nonFinite.imperativWir.form": None, **NO_PASSIVE,
                "passiveNote": "Modalverben bilden kein Passiv."}),
    ("müssen", {"tenses.konjunktivIIPlusquamperfekt.0.main": "hätte gemusst", **NO_PASSIVE}),
    ("lesen können", {"tenses.konjunktivIPerfekt.2.sub": "habe lesen können",
                      "nonFinite.infinitivPerfekt.form": "haben lesen können"}),
    ("kommen sehen", {"tenses.konjunktivIIPlusquamperfekt.2.main": "hätte kommen sehen",
                      "tenses.konjunktivIIPlusquamperfekt.2.mainAlternatives":
                          ["hätte kommen gesehen"],
                      "tenses.konjunktivIIPlusquamperfekt.2.subAlternatives":
                          ["kommen gesehen hätte"], **NO_PASSIVE}),
    ("3 regnen", {"tenses.konjunktivIPerfekt.2.pronoun": "es",
                  "tenses.konjunktivIPerfekt.2.main": "habe geregnet",
                  "tenses.konjunktivIPerfekt.0.main": None,
                  "nonFinite.imperativWir.form": None, **NO_PASSIVE}),
    ("sich einander helfen", {"tenses.konjunktivIIPlusquamperfekt.0.main": None,
                              "tenses.konjunktivIIPlusquamperfekt.3.main":
                                  "hätten uns einander geholfen", **NO_PASSIVE}),
    ("sein", {"nonFinite.imperativWir.form": "seien wir",
              "nonFinite.imperativSie.form": "seien Sie", **NO_PASSIVE}),
    ("haben", {"tenses.konjunktivIIPlusquamperfekt.2.main": "hätte gehabt", **NO_PASSIVE}),
    ("werden", {"tenses.konjunktivIPerfekt.2.main": "sei geworden", **NO_PASSIVE}),
    ("sammeln", {"passive.vorgangspassiv.praesens.1.main": "wirst gesammelt"}),
    ("wasserstrahl_biegen", {"passive.vorgangspassiv.praeteritum.2.main":
                                 "wurde wasserstrahlgebogen"}),
    ("über'setzen", {"passive.vorgangspassiv.praesens.2.marked.main": "wird über'setzt",
                     "nonFinite.imperativWir.marked.form": "über'setzen wir"}),
]
BY_ORTHO = {("müssen", "alt"): {"tenses.konjunktivIIPlusquamperfekt.0.main": "hätte gemußt",
                                "nonFinite.infinitivPerfekt.form": "gemußt haben"},
            ("müssen", "ch"): {"tenses.konjunktivIIPlusquamperfekt.0.main": "hätte gemusst"}}

for phrase, expected in ROWS:
    for ortho in ("neu", "alt", "ch"):
        name = f"{phrase!r} --ortho {ortho}"
        r = subprocess.run([EXE, "--verb-lists", LISTS, "--ortho", ortho, "--json", phrase],
                           capture_output=True, timeout=30)
        try:
            obj = json.loads(r.stdout.decode("utf-8"))
        except json.JSONDecodeError as e:
            failures.append(f"{name}: not JSON: {e}")
            continue
        for e in sorted(VALIDATOR.iter_errors(obj), key=lambda e: list(e.path))[:3]:
            failures.append(f"{name}: schema: {'/'.join(map(str, e.path))}: {e.message[:200]}")
        want = dict(expected if ortho == "neu" else {}, **BY_ORTHO.get((phrase, ortho), {}))
        for path, value in want.items():
            try:
                got = get(obj, path)
            except (KeyError, IndexError, TypeError) as e:
                failures.append(f"{name}: {path} missing ({e!r})")
                continue
            if got != value:
                failures.append(f"{name}: {path} = {got!r}, expected {value!r}")

for f in failures:
    print("FAIL", f)
print(f"json_allforms_test: {len(ROWS)} phrases, {len(failures)} failures")
sys.exit(1 if failures else 0)
