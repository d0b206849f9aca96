"""Daily pandas series of one or many stations disaggregated into hours, each station with
its own random stream derived from the run's seed and its name, on threads that run in
parallel because the compiled call releases the GIL."""

import os
import warnings
from concurrent.futures import ThreadPoolExecutor
from dataclasses import dataclass

import numpy as np
import pandas as pd

from . import _daily, _parameters
from ._nimbra import RunOptions, station_seed

OPTION_NAMES = ("level", "adjust", "rep_factor", "rep_min", "rep_allowed", "distance")


def disaggregate(daily, params, seed=0, threads=None, **options):
    """Hourly depths (mm) whose days add up to the daily depths given.

    daily: a Series (one station, named by its name) or a DataFrame (one column per
    station) of mm per day on a DatetimeIndex of days; NaN or an absent date is a missing
    day, whose hours are NaN. params: a mapping of lambda, kappa, phi, alpha, nu, mu_x and
    sigma_x, a DataFrame with the columns of params.csv, or a path to params.csv (whose
    rep_factor and rep_min columns, as a calibration writes them, apply unless given as
    options). seed: the run's seed; each station's own is station_seed(seed, name).
    threads: stations run at once (default: all cores). options: level, adjust, rep_factor,
    rep_min, rep_allowed, distance.

    Returns a Series or DataFrame on an hourly DatetimeIndex, hours labelled by their start.
    Its attrs["nimbra"] holds per station the seed, the number of wet sequences, those that
    failed (their hours are NaN, and a RuntimeWarning says so) and the log lines."""
    check_options(seed, options)
    if isinstance(daily, pd.Series):
        name = "" if daily.name is None else str(daily.name)
        frame = _run_frame(daily.to_frame(name), params, seed, options, threads=1)
        hourly = frame.iloc[:, 0].rename(daily.name)
        hourly.attrs = frame.attrs
        return hourly
    if isinstance(daily, pd.DataFrame):
        return _run_frame(daily, params, seed, options, threads)
    raise TypeError(f"daily: expected a pandas Series or DataFrame, found {type(daily).__name__}")


def run_batch(daily, params, seed, options):
    """The stations of daily on one thread, failures left to the caller to report."""
    return _run_frame(daily, params, seed, options, threads=1, warn=False)


def check_options(seed, options):
    """Refuses unknown options and values out of range before any work."""
    unknown = [name for name in options if name not in OPTION_NAMES]
    if unknown:
        raise TypeError(f"unexpected option {unknown[0]!r}; expected one of {', '.join(OPTION_NAMES)}")
    RunOptions(seed=seed, **options)


@dataclass
class _Station:
    name: str
    first_day: int
    depths: np.ndarray
    params: _parameters.Parameters
    seed: int
    options: dict

    def run(self):
        return self.params.run(self.name, self.first_day, self.depths, self.seed, self.options)


def _run_frame(daily, params, seed, options, threads, warn=True):
    params = _parameters.Parameters(params)
    days, first_day = _daily.full_days(daily.index)
    daily = daily.reindex(days)
    stations = []
    for column in daily.columns:
        name = str(column)
        depths = _daily.station_depths(name, daily[column], days)
        params.for_station(name, first_day, depths)  # a month without a set fails before any work
        stations.append(_Station(name, first_day, depths, params, seed, options))
    with ThreadPoolExecutor(max_workers=max(1, min(threads or os.cpu_count() or 1, len(stations)))) as pool:
        results = list(pool.map(_Station.run, stations))
    hourly = pd.DataFrame(
        np.column_stack([r.hourly for r in results]) if results else None,
        index=_daily.hourly_index(days),
        columns=daily.columns,
    )
    hourly.attrs["nimbra"] = {s.name: _summary(s, r) for s, r in zip(stations, results)}
    if warn:
        warn_of_failures(hourly.attrs["nimbra"], stacklevel=4)
    return hourly


def warn_of_failures(summaries, stacklevel):
    """A RuntimeWarning for each station that lost wet sequences, naming the first."""
    for name, summary in summaries.items():
        if summary["failed"]:
            date, days, message = summary["failed"][0]
            warnings.warn(
                f"station '{name}': {len(summary['failed'])} wet sequence(s) failed, their hours are NaN; "
                f"the first, {days} day(s) from {date}: {message}",
                RuntimeWarning,
                stacklevel=stacklevel + 1,
            )


def _summary(station, result):
    failed = [(_daily.date_of(f.first_day), f.days, f.message) for f in result.failed]
    return {
        "seed": station_seed(station.seed, station.name),
        "sequences": result.sequences,
        "failed": failed,
        "log": list(result.log),
        "messages": list(result.messages),
    }
