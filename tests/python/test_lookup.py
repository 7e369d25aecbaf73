# SPDX-License-Identifier: MIT
"""lookup() is the command line's `lookup --json`, as Python objects."""
import json

import pytest

import beugwerk
from conftest import cli


@pytest.mark.parametrize("form,ortho", [("zog an", "neu"), ("mußte", "alt"), ("qqq", "neu"),
                                        ("123", "neu"), ("hat gelesen", "neu")])
def test_lookup_is_the_json(form, ortho):
    _, out, _ = cli("--ortho", ortho, "lookup", "--json", *form.split())
    assert beugwerk.lookup(form, ortho) == json.loads(out)


def test_lookup_refuses_what_is_no_text():
    with pytest.raises(TypeError):
        beugwerk.lookup(b"ging")
    with pytest.raises(beugwerk.Error):
        beugwerk.lookup("ging", "neuer")
