# SPDX-License-Identifier: MIT
"""The golden cases of one kind (tests/golden/<kind>/<case>.in and .out) for a Python runner:
the options line and the input of each case, and the comparison that gives a unified diff, or
rewrites the .out when BEUGWERK_UPDATE_GOLDEN=1. The same layout as tests/golden/Golden.h."""
import difflib
import os

HERE = os.path.dirname(os.path.abspath(__file__))


class Case:
    def __init__(self, path):
        self.name = os.path.splitext(os.path.basename(path))[0]
        self.in_path = path
        self.out_path = os.path.splitext(path)[0] + ".out"
        with open(path, "rb") as f:
            data = f.read()
        first, _, self.input = data.partition(b"\n")
        self.options = {}
        for word in first.decode("utf-8").split():
            key, eq, value = word.partition("=")
            self.options[key] = value if eq else "1"

    def option(self, key, fallback=""):
        return self.options.get(key, fallback)

    def line(self):
        """The input as one line of text, without its line end."""
        return self.input.decode("utf-8").rstrip("\r\n")


def cases(kind):
    folder = os.path.join(HERE, kind)
    return [Case(os.path.join(folder, n)) for n in sorted(os.listdir(folder)) if n.endswith(".in")]


def updating():
    return os.environ.get("BEUGWERK_UPDATE_GOLDEN") == "1"


def mismatch(case, actual):
    """None when actual (bytes) is the .out (or was written there); else a unified diff."""
    expected = b""
    if os.path.exists(case.out_path):
        with open(case.out_path, "rb") as f:
            expected = f.read()
    if expected == actual:
        return None
    if updating():
        with open(case.out_path, "wb") as f:
            f.write(actual)
        return None
    diff = difflib.unified_diff(expected.decode("utf-8", "replace").splitlines(keepends=True),
                                actual.decode("utf-8", "replace").splitlines(keepends=True),
                                case.out_path, "actual")
    lines = list(diff)[:80]
    return (f"{os.path.basename(case.out_path)} differs (BEUGWERK_UPDATE_GOLDEN=1 rewrites it):\n"
            + "".join(lines))
