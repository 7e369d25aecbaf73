#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""The forms of fullforms --json equal those of the .txf list for every verb of the
development list (../shared/reference/verbs-dev.tsv beside the source folder), in all three
orthographies: Präsens, Präteritum, Konjunktiv I and II in main and subordinate clause with the
alternatives, Infinitiv II, Partizip I and II and the singular imperative. Both runs use the
shipped verb lists. Exits 77 (skipped) when the list is not there.

The .txf writes a main-clause alternative without what follows the verb ("bandst" before
"bandest ab"); the JSON writes every form whole ("bandst ab"). Beside the comparison, every JSON
form of a separable verb in main-clause order, alternatives included, must end with its particle,
and every subordinate form of a reflexive verb begin with its pronoun.

Usage: json_txf_test.py BEUGWERK SOURCE_DIR
"""
import json
import os
import subprocess
import sys

EXE, SOURCE = sys.argv[1], sys.argv[2]
DEV = os.path.join(SOURCE, "..", "shared", "reference", "verbs-dev.tsv")
if not os.path.exists(DEV):
    print(f"skipped: no development list at {DEV}")
    sys.exit(77)
LISTS = os.path.join(SOURCE, "data", "Beugwerk.VLX")

with open(DEV, encoding="utf-8") as f:
    verbs = [line.split("\t")[0] for line in f.read().splitlines()[1:] if line.strip()]
listing = ("\n".join(verbs) + "\n").encode("utf-8")

TENSES = ["praesens", "praeteritum", "konjunktivI", "konjunktivII"]
NON_FINITE = ["infinitivII", "partizipI", "partizipII", "imperativSingular"]


def run(args):
    r = subprocess.run([EXE, "--verb-lists", LISTS, "fullforms"] + args + ["-"], input=listing,
                       capture_output=True, check=True)
    return r.stdout.decode("utf-8")


def txf_records(text):
    """{infinitive: [five entry lines]} from the UTF-8 .txf text, and the set of infinitives
    the engine did not analyse cleanly (the "nicht eindeutig" line)."""
    records, current, unclear = {}, None, set()
    for line in text.split("\r\n"):
        if line.startswith("* ") and line.endswith(" nicht eindeutig bzgl. Betonung, "
                                                   "Abtrennbarkeit, ge-Einfügung!"):
            unclear.add(line[2:].rsplit(" nicht eindeutig", 1)[0])
        elif line.startswith("> "):
            current = records.setdefault(line[2:], [])
        elif line.startswith(":") and current is not None:
            current.append(line[1:].split(";")[:-1])
    return records, unclear


def whole(main, alt):
    """A main-clause alternative as a whole form: one word takes what follows the main form's
    verb (pronoun, particle); one of several words is whole already (saugst Staub)."""
    if " " in main and " " not in alt:
        return alt + main[main.index(" "):]
    return alt


def finite_entry(entry):
    """"sub/alt1,alt2,main" -> (main, sub, [alts]); the engine's trailing blanks go."""
    sub, rest = entry.split("/", 1) if "/" in entry else (None, entry)
    parts = rest.split(",")
    main = parts[-1]
    alts = [whole(main, a.rstrip(" ")) for a in parts[:-1] if a.rstrip(" ")]
    return main, (main if sub is None else sub.rstrip(" ")), alts


def non_finite_entry(entry):
    """"alt,form" -> (form, [alts]); the JSON forms are trimmed, the .txf ones are not. The
    imperative "gebäre! gebier" is two forms."""
    parts = entry.split(",")
    alts = [f for a in parts[:-1] for f in a.rstrip(" ").split("! ") if f]
    return parts[-1].rstrip(" "), alts


def ends_with_particle(form, particle):
    """The last words of form, joined, are the particle (wieder auf, mit ein, Rad)."""
    words = form.split(" ")
    return any("".join(words[i:]) == particle for i in range(1, len(words)))


def whole_form_failures(name, obj):
    """Main-clause forms of a separable verb end with its particle; subordinate forms of a
    reflexive verb begin with its pronoun."""
    out = []
    particle = (obj["analysis"]["separablePrefix"] or "").replace(" ", "")
    if obj["orthography"] == "ch":
        particle = particle.replace("ß", "ss")  # the analysis keeps the lists' spelling
    reflexive = obj["analysis"]["reflexive"] is not None
    for tense in TENSES:
        for person in obj["tenses"][tense]:
            if person["main"] is None:
                continue
            if particle:
                for f in [person["main"]] + person["mainAlternatives"]:
                    if not ends_with_particle(f, particle):
                        out.append(f"{name}: {tense} {person['person']}: {f!r} lacks {particle!r}")
            if reflexive and person["sub"] is not None:
                pronoun = person["sub"].split(" ")[0]
                for f in person["subAlternatives"]:
                    if not f.startswith(pronoun + " "):
                        out.append(f"{name}: {tense} {person['person']}: {f!r} lacks {pronoun!r}")
    if particle:
        imp = obj["nonFinite"]["imperativPlural"]
        for f in ([imp["form"]] if imp["form"] else []) + imp["alternatives"]:
            if not ends_with_particle(f, particle):
                out.append(f"{name}: imperativPlural: {f!r} lacks {particle!r}")
    return out


def form(value):
    return "-" if value is None else value


failures = []
rejected = 0
for ortho in ("neu", "alt", "ch"):
    txf, unclear = txf_records(run(["--ortho", ortho, "--utf8"]))
    lines = run(["--ortho", ortho, "--json"]).splitlines()
    if len(lines) != len(verbs):
        failures.append(f"--ortho {ortho}: {len(lines)} JSON lines for {len(verbs)} verbs")
    for verb, line in zip(verbs, lines):
        obj = json.loads(line)
        name = f"{verb} --ortho {ortho}"
        if obj.get("input") != verb:
            failures.append(f"{name}: JSON line for {obj.get('input')!r} (order)")
            continue
        if "error" in obj:
            # A rejected input has no forms in JSON; the .txf writes what the engine left.
            if verb not in unclear:
                failures.append(f"{name}: rejected, yet clean in the .txf: {obj['error']!r}")
            rejected += 1
            continue
        failures.extend(whole_form_failures(name, obj))
        record = txf.get(verb)
        if record is None or len(record) != 5:
            failures.append(f"{name}: no .txf record")
            continue
        for k, tense in enumerate(TENSES):
            for p, entry in enumerate(record[k]):
                person = obj["tenses"][tense][p]
                want = finite_entry(entry)
                got = (form(person["main"]), form(person["sub"]), person["mainAlternatives"])
                if got != want:
                    failures.append(f"{name}: {tense} {p + 1}: JSON {got}, .txf {want}")
        for key, entry in zip(NON_FINITE, record[4]):
            nf = obj["nonFinite"][key]
            got, want = (form(nf["form"]), nf["alternatives"]), non_finite_entry(entry)
            if got != want:
                failures.append(f"{name}: {key}: JSON {got}, .txf {want}")

for f in failures[:60]:
    print("FAIL", f)
print(f"json_txf_test: {len(verbs)} verbs x 3 orthographies ({rejected} rejected inputs), "
      f"{len(failures)} differences")
sys.exit(1 if failures else 0)
