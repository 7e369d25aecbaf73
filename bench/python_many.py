#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Times conjugate_many over a list against `beugwerk fullforms --json` over the same list:
RUNS runs each, alternating, and prints every run and the medians, in wall time and in CPU
time (all threads; on a shared machine the steadier of the two). The command line is timed as
a whole process writing to /dev/null; the module as the loop that takes every dict. Then
conjugate() over the list from 1, 2 and 4 Python threads at once (the GIL is released while
the engine works), median wall time of RUNS runs each.

Usage: PYTHONPATH=build/python python3 bench/python_many.py [--beugwerk build/beugwerk]
         [--runs 7] [--jobs 1] [LIST]    (default LIST: ../shared/reference/verbs-dev.tsv)
"""
import argparse
import os
import resource
import statistics
import subprocess
import threading
import time

import beugwerk

here = os.path.dirname(os.path.abspath(__file__))
parser = argparse.ArgumentParser()
parser.add_argument("--beugwerk", default=os.path.join(here, "..", "build", "beugwerk"))
parser.add_argument("--runs", type=int, default=7)
parser.add_argument("--jobs", type=int, default=1)
parser.add_argument("list", nargs="?",
                    default=os.path.join(here, "..", "..", "shared", "reference", "verbs-dev.tsv"))
args = parser.parse_args()

with open(args.list, encoding="utf-8") as f:
    lines = f.read().splitlines()
verbs = [l.split("\t")[0] for l in lines[1:]] if args.list.endswith(".tsv") else lines
verbs = [v for v in verbs if v.strip()]
listing = ("\n".join(verbs) + "\n").encode("utf-8")
lists = os.path.join(here, "..", "data", "Beugwerk.VLX")
beugwerk.set_verb_lists(lists)


def children_cpu():
    r = resource.getrusage(resource.RUSAGE_CHILDREN)
    return r.ru_utime + r.ru_stime


def command_line():
    """(wall, CPU) seconds."""
    start, cpu = time.perf_counter(), children_cpu()
    subprocess.run([args.beugwerk, "--verb-lists", lists, "fullforms", "--json", "--jobs",
                    str(args.jobs), "-"], input=listing, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL, check=True)
    return time.perf_counter() - start, children_cpu() - cpu


def module():
    start, cpu = time.perf_counter(), time.process_time()
    for _ in beugwerk.conjugate_many(verbs, jobs=args.jobs):
        pass
    return time.perf_counter() - start, time.process_time() - cpu


command_line(), module()  # warm-up
cli, py = [], []
for _ in range(args.runs):
    cli.append(command_line())
    py.append(module())
    print(f"fullforms --json {cli[-1][0]:.3f} s (CPU {cli[-1][1]:.3f} s)   "
          f"conjugate_many {py[-1][0]:.3f} s (CPU {py[-1][1]:.3f} s)")
for name, i in (("wall", 0), ("CPU", 1)):
    for how, pick in (("median", statistics.median), ("best", min)):
        c, p = pick(r[i] for r in cli), pick(r[i] for r in py)
        print(f"{len(verbs)} phrases, jobs {args.jobs}, {name}, {how}: fullforms --json "
              f"{c:.3f} s, conjugate_many {p:.3f} s, ratio {p / c:.2f}")


def threads(n):
    parts = [verbs[k::n] for k in range(n)]
    def work(part):
        for v in part:
            beugwerk.conjugate(v)

    workers = [threading.Thread(target=work, args=(part,)) for part in parts]
    start, cpu = time.perf_counter(), time.process_time()
    for w in workers:
        w.start()
    for w in workers:
        w.join()
    return time.perf_counter() - start, time.process_time() - cpu


for n in (1, 2, 4):
    runs = [threads(n) for _ in range(args.runs)]
    print(f"conjugate from {n} thread(s): median {statistics.median(r[0] for r in runs):.3f} s "
          f"(CPU {statistics.median(r[1] for r in runs):.3f} s), best {min(r[0] for r in runs):.3f} s")
