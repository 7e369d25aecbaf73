# SPDX-License-Identifier: MIT
"""conjugate() against the command line's --json, from several threads at once, and with
arguments that must be refused."""
import json
import threading

import pytest

import beugwerk
from conftest import LISTS, cli

# (phrase, orthography): each a kind of input the JSON tells apart.
ROWS = [
    ("anfangen", "neu"),                # separable
    ("an/fangen", "neu"),               # the separable prefix marked
    ("sich anziehen", "neu"),           # reflexive, accusative
    ("sich3 ein Buch ansehen", "neu"),  # reflexive dative, phrase words
    ("(sich) waschen", "neu"),          # optional reflexive
    ("sich einander helfen", "neu"),    # plural only
    ("3 regnen", "neu"),                # impersonal
    ("übersetzen", "neu"),              # undecided: two readings
    ("über'setzen", "neu"),             # decided by a stress mark: marked forms
    ("mit dem Taxi fahren", "neu"),     # haben or sein
    ("xyz!", "neu"),                    # rejected
    ("le\"s\\en\tx", "neu"),              # rejected, escapes in the JSON
    ("🙂 lesen", "neu"),                # beyond Latin-1
    ("müssen", "neu"),
    ("müssen", "alt"),                  # mußte
    ("müssen", "ch"),
    ("sich entschließen", "alt"),
    ("sich entschließen", "ch"),        # ss for ß
]


@pytest.mark.parametrize("phrase,ortho", ROWS)
def test_conjugate_equals_cli_json(phrase, ortho):
    status, out, err = cli("--ortho", ortho, "--json", phrase)
    assert status in (0, 1), err
    assert beugwerk.conjugate(phrase, ortho=ortho) == json.loads(out)


def test_four_threads_equal_one():
    phrases = [p for p, _ in ROWS] * 3
    orthos = ["neu", "alt", "ch"]
    expected = [beugwerk.conjugate(p, orthos[i % 3]) for i, p in enumerate(phrases)]
    start = threading.Barrier(4)
    results = [None] * 4

    def work(k):
        start.wait(timeout=30)
        results[k] = [beugwerk.conjugate(p, orthos[i % 3]) for i, p in enumerate(phrases)]

    threads = [threading.Thread(target=work, args=(k,)) for k in range(4)]
    for t in threads:
        t.start()
    for t in threads:
        t.join(timeout=120)
    assert all(r == expected for r in results)


def raise_after_one():
    yield "lesen"
    raise RuntimeError("the source failed")


# (call, exception, text in the message)
BAD = [
    (lambda: beugwerk.conjugate(5), TypeError, "str"),
    (lambda: beugwerk.conjugate(None), TypeError, "str"),
    (lambda: beugwerk.conjugate(b"lesen"), TypeError, "str"),
    (lambda: beugwerk.conjugate("lesen", ortho="neuu"), beugwerk.Error, "ortho"),
    (lambda: beugwerk.conjugate("lesen", ortho=None), TypeError, ""),
    (lambda: beugwerk.conjugate("le\udc80sen"), beugwerk.Error, "surrogate"),
    (lambda: beugwerk.conjugate(), TypeError, ""),
    (lambda: beugwerk.table("xyz!"), beugwerk.Error, "ist kein Infinitiv"),
    (lambda: beugwerk.table("  "), beugwerk.Error, "Verbinfinitiv"),
    (lambda: beugwerk.conjugate_many(5), TypeError, "iterable"),
    (lambda: list(beugwerk.conjugate_many(["lesen", 5])), TypeError, "str"),
    (lambda: list(beugwerk.conjugate_many(raise_after_one())), RuntimeError, "source failed"),
    (lambda: beugwerk.conjugate_many([], jobs=0), beugwerk.Error, "jobs"),
    (lambda: beugwerk.conjugate_many([], jobs=65), beugwerk.Error, "jobs"),
    (lambda: beugwerk.conjugate_many([], jobs="2"), TypeError, ""),
    (lambda: beugwerk.conjugate_many([], ortho="x"), beugwerk.Error, "ortho"),
    (lambda: beugwerk.set_verb_lists("/nonexistent/Beugwerk.VLX"), beugwerk.Error,
     "nicht gefunden"),
    (lambda: beugwerk.set_verb_lists(LISTS.rsplit("/", 1)[0]), beugwerk.Error, "nicht gefunden"),
    (lambda: beugwerk.set_verb_lists(5), TypeError, ""),
]


@pytest.mark.parametrize("call,exception,message", BAD)
def test_bad_arguments_raise(call, exception, message):
    with pytest.raises(exception, match=message):
        call()


@pytest.mark.parametrize("phrase", ["le\0sen", "lesen" * 2000, "🙂 lesen", "\t", "'", "sich3"])
def test_odd_text_gives_an_object(phrase):
    assert "input" in beugwerk.conjugate(phrase)


def test_objects_before_a_failing_source_are_yielded():
    it = beugwerk.conjugate_many(raise_after_one())
    assert next(it)["input"] == "lesen"
    with pytest.raises(RuntimeError):
        next(it)
    assert list(it) == []


def test_set_verb_lists_switches_and_a_failure_keeps_them(tmp_path):
    assert beugwerk.conjugate("gehen")["tenses"]["praeteritum"][0]["main"] == "ging"
    lists = tmp_path / "ohne-gehen.VLX"
    with open(LISTS, "rb") as f:  # the shipped lists without the line of gehen
        lists.write_bytes(b"".join(l for l in f if not l.startswith(b"geh ")))
    beugwerk.set_verb_lists(lists)
    assert beugwerk.conjugate("gehen")["tenses"]["praeteritum"][0]["main"] == "gehte"
    with pytest.raises(beugwerk.Error):
        beugwerk.set_verb_lists(tmp_path / "missing.VLX")
    assert beugwerk.conjugate("gehen")["tenses"]["praeteritum"][0]["main"] == "gehte"
    beugwerk.set_verb_lists(None)  # the default search: here the copy built in
    assert beugwerk.conjugate("gehen")["tenses"]["praeteritum"][0]["main"] == "ging"


def test_lists_switched_while_threads_conjugate(tmp_path):
    lists = tmp_path / "ohne-gehen.VLX"
    with open(LISTS, "rb") as f:
        lists.write_bytes(b"".join(l for l in f if not l.startswith(b"geh ")))
    seen, stop = set(), threading.Event()

    def work():
        while not stop.is_set():
            for c in beugwerk.conjugate_many(["gehen"] * 20, jobs=2):
                seen.add(c["tenses"]["praeteritum"][0]["main"])

    threads = [threading.Thread(target=work) for _ in range(2)]
    for t in threads:
        t.start()
    # The built-in copy (None), a file, another file: each switch waits for the tables in work.
    for path in [None, lists, LISTS, lists, None] * 8:
        beugwerk.set_verb_lists(path)
    stop.set()
    for t in threads:
        t.join(timeout=120)
    assert seen <= {"ging", "gehte"} and seen
