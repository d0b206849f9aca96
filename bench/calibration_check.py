#!/usr/bin/python3
"""Calibrates on the first years of a classic gauge file and checks on the rest.

Converts the file to CSV, fits the parameters on the calibration years (nimbra-cli fit),
calibrates them for disaggregation (nimbra-cli calibrate, timed in all and per season from its
progress lines, with the load average at its start and end), then disaggregates the
check years with the fitted and with the calibrated set, with SEEDS seeds each, and prints
the hourly statistics of both (the mean over the seeds, ± its standard error: on a few check
days other seeds could move it that far) against the observed hours, and the largest difference
between a day's hours and its daily depth. When one season was calibrated, the calibration
report's errors of both sets on the calibration years are printed beside: how far the fitted
set's error moves from those years to the check years is how far the years differ in their
hours given their days, which no calibration on the first can know. When more than one month
is checked, each month's bars met and the calibrated set's errors follow. A season left as it
was (calibrate's status 1) is named and the rest checked.

Usage: bench/calibration_check.py CLI RECORD FIRST_CHECK_YEAR [--seeds 6] [--calibration-seeds N]
           [--calibration-seed S] [--fit-seasons monthly] [--evaluations 14] [--threads N]
           [--months 1,7] [--hourly HOURLY_CSV] [--work DIR]

--calibration-seed gives calibrate its first seed (default its own): the spread of the check
figures over a few calibration seeds is what a user can expect from one calibration.
--hourly takes a dated record as it is: RECORD is its daily CSV, HOURLY_CSV its hours.
--months calibrates only the monthly seasons of those months and checks on their days alone,
disaggregating those days only, so that the processor time of the check is theirs.
"""
import argparse
import csv
import json
import os
import re
import resource
import shutil
import subprocess
import time
from collections import defaultdict, namedtuple
from datetime import date as calendar_date
from pathlib import Path

WET_HOUR = 0.05  # as nimbra-cli calibrate counts a wet hour
STATISTICS = 7  # the report's first rows of a season, in the order of statistics()
ABSOLUTE = {1, 2, 4}  # the statistics whose bars are absolute differences
BARS = [0.10, 0.05, 0.02, 0.15, 0.05, 0.20]  # of the first six statistics; the 99.9th percentile has none


def run(*arguments, allowed=(0,)):
    command = [str(a) for a in arguments]
    status = subprocess.run(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).returncode
    if status not in allowed:
        raise subprocess.CalledProcessError(status, command)


