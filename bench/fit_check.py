#!/usr/bin/python3
"""How close nimbra-cli fit comes to the best objective known, and at what cost.

Fits each month of an hourly record, and the whole year, once with the default search and
once with a long one (many more starts, each run longer), and prints per season the
objective of each, how far the default is above the long one, how many of the default's
starts ended within 2 % of its best, and the default's processor time for the season
(the run's time less that of a run with one evaluation, which reads the record).

Usage: bench/fit_check.py CLI RECORD [--long-starts 300] [--long-evaluations 4000]
           [--work DIR] [-- OPTIONS passed to every fit]
"""
import argparse
import csv
import resource
import subprocess
import tempfile
from pathlib import Path

SEASONS = [(str(month), str(month)) for month in range(1, 13)] + [("all", " ".join(map(str, range(1, 13))))]


def fit(cli, record, season, work, options):
    """The report's rows of the season, and the processor time the fit took."""
    seasons, report = work / "season.csv", work / "report.csv"
    seasons.write_text(f"season,months\n{season[0]},{season[1]}\n")
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    subprocess.run([cli, "fit", "-i", record, "-o", work / "params.csv", "--seasons", seasons,
                    "--report", report, *options], check=True)
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    with open(report, newline="") as rows:
        items = {row["item"]: row["fitted"] for row in csv.DictReader(rows)}
    return items, after.ru_utime + after.ru_stime - before.ru_utime - before.ru_stime


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("cli")
    parser.add_argument("record")
    parser.add_argument("--long-starts", default="300")
    parser.add_argument("--long-evaluations", default="4000")
    parser.add_argument("--work")
    parser.add_argument("options", nargs="*")
    args = parser.parse_args()
    work = Path(args.work or tempfile.mkdtemp(prefix="fit_check_"))
    work.mkdir(parents=True, exist_ok=True)
    _, reading = fit(args.cli, args.record, SEASONS[0], work, ["--starts", "1", "--evaluations", "1"])
    long_search = ["--starts", args.long_starts, "--evaluations", args.long_evaluations]
    print("season  default_objective  long_objective  above_long_%  within_2%/starts  cpu_s")
    for season in SEASONS:
        default, seconds = fit(args.cli, args.record, season, work, args.options)
        long, _ = fit(args.cli, args.record, season, work, args.options + long_search)
        best, known = float(default["objective"]), float(long["objective"])
        print(f"{season[0]:>6}  {best:17.6g}  {known:14.6g}  {100 * (best / known - 1):12.2f}  "
              f"{default['starts_within_2_percent']:>7}/{default['starts']:<8}  {seconds - reading:5.2f}")


if __name__ == "__main__":
    main()
