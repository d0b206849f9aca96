#!/usr/bin/python3
"""Processor time of nimbra-cli disaggregate for parameter sets and repetition settings.

Disaggregates one daily CSV file with each parameters file under each level-1 repetition
setting (factor/minimum), on one thread with one seed, and prints the processor time of each
run, so that what makes a set slow (its storms, its repetitions) is seen apart.

Usage: bench/set_cost.py CLI DAILY PARAMS... [--reps 20/50,20/1,1/50,1/1] [--seed 1] [--work DIR]
"""
import argparse
import resource
import subprocess
import tempfile
from pathlib import Path


def processor_seconds(command):
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    subprocess.run(command, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    return after.ru_utime + after.ru_stime - before.ru_utime - before.ru_stime


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("cli")
    parser.add_argument("daily")
    parser.add_argument("params", nargs="+")
    parser.add_argument("--reps", default="20/50,20/1,1/50,1/1")
    parser.add_argument("--seed", default="1")
    parser.add_argument("--work")
    args = parser.parse_args()
    work = Path(args.work or tempfile.mkdtemp(prefix="set_cost_"))
    work.mkdir(parents=True, exist_ok=True)
    reps = args.reps.split(",")
    print("parameters  " + "  ".join(f"{rep:>8}" for rep in reps) + "   (processor seconds)")
    for params in args.params:
        times = []
        for rep in reps:
            factor, minimum = rep.split("/")
            times.append(processor_seconds([args.cli, "disaggregate", "-q", "-i", args.daily, "-p", params,
                                            "-o", str(work / "hourly.csv"), "--rep-factor", factor,
                                            "--rep-min", minimum, "-t", "1", "-s", args.seed]))
        print(f"{Path(params).name}  " + "  ".join(f"{t:8.2f}" for t in times))


if __name__ == "__main__":
    main()
