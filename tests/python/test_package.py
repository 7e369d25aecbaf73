# SPDX-License-Identifier: MIT
"""What comes with the module: `python3 -m beugwerk`, the examples of the docstrings and of the
README, and the type stubs."""
import ast
import doctest
import os
import re
import subprocess
import sys

import pytest

import beugwerk
import beugwerk._beugwerk
from conftest import LISTS, SOURCE, TIMEOUT, cli


def main(*args):
    r = subprocess.run([sys.executable, "-m", "beugwerk", "--verb-lists", LISTS, *args],
                       capture_output=True, timeout=TIMEOUT)
    return r.returncode, r.stdout, r.stderr


@pytest.mark.parametrize("args", [["sich", "anziehen"], ["--ortho", "alt", "müssen"],
                                  ["übersetzen"], ["3 regnen", "--ortho=ch"]])
def test_main_prints_the_table_of_the_command_line(args):
    status, out, err = main(*args)
    assert (status, err) == (0, b"")
    assert out == cli(*args)[1]


# (arguments, exit status, text on standard error)
MAIN_FAILURES = [
    (["xyz!"], 1, "ist kein Infinitiv"),
    (["--ortho", "neuu", "lesen"], 2, "invalid choice"),
    ([], 2, "PHRASE"),
    (["--verb-lists", "/nonexistent", "lesen"], 3, "nicht gefunden"),
]


@pytest.mark.parametrize("args,status,message", MAIN_FAILURES)
def test_main_exit_status(args, status, message):
    got, out, err = main(*args)
    assert (got, out) == (status, b"")
    assert message in err.decode("utf-8")


def test_docstring_examples_run(monkeypatch):
    monkeypatch.chdir(SOURCE)  # the set_verb_lists example names data/Beugwerk.VLX
    flags = doctest.ELLIPSIS | doctest.NORMALIZE_WHITESPACE
    for module in (beugwerk, beugwerk._beugwerk):
        failed, tried = doctest.testmod(module, extraglobs={"beugwerk": beugwerk},
                                        optionflags=flags, report=True)
        assert failed == 0 and tried > 0, module.__name__
    for name in beugwerk.__all__:
        assert ">>>" in getattr(beugwerk, name).__doc__, name


def test_readme_example_runs_as_written():
    with open(os.path.join(SOURCE, "README.md"), encoding="utf-8") as f:
        readme = f.read()
    section = readme.split("## From Python", 1)[1].split("\n## ", 1)[0]
    code, shown = re.findall(r"```(?:python|text)\n(.*?)```", section, re.S)[:2]
    assert len(code.strip().splitlines()) <= 5
    r = subprocess.run([sys.executable, "-c", code], capture_output=True, timeout=TIMEOUT,
                       cwd=SOURCE)
    assert r.returncode == 0, r.stderr.decode("utf-8")
    assert r.stdout.decode("utf-8") == shown


def test_stubs_name_what_the_module_has():
    stubs = os.path.join(os.path.dirname(beugwerk.__file__), "__init__.pyi")
    with open(stubs, encoding="utf-8") as f:
        tree = ast.parse(f.read())
    functions = {n.name for n in tree.body if isinstance(n, ast.FunctionDef)}
    classes = {n.name for n in tree.body if isinstance(n, ast.ClassDef)}
    public = set(beugwerk.__all__)
    assert functions == {n for n in public if callable(getattr(beugwerk, n)) and n != "Error"}
    assert "Error" in classes and issubclass(beugwerk.Error, Exception)
