#!/usr/bin/python3
"""Peak memory and time of `nimbra-cli disaggregate` over many synthetic stations.

For each station count, writes a long-layout daily CSV of mostly dry stations (about one day
in a hundred wet), runs `disaggregate --threads 2` on it and prints the input's size, the
wall time and the peak resident memory of the run (ru_maxrss). The hourly output is removed
after each run, as it is far larger than the input (24 rows per day).

Usage: bench/disaggregate_memory.py CLI [--years Y] [--threads T] [--work DIR] STATIONS...
"""
import argparse
import datetime
import os
import random
import shutil
import subprocess
import sys
import tempfile
import time
from pathlib import Path

PARAMS = ("season,lambda,kappa,phi,alpha,nu,mu_x,sigma_x\n"
          "all,0.454678781,0.07465552635,0.02588573071,3.9419622,0.02895838123,143.2772408,143.2772408\n")


def write_daily(path, stations, years):
    first = datetime.date(1991, 1, 1)
    dates = [(first + datetime.timedelta(days=d)).isoformat()
             for d in range((datetime.date(1991 + years, 1, 1) - first).days)]
    with open(path, "w") as out:
        out.write("station,date,precip_mm\n")
        for number in range(stations):
            name = f"S{number:05d}"
            wet = random.Random(number)
            out.write("".join(f"{name},{date},{wet.uniform(0.5, 20):.1f}\n" if wet.random() < 0.01
                              else f"{name},{date},0\n" for date in dates))
    return len(dates)


def run(cli, daily, params, output, threads):
    start = time.monotonic()
    process = subprocess.Popen([cli, "disaggregate", "-i", daily, "-p", params, "-o", output,
                                "--threads", str(threads), "--quiet"],
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    _, status, usage = os.wait4(process.pid, 0)
    return os.waitstatus_to_exitcode(status), time.monotonic() - start, usage.ru_maxrss / 1024


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("cli")
    parser.add_argument("stations", type=int, nargs="+")
    parser.add_argument("--years", type=int, default=30)
    parser.add_argument("--threads", type=int, default=2)
    parser.add_argument("--work", help="folder for the files (default: a temporary one)")
    a = parser.parse_args()
    work = Path(a.work) if a.work else Path(tempfile.mkdtemp(prefix="nimbra_memory_"))
    work.mkdir(parents=True, exist_ok=True)
    params = work / "params.csv"
    params.write_text(PARAMS)
    print("stations  years  daily file MB  status  seconds  peak MB")
    try:
        for stations in a.stations:
            daily, output = work / f"daily_{stations}.csv", work / f"hourly_{stations}.csv"
            write_daily(daily, stations, a.years)
            status, seconds, peak = run(a.cli, daily, params, output, a.threads)
            size = daily.stat().st_size / 2**20
            print(f"{stations:8d}  {a.years:5d}  {size:13.0f}  {status:6d}  {seconds:7.0f}  {peak:7.0f}", flush=True)
            for path in (daily, output, Path(str(output) + ".json")):
                path.unlink(missing_ok=True)
    finally:
        if not a.work:
            shutil.rmtree(work)
    return 0


if __name__ == "__main__":
    sys.exit(main())
