#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""The shell lines of the README's usage section ("## Using it"), run as written: in a
scratch folder that holds `build` (the build tree), `data` (the source's data) and the
`verbs.txt` the examples name. Every line must exit 0 within its time limit. `serve` runs until
it is stopped, so its line is only started, checked to print its address and stopped.

Usage: readme_test.py SOURCE_DIR BUILD_DIR
"""
import os
import re
import select
import signal
import subprocess
import sys
import tempfile

SOURCE, BUILD = sys.argv[1], sys.argv[2]
VERBS = "lesen\nsich anziehen\nmit dem Taxi fahren\n'übersetzen\n"


def usage_lines():
    text = open(os.path.join(SOURCE, "README.md"), encoding="utf-8").read()
    section = re.search(r"^## Using it\n(.*?)^## ", text, re.S | re.M)
    if not section:
        sys.exit("README.md has no section '## Using it'")
    lines = []
    for block in re.findall(r"^```sh\n(.*?)^```", section.group(1), re.S | re.M):
        lines += [l for l in block.splitlines() if l.strip() and not l.lstrip().startswith("#")]
    return lines


def main():
    lines = usage_lines()
    if len(lines) < 8:
        sys.exit(f"only {len(lines)} shell lines in the usage section")
    failures = []
    with tempfile.TemporaryDirectory() as scratch:
        os.symlink(BUILD, os.path.join(scratch, "build"))
        os.symlink(os.path.join(SOURCE, "data"), os.path.join(scratch, "data"))
        with open(os.path.join(scratch, "verbs.txt"), "w", encoding="utf-8") as f:
            f.write(VERBS)
        env = dict(os.environ)
        env.pop("BEUGWERK_VERBLISTS", None)
        for line in lines:
            if " serve" in line:
                # A build without the server (BEUGWERK_SERVER=OFF) has no beugwerk-serve.
                if os.path.exists(os.path.join(BUILD, "beugwerk-serve")):
                    failures += serve(line, scratch, env)
                continue
            r = subprocess.run(["sh", "-c", line], cwd=scratch, env=env, capture_output=True,
                               timeout=120)
            if r.returncode != 0:
                failures.append(f"{line}: exit {r.returncode}: {r.stderr.decode()[:300]}")
        # What the lines wrote, where they said they would.
        for name in ("page.htm", "verbs.txf"):
            if not os.path.getsize(os.path.join(scratch, name)):
                failures.append(f"{name} is empty")
    for f in failures:
        print("FAIL", f)
    if not failures:
        print(f"readme_test: {len(lines)} lines of the usage section ran as written")
    return 1 if failures else 0


def serve(line, scratch, env):
    """The serve line on a free port of its own instead of 8080, which may be taken: started,
    its start line read, stopped with SIGTERM."""
    line = re.sub(r"--port \d+", "--port 0", line)
    p = subprocess.Popen(["sh", "-c", "exec " + line], cwd=scratch, env=env,
                         stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, start_new_session=True)
    try:
        ready, _, _ = select.select([p.stderr], [], [], 30)
        first = p.stderr.readline().decode() if ready else ""
        if "http://" not in first:
            return [f"{line}: no address in its first line: {first!r}"]
    finally:
        os.killpg(p.pid, signal.SIGTERM)
        try:
            p.wait(timeout=20)
        except subprocess.TimeoutExpired:
            os.killpg(p.pid, signal.SIGKILL)
            p.wait()
            return [f"{line}: did not stop on SIGTERM"]
    return []


if __name__ == "__main__":
    sys.exit(main())
