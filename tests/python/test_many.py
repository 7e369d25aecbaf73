# SPDX-License-Identifier: MIT
"""conjugate_many() against `beugwerk fullforms --json` over the development list, and its
order and laziness on small inputs."""
import itertools
import json
import os

import pytest

import beugwerk
from conftest import SOURCE, cli

DEV = os.path.join(SOURCE, "..", "shared", "reference", "verbs-dev.tsv")


def development_verbs():
    if not os.path.exists(DEV):
        pytest.skip(f"no development list at {DEV}")
    with open(DEV, encoding="utf-8") as f:
        return [line.split("\t")[0] for line in f.read().splitlines()[1:] if line.strip()]


@pytest.mark.parametrize("jobs", [1, 2])
def test_development_list_equals_fullforms_json(jobs):
    verbs = development_verbs()
    status, out, err = cli("fullforms", "--json", "-", stdin=("\n".join(verbs) + "\n").encode())
    assert status == 0, err
    lines = out.decode("utf-8").splitlines()
    assert len(lines) == len(verbs)
    got = beugwerk.conjugate_many(verbs, jobs=jobs)
    for n, (verb, line, obj) in enumerate(itertools.zip_longest(verbs, lines, got)):
        assert obj == json.loads(line), f"line {n + 1}: {verb}"


@pytest.mark.parametrize("jobs", [1, 3])
def test_order_and_orthography_kept(jobs):
    phrases = ["lesen", "xyz!", "sich anziehen", "", "übersetzen", "müssen"] * 50
    got = [c["input"] for c in beugwerk.conjugate_many(iter(phrases), ortho="alt", jobs=jobs)]
    assert got == [p.strip() for p in phrases]
    assert [c["tenses"]["praeteritum"][0]["main"]
            for c in beugwerk.conjugate_many(["müssen"] * 3, "alt", jobs)] == ["mußte"] * 3


def test_takes_from_the_iterable_as_it_goes():
    taken = []

    def source():
        for i in itertools.count():
            taken.append(i)
            yield "lesen"

    it = beugwerk.conjugate_many(source())
    next(it)
    # The engine works ahead by two batches, not through the whole (endless) iterable.
    assert 1 <= len(taken) <= 129
    del it
