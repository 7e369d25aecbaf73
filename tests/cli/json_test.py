#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""beugwerk --json, fullforms --json and the server's /api/v1/conjugate over the generator's
fixture lists: every object is valid against schema/conjugation.schema.json, carries what the
row expects, and the JSON Lines of a list and the API's answers equal the single objects.

Usage: json_test.py BEUGWERK SOURCE_DIR
"""
import json
import os
import socket
import subprocess
import sys
import tempfile
import time
import urllib.error
import urllib.parse
import urllib.request

import jsonschema

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "golden"))
import golden  # noqa: E402

EXE, SOURCE = sys.argv[1], sys.argv[2]
LISTS = os.path.join(SOURCE, "tests", "fixtures", "generator", "generator.VLX")
SCHEMA = json.load(open(os.path.join(SOURCE, "schema", "conjugation.schema.json"), encoding="utf-8"))
jsonschema.Draft202012Validator.check_schema(SCHEMA)
VALIDATOR = jsonschema.Draft202012Validator(SCHEMA)

failures = []


def run(args, stdin=None):
    r = subprocess.run([EXE, "--verb-lists", LISTS] + args, input=stdin, capture_output=True)
    return r.returncode, r.stdout.decode("utf-8"), r.stderr.decode("utf-8")


def get(obj, path):
    """A dotted path with list indices: "tenses.praesens.0.main"."""
    for part in path.split("."):
        obj = obj[int(part)] if isinstance(obj, list) else obj[part]
    return obj


def check(name, obj, expected):
    errors = sorted(VALIDATOR.iter_errors(obj), key=lambda e: list(e.path))
    for e in errors[:3]:
        failures.append(f"{name}: schema: {'/'.join(map(str, e.path))}: {e.message[:200]}")
    for path, want in expected.items():
        try:
            got = get(obj, path)
        except (KeyError, IndexError, TypeError) as e:
            failures.append(f"{name}: {path} missing ({e!r})")
            continue
        if got != want:
            failures.append(f"{name}: {path} = {got!r}, expected {want!r}")


# (phrase, orthography, exit status, expected values by path)
ROWS = [
    ("anfahren", "neu", 0, {  # separable, auxiliary both
        "decided": True, "readings": [], "analysis.separablePrefix": "an",
        "analysis.inseparablePrefix": None, "analysis.auxiliary": "both",
        "analysis.conjugation": "strong",
        "tenses.praesens.0.main": "fahre an", "tenses.praesens.0.sub": "anfahre",
        "tenses.praesens.1.main": "fährst an",
        "tenses.perfekt.0.main": "bin angefahren",
        "tenses.perfekt.0.mainAlternatives": ["habe angefahren"],
        "tenses.perfekt.0.sub": "angefahren bin",
        "tenses.futurII.2.main": "wird angefahren sein",
        "tenses.futurII.2.subAlternatives": ["angefahren haben wird"],
        "nonFinite.infinitivII.form": "anzufahren", "nonFinite.partizipII.form": "angefahren"}),
    ("verlesen", "neu", 0, {  # inseparable
        "analysis.inseparablePrefix": "ver", "analysis.separablePrefix": None,
        "tenses.praesens.2.main": "verliest", "tenses.praeteritum.0.main": "verlas",
        "nonFinite.partizipII.form": "verlesen", "nonFinite.infinitivII.form": "zu verlesen"}),
    ("sich waschen", "neu", 0, {  # reflexive, accusative
        "analysis.reflexive": {"case": "accusative", "optional": False},
        "analysis.infinitive": "sich waschen",
        "tenses.praesens.0.pronoun": "ich", "tenses.praesens.0.main": "wasche mich",
        "tenses.praesens.0.sub": "mich wasche",
        "tenses.perfekt.1.main": "hast dich gewaschen",
        "tenses.futurI.3.sub": "uns waschen werden",
        "tenses.futurII.0.sub": "mich gewaschen haben werde"}),
    ("sich3 die Hände waschen", "neu", 0, {  # reflexive, dative, with an object
        "analysis.reflexive": {"case": "dative", "optional": False},
        "analysis.phrase": "die Hände",
        "tenses.praesens.0.main": "wasche mir die Hände",
        "tenses.plusquamperfekt.4.main": "hattet euch die Hände gewaschen"}),
    ("(sich) waschen", "neu", 0, {  # optional reflexive: the pronoun once, in parentheses
        "analysis.reflexive": {"case": "accusative", "optional": True},
        "tenses.praesens.0.main": "wasche (mich)",
        "tenses.perfekt.0.main": "habe (mich) gewaschen",
        "tenses.futurI.2.sub": "(sich) waschen wird"}),
    ("mit dem Taxi fahren", "neu", 0, {  # phrase object
        "analysis.phrase": "mit dem Taxi", "analysis.separablePrefix": None,
        "tenses.praesens.0.main": "fahre mit dem Taxi",
        "tenses.praesens.0.sub": "mit dem Taxi fahre",
        "tenses.perfekt.0.main": "bin mit dem Taxi gefahren"}),
    ("3 regnen", "neu", 0, {  # impersonal: the es forms only
        "analysis.impersonal": True, "tenses.praesens.2.pronoun": "es",
        "tenses.praesens.2.main": "regnet", "tenses.praesens.0.main": None,
        "tenses.praesens.0.sub": None, "tenses.perfekt.2.main": "hat geregnet",
        "tenses.perfekt.3.main": None, "nonFinite.imperativSingular.form": None}),
    ("aufeinanderprallen", "neu", 0, {  # plural only
        "analysis.pluralOnly": True,
        "tenses.praesens.0.main": None, "tenses.perfekt.2.main": None,
        "tenses.praesens.3.main": "prallen aufeinander",
        "tenses.praesens.3.sub": "aufeinanderprallen"}),
    ("übersetzen", "neu", 0, {  # undecided: doubly usable prefix, the two readings
        "decided": False,
        "readings.0.input": "'übersetzen", "readings.0.separable": True,
        "readings.0.gloss": "er setzt über",
        "readings.1.input": "über'setzen", "readings.1.separable": False,
        "readings.1.gloss": "er übersetzt"}),
    ("über'setzen", "neu", 0, {  # stress mark: plain forms, the marked ones beside them
        "decided": True, "readings": [], "analysis.inseparablePrefix": "über",
        "analysis.infinitive": "übersetzen",
        "tenses.praesens.0.main": "übersetze",
        "tenses.praesens.0.marked.main": "über'setze",
        "nonFinite.partizipII.form": "übersetzt",
        "nonFinite.partizipII.marked.form": "über'setzt"}),
    ("sammeln", "neu", 0, {  # alternatives, weak
        "analysis.conjugation": "weak", "analysis.auxiliary": "haben",
        "tenses.praesens.0.main": "sammle", "tenses.praesens.0.mainAlternatives": ["sammele"],
        "tenses.praesens.0.subAlternatives": ["sammele"],
        "tenses.praesens.1.mainAlternatives": []}),
    ("ablesen", "neu", 0, {  # every alternative a whole form, particle included
        "tenses.praeteritum.1.main": "lasest ab",
        "tenses.praeteritum.1.mainAlternatives": ["last ab"],
        "tenses.praeteritum.1.sub": "ablasest",
        "tenses.praeteritum.1.subAlternatives": ["ablast"]}),
    ("version", "neu", 0, {  # no infinitive: the table, and the warning with it
        "warning": "„version“ sieht nicht wie ein Infinitiv aus."}),
    ("gegangen", "neu", 0, {
        "warning": "„gegangen“ sieht nicht wie ein Infinitiv aus, sondern wie ein Partizip II."}),
    ("haben", "neu", 0, {"analysis.conjugation": "mixed"}),
    ("küssen", "neu", 0, {"orthography": "neu", "tenses.praesens.1.main": "küsst"}),
    ("küssen", "alt", 0, {"orthography": "alt", "tenses.praesens.1.main": "küßt",
                          "nonFinite.partizipII.form": "geküßt"}),
    ("grüßen", "ch", 0, {"orthography": "ch", "tenses.praesens.0.main": "grüsse",
                         "tenses.perfekt.0.main": "habe gegrüsst"}),
    # rejected: the message as the page shows it, on one line
    ("xyz!", "neu", 1, {"input": "xyz!", "error": "xyz! ist kein Infinitiv!"}),
    ('a"b\\c', "neu", 1, {"input": 'a"b\\c'}),  # quotes and backslashes stay text
    ("x\ty\x01", "neu", 1, {"input": "x\ty\x01"}),  # control characters escaped
]

for phrase, ortho, status, expected in ROWS:
    name = f"{phrase!r} --ortho {ortho}"
    rc, out, err = run(["--ortho", ortho, "--json", phrase])
    if rc != status:
        failures.append(f"{name}: exit status {rc}, expected {status} ({err.strip()})")
    if out.count("\n") != 1 or not out.endswith("\n"):
        failures.append(f"{name}: not one line")
    try:
        obj = json.loads(out)
    except json.JSONDecodeError as e:
        failures.append(f"{name}: not JSON: {e}: {out[:200]!r}")
        continue
    check(name, obj, expected)
    if status != 0 and "error" not in obj:
        failures.append(f"{name}: no error member")

# tests/golden/json, whole objects byte for byte: a change of layout shows here first.
# Options: ortho=neu|alt|ch; the input is the phrase.
for case in golden.cases("json"):
    r = subprocess.run([EXE, "--verb-lists", LISTS, "--ortho", case.option("ortho", "neu"),
                        "--json", case.line()], capture_output=True)
    diff = golden.mismatch(case, r.stdout)
    if diff:
        failures.append(diff)
    check(case.name, json.loads(r.stdout.decode("utf-8")), {})

# Every orthography of every phrase: valid, and the JSON Lines of the same list are the same
# objects, one a line, in input order (comments and blank lines skipped).
phrases = sorted({p for p, _, status, _ in ROWS if status == 0} | {"xyz!"})
listing = "; a comment\n\n" + "\n".join(phrases) + "\n"
for ortho in ("neu", "alt", "ch"):
    singles = []
    for p in phrases:
        rc, out, err = run(["--ortho", ortho, "--json", p])
        singles.append(json.loads(out))
        check(f"{p!r} --ortho {ortho}", singles[-1], {})
    rc, out, err = run(["fullforms", "--ortho", ortho, "--json", "-"], listing.encode("utf-8"))
    if rc != 0:
        failures.append(f"fullforms --json --ortho {ortho}: exit status {rc}: {err}")
    lines = out.split("\n")
    if lines[-1] != "" or len(lines) - 1 != len(phrases):
        failures.append(f"fullforms --json --ortho {ortho}: {len(lines) - 1} lines for "
                        f"{len(phrases)} phrases")
    for p, single, line in zip(phrases, singles, lines):
        if json.loads(line) != single:
            failures.append(f"fullforms --json --ortho {ortho}: line of {p!r} differs from --json")
    if f"{len(phrases)} Verben verarbeitet" not in err:
        failures.append(f"fullforms --json --ortho {ortho}: message {err!r}")
    # Several threads write the same lines in the same order.
    rc, threaded, err = run(["fullforms", "--ortho", ortho, "--json", "--jobs", "3", "-"],
                            (listing * 5).encode("utf-8"))
    if rc != 0 or threaded != out * 5:
        failures.append(f"fullforms --json --jobs 3 --ortho {ortho}: not the lines of one job")

# A named list writes LIST.jsonl beside it.
with tempfile.TemporaryDirectory() as d:
    path = os.path.join(d, "liste.txt")
    with open(path, "w", encoding="utf-8") as f:
        f.write("sammeln\nüber'setzen\n")
    rc, out, err = run(["fullforms", "--json", path])
    jsonl = os.path.join(d, "liste.jsonl")
    if rc != 0 or not os.path.exists(jsonl):
        failures.append(f"fullforms --json FILE: status {rc}, {jsonl} missing: {err}")
    else:
        got = [json.loads(l)["input"] for l in open(jsonl, encoding="utf-8")]
        if got != ["sammeln", "über'setzen"]:
            failures.append(f"fullforms --json FILE: inputs {got}")


# The server answers the same objects. A build without the server (BEUGWERK_SERVER=OFF) has no
# beugwerk-serve beside the program.
if os.path.exists(os.path.join(os.path.dirname(EXE), "beugwerk-serve")):
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        port = probe.getsockname()[1]
    server = subprocess.Popen([EXE, "--verb-lists", LISTS, "serve", "--port", str(port)],
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        base = f"http://127.0.0.1:{port}/api/v1/conjugate"
        for _ in range(100):
            try:
                urllib.request.urlopen(base + "?infi=lesen", timeout=5).read()
                break
            except (urllib.error.URLError, ConnectionError):
                time.sleep(0.1)
        for phrase, ortho, status, expected in ROWS:
            name = f"API {phrase!r} {ortho}"
            query = urllib.parse.urlencode({"infi": phrase, "ortho": ortho})
            try:
                with urllib.request.urlopen(f"{base}?{query}", timeout=10) as r:
                    code, body, ctype = r.status, r.read().decode("utf-8"), r.headers["Content-Type"]
            except urllib.error.HTTPError as e:
                code, body, ctype = e.code, e.read().decode("utf-8"), e.headers["Content-Type"]
            obj = json.loads(body)
            if ctype != "application/json; charset=utf-8":
                failures.append(f"{name}: Content-Type {ctype}")
            if code == 400:
                # The query itself was refused (control characters): an error object all the same.
                check(name, obj, {})
                if "error" not in obj:
                    failures.append(f"{name}: 400 without error")
                continue
            rc, out, err = run(["--ortho", ortho, "--json", phrase])
            if obj != json.loads(out):
                failures.append(f"{name}: differs from beugwerk --json")
            check(name, obj, {})
    finally:
        server.terminate()
        server.wait(timeout=10)

for f in failures:
    print("FAIL", f)
print(f"json_test: {len(ROWS)} phrases, {len(failures)} failures")
sys.exit(1 if failures else 0)