def timed_calibration(command, at_once):
    """Runs nimbra-cli calibrate; returns per season its candidates and its wall seconds. Seasons
    run at_once at a time, each taken in order as one ends, so a season starts when the
    season that freed its thread ended: the (i - at_once)th end, in order, before it."""
    seasons, started = {}, time.monotonic()
    process = subprocess.Popen([str(c) for c in command], stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
    for line in process.stderr:
        match = re.match(r"season (\S+): candidate", line)
        if match:
            candidates, _ = seasons.get(match.group(1), (0, 0.0))
            seasons[match.group(1)] = (candidates + 1, time.monotonic() - started)
        elif "left as it was" in line:
            print(line.rstrip())
    # Status 1: a season no candidate could run was left as it was, the others calibrated.
    if process.wait() not in (0, 1):
        raise subprocess.CalledProcessError(process.returncode, command)
    order = sorted(seasons, key=int) if all(name.isdigit() for name in seasons) else list(seasons)  # the table's
    timed = {}
    for i, name in enumerate(order):
        candidates, end = seasons[name]
        ends_before = sorted(seasons[n][1] for n in order[:i])
        start = ends_before[i - at_once] if i >= at_once else 0.0
        timed[name] = (candidates, end - start)
    return timed


def split(path, first_check_year, early, late):
    with open(path, newline="") as source, open(early, "w") as a, open(late, "w") as b:
        header = source.readline()
        a.write(header)
        b.write(header)
        for line in source:
            year = int(line.split(",")[1][:4])
            (b if year >= first_check_year else a).write(line)


def keep_months(path, months, kept):
    with open(path, newline="") as source, open(kept, "w") as out:
        out.write(source.readline())
        out.writelines(line for line in source if int(line.split(",")[1][5:7]) in months)
    return kept


def read_daily(path):
    with open(path, newline="") as source:
        return {row["date"]: float(row["precip_mm"]) for row in csv.DictReader(source) if row["precip_mm"] not in ("", "NA")}


def read_hours(path):
    days = defaultdict(lambda: [None] * 24)
    with open(path, newline="") as source:
        for row in csv.DictReader(source):
            date, clock = row["time"].split("T")
            value = row["precip_mm"]
            days[date][int(clock[:2])] = None if value in ("", "NA") else float(value)
    return days


def percentile(values, q):
    """Linear between the order statistics around q (n - 1), as nimbra-cli calibrate."""
    values = sorted(values)
    position = q * (len(values) - 1)
    below = int(position)
    above = min(below + 1, len(values) - 1)
    return values[below] + (position - below) * (values[above] - values[below])


def statistics(days, taken):
    """Variance, lag-1 autocorrelation, dry fraction, wet-spell hours, wettest-hour share,
    mean yearly largest hour, 99.9th percentile of the wet hours."""
    stretches, stretch, previous = [], [], None
    for date in sorted(taken):
        hours = days[date]
        if previous is None or (date_number(date) - date_number(previous)) != 1:
            stretch = []
            stretches.append(stretch)
        stretch.extend(hours)
        previous = date
    values = [x for s in stretches for x in s]
    n, mean = len(values), sum(values) / len(values)
    squares = sum((x - mean) ** 2 for x in values)
    pairs = [(s[i], s[i + 1]) for s in stretches for i in range(len(s) - 1)]
    lag1 = sum((a - mean) * (b - mean) for a, b in pairs) / len(pairs) / (squares / n)
    wet = [x >= WET_HOUR for x in values]
    spells = sum(1 for s in stretches for i, x in enumerate(s) if x >= WET_HOUR and (i == 0 or s[i - 1] < WET_HOUR))
    shares = [max(days[d]) / sum(days[d]) for d in taken if sum(days[d]) >= WET_HOUR]
    largest = defaultdict(float)
    for d in taken:
        largest[d[:4]] = max(largest[d[:4]], max(days[d]))
    return [squares / (n - 1), lag1, 1 - sum(wet) / n, sum(wet) / spells, sum(shares) / len(shares),
            sum(largest.values()) / len(largest), percentile([x for x in values if x >= WET_HOUR], 0.999)]


def date_number(date):
    return calendar_date.fromisoformat(date).toordinal()


def calibration_years_errors(report):
    """Per statistic, the fitted and the calibrated set's errors on the calibration years when the
    report holds one season, else nothing."""
    with open(report, newline="") as source:
        rows = list(csv.DictReader(source))
    if len({row["season"] for row in rows}) != 1:
        return None
    return [(error(float(row["before"]), float(row["observed"]), i), error(float(row["after"]), float(row["observed"]), i))
            for i, row in enumerate(rows[:STATISTICS])]


def bars_met(estimates, target):
    return sum(abs(deviation(estimates[i][0], target[i], i)) <= bar for i, bar in enumerate(BARS))


def deviation(value, observed, statistic):
    """Relative, but absolute for the lag-1 autocorrelation, the dry fraction and the wettest hour's share."""
    return value - observed if statistic in ABSOLUTE else value / observed - 1


def error(value, observed, statistic):
    return f"{deviation(value, observed, statistic):{'+.3f' if statistic in ABSOLUTE else '+.1%'}}"


def check_error(estimate, observed, statistic):
    """The error of a mean over the check seeds, with its standard error in the same units."""
    value, spread = estimate
    return (f"{value:.4g} ({error(value, observed, statistic)} ± "
            + (f"{spread:.3f})" if statistic in ABSOLUTE else f"{spread / observed:.1%})"))


Check = namedtuple("Check", "groups worst cpu empty beyond")


def disaggregated(cli, daily, params, seeds, work, groups):
    """Per group of days (a name and its days), each statistic's mean over the seeds and its
    standard error; the largest daily total difference, the processor seconds per seed, the
    days per seed that failed sequences left empty (status 1), which the statistics leave out,
    and the sequences per seed no storm set came near enough (their nearest set is kept)."""
    per_seed, worst, cpu, empty, beyond = defaultdict(list), 0.0, 0.0, 0, 0
    totals = read_daily(daily)
    for seed in range(1, seeds + 1):
        hours_path = work / f"hours_{Path(params).stem}_{seed}.csv"
        before = resource.getrusage(resource.RUSAGE_CHILDREN)
        run(cli, "disaggregate", "-q", "-i", daily, "-p", params, "-o", hours_path, "--seed", seed, "--decimals", 6,
            "--threads", 1, allowed=(0, 1))
        after = resource.getrusage(resource.RUSAGE_CHILDREN)
        cpu += after.ru_utime - before.ru_utime
        sidecar = json.loads(Path(f"{hours_path}.json").read_text())
        beyond += sum(w["message"].startswith("No storm set came within")
                      for station in sidecar["stations"] for w in station["warnings"])
        days = read_hours(hours_path)
        filled = [d for d in totals if None not in days[d]]
        empty += len(totals) - len(filled)
        worst = max(worst, max(abs(sum(days[d]) - totals[d]) for d in filled))
        for name, taken in groups.items():
            per_seed[name].append(statistics(days, [d for d in taken if None not in days[d]]))
    return Check({name: [mean_and_error([s[i] for s in runs]) for i in range(len(runs[0]))]
                  for name, runs in per_seed.items()}, worst, cpu / seeds, empty / seeds, beyond / seeds)


def print_months(groups, targets, fitted, calibrated):
    """Each month's check days alone: the bars each set meets and the calibrated set's errors."""
    print("\n| month | check days | bars met, fitted | bars met, calibrated | variance | lag-1 | dry hours | wet spell "
          "| wettest-hour share | yearly largest hour |")
    print("|---|---|---|---|---|---|---|---|---|---|")
    for month in (name for name in groups if name != "all"):
        target = targets[month]
        errors = " | ".join(error(calibrated[month][i][0], target[i], i) for i in range(len(BARS)))
        print(f"| {month} | {len(groups[month])} | {bars_met(fitted[month], target)} "
              f"| {bars_met(calibrated[month], target)} | {errors} |")


def mean_and_error(values):
    """The mean over seeds and its standard error: how far another set of seeds could move it."""
    mean = sum(values) / len(values)
    if len(values) < 2:
        return mean, 0.0
    return mean, (sum((v - mean) ** 2 for v in values) / (len(values) - 1) / len(values)) ** 0.5


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("cli")
    parser.add_argument("record")
    parser.add_argument("first_check_year", type=int)
    parser.add_argument("--seeds", type=int, default=6, help="of the check's disaggregations")
    parser.add_argument("--calibration-seeds", type=int, help="of calibrate (default: its own)")
    parser.add_argument("--calibration-seed", type=int, help="calibrate's first seed (default: its own)")
    parser.add_argument("--hourly", help="the observed hours as CSV, RECORD then being the daily CSV of one station")
    parser.add_argument("--fit-seasons", default="monthly")
    parser.add_argument("--evaluations", type=int, default=14)
    parser.add_argument("--threads", type=int, default=os.cpu_count())
    parser.add_argument("--months", help="month numbers: their monthly seasons alone, checked on their days")
    parser.add_argument("--work", default="build/calibration_check")
    a = parser.parse_args()
    work = Path(a.work)
    work.mkdir(parents=True, exist_ok=True)
    if a.hourly:
        shutil.copyfile(a.record, work / "daily.csv")
        shutil.copyfile(a.hourly, work / "observed.csv")
    else:
        run(a.cli, "convert", "-i", a.record, "-o", work / "daily.csv", "--hourly-output", work / "observed.csv",
            "--station", "Gauge")
    for name in ("daily", "observed"):
        split(work / f"{name}.csv", a.first_check_year, work / f"{name}_calibration.csv", work / f"{name}_check.csv")
    run(a.cli, "fit", "-i", work / "observed_calibration.csv", "-o", work / "fitted.csv", "--seasons", a.fit_seasons)
    started, before, load = time.monotonic(), resource.getrusage(resource.RUSAGE_CHILDREN), os.getloadavg()[0]
    seasons = timed_calibration([a.cli, "calibrate", "--daily", work / "daily_calibration.csv", "--observed-hourly",
                                 work / "observed_calibration.csv", "-p", work / "fitted.csv", "-o",
                                 work / "calibrated.csv", "--report", work / "calibration_report.csv",
                                 "--evaluations", a.evaluations, "--threads", a.threads] +
                                (["--seeds", a.calibration_seeds] if a.calibration_seeds else []) +
                                (["--seed", a.calibration_seed] if a.calibration_seed else []) +
                                (["--seasons", a.months] if a.months else []),
                                min(a.threads, len(a.months.split(",")) if a.months else 12))
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    wall, cpu = time.monotonic() - started, after.ru_utime + after.ru_stime - before.ru_utime - before.ru_stime
    observed, daily = read_hours(work / "observed_check.csv"), read_daily(work / "daily_check.csv")
    months = {int(m) for m in a.months.split(",")} if a.months else set(range(1, 13))
    taken = [d for d in daily if None not in observed[d] and int(d[5:7]) in months]
    by_month = {month: [d for d in taken if int(d[5:7]) == month] for month in sorted(months)}
    by_month = {month: days for month, days in by_month.items() if days}
    groups = {"all": taken, **(by_month if len(by_month) > 1 else {})}
    targets = {name: statistics(observed, days) for name, days in groups.items()}
    target = targets["all"]
    check_daily = keep_months(work / "daily_check.csv", months, work / "daily_check_months.csv")
    fitted_check = disaggregated(a.cli, check_daily, work / "fitted.csv", a.seeds, work, groups)
    calibrated_check = disaggregated(a.cli, check_daily, work / "calibrated.csv", a.seeds, work, groups)
    fitted, calibrated = fitted_check.groups["all"], calibrated_check.groups["all"]
    names = ["hourly variance (mm²)", "lag-1 autocorrelation", "dry-hour fraction", "mean wet spell (h)",
             "wettest hour's share", "mean yearly largest hour (mm)", "99.9th percentile of wet hours (mm)"]
    own = calibration_years_errors(work / "calibration_report.csv")
    print(f"| statistic ({len(taken)} check days, {a.seeds} seeds) | observed | fitted | calibrated"
          + (" | fitted, calibration years | calibrated, calibration years |" if own else " |"))
    print("|---|---|---|---|" + ("---|---|" if own else ""))
    for i, name in enumerate(names):
        print(f"| {name} | {target[i]:.4g} | {check_error(fitted[i], target[i], i)} "
              f"| {check_error(calibrated[i], target[i], i)} |" + (" {} | {} |".format(*own[i]) if own else ""))
    print(f"| largest daily total difference (mm) | | {fitted_check.worst:.1e} | {calibrated_check.worst:.1e} |")
    print(f"| disaggregation of the check years (s CPU per seed) | | {fitted_check.cpu:.2f} "
          f"| {calibrated_check.cpu:.2f} |")
    if fitted_check.empty or calibrated_check.empty:
        print(f"| days failed sequences left empty, per seed (left out) | | {fitted_check.empty:.1f} "
              f"| {calibrated_check.empty:.1f} |")
    if fitted_check.beyond or calibrated_check.beyond:
        print(f"| sequences no storm set came near, per seed (nearest kept) | | {fitted_check.beyond:.1f} "
              f"| {calibrated_check.beyond:.1f} |")
    print(f"bars met (of {len(BARS)}): fitted {bars_met(fitted, target)}, calibrated {bars_met(calibrated, target)}")
    if len(groups) > 1:
        print_months(groups, targets, fitted_check.groups, calibrated_check.groups)
    print(f"calibration: {wall:.0f} s wall, {cpu:.0f} s CPU, load average {load:.1f} at the start and "
          f"{os.getloadavg()[0]:.1f} at the end")
    for name, (candidates, seconds) in seasons.items():
        print(f"season {name}: {candidates} candidates, {seconds:.0f} s wall")


main()
