#!/usr/bin/python3
"""Times whole optimiser processes: each input file is fitted `runs` times (default 20) in a
scratch family directory, and the median wall time and the median CPU time (user + system,
all threads) of one process are printed as a Markdown table.

    optimiser/bench/process_times.py <optimiser program> [--runs N] [--json] <input file or directory>...

--json adds the summary option, which writes (and syncs) one file more. A directory stands
for the input files in it. Not part of the build or the tests.
"""
import os
import resource
import shutil
import statistics
import subprocess
import sys
import tempfile
import time


def inputs(arguments):
    for a in arguments:
        if os.path.isdir(a):
            for name in sorted(os.listdir(a)):
                if not name.endswith((".cpp", ".dat", ".out", ".json")):
                    yield os.path.join(a, name)
        else:
            yield a


def main():
    program, args = sys.argv[1], sys.argv[2:]
    runs, json = 20, False
    if "--runs" in args:
        at = args.index("--runs")
        runs = int(args[at + 1])
        del args[at:at + 2]
    if "--json" in args:
        args.remove("--json")
        json = True
    print("| problem | median wall (ms) | slowest wall (ms) | median CPU (ms) |")
    print("|---|---|---|---|")
    for path in inputs(args):
        family = tempfile.mkdtemp()
        try:
            user = os.path.join(family, "Veltr.hz", "User")
            os.makedirs(user)
            name = os.path.basename(path)
            shutil.copy(path, user)
            options = ["--json", os.path.join(family, "s.json")] if json else []
            walls, cpus = [], []
            for _ in range(runs):
                before = resource.getrusage(resource.RUSAGE_CHILDREN)
                began = time.perf_counter()
                subprocess.run([program] + options + [name, user, family, "xx", "xx"], check=True)
                walls.append(time.perf_counter() - began)
                after = resource.getrusage(resource.RUSAGE_CHILDREN)
                cpus.append(after.ru_utime + after.ru_stime - before.ru_utime - before.ru_stime)
        finally:
            shutil.rmtree(family)
        print(f"| {name} | {statistics.median(walls) * 1000:.1f} | {max(walls) * 1000:.1f} "
              f"| {statistics.median(cpus) * 1000:.1f} |", flush=True)


if __name__ == "__main__":
    main()
