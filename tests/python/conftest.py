# SPDX-License-Identifier: MIT
"""The module under test comes from the build tree (PYTHONPATH); BEUGWERK_EXE is the command
line it is compared with, BEUGWERK_SOURCE_DIR the source tree. Both use the shipped lists."""
import os
import subprocess

import pytest

import beugwerk

EXE = os.environ["BEUGWERK_EXE"]
SOURCE = os.environ["BEUGWERK_SOURCE_DIR"]
LISTS = os.path.join(SOURCE, "data", "Beugwerk.VLX")
TIMEOUT = 120


def cli(*args, stdin=None):
    """The command line on the shipped lists: (exit status, stdout bytes, stderr bytes)."""
    r = subprocess.run([EXE, "--verb-lists", LISTS, *args], input=stdin, capture_output=True,
                       timeout=TIMEOUT)
    return r.returncode, r.stdout, r.stderr


@pytest.fixture(autouse=True)
def shipped_lists():
    """Each test starts and ends on the lists the command line is given."""
    beugwerk.set_verb_lists(LISTS)
    yield
    beugwerk.set_verb_lists(LISTS)
