"""Daily pandas data as the serial days and depths the compiled call takes, and its hours
back as pandas data with an hourly index; and the threads that run the compiled call."""

from __future__ import annotations

import os
import warnings

import numpy as np
import pandas as pd

from ._nimbra import run_stations

HOURS_PER_DAY = 24
_EPOCH = pd.Timestamp("1970-01-01")


def full_days(index):
    """The index's days from its first to its last, every day once, and the serial day
    (days since 1970-01-01) of the first. Refuses anything but distinct midnights."""
    if not isinstance(index, pd.DatetimeIndex):
        raise TypeError(f"daily: expected a DatetimeIndex of days, found {type(index).__name__}")
    if len(index) == 0:
        raise ValueError("daily: expected at least one day, found none")
    if index.tz is not None and str(index.tz) != "UTC":
        raise ValueError(f"daily: expected dates without a time zone or in UTC, found {index.tz}")
    not_midnight = index != index.normalize()
    if not_midnight.any():
        raise ValueError(f"daily: expected dates at midnight, found {index[not_midnight][0]}")
    repeated = index.duplicated()
    if repeated.any():
        raise ValueError(f"daily: date {index[repeated][0].date()} appears twice")
    days = pd.date_range(index.min(), index.max(), freq="D", name=index.name)
    first_day = (days[0].tz_localize(None) - _EPOCH).days
    return days, first_day


def station_depths(name, values, days, what="daily", unit="mm"):
    """The depths of one station as float64, NaN for a missing value; refuses text,
    booleans, negative and infinite depths, naming the station and the time."""
    if _booleans(values):
        raise TypeError(f"{what}: station '{name}': expected depths in {unit}, found booleans")
    depths = pd.to_numeric(values, errors="coerce").to_numpy(dtype=np.float64)
    is_bool = values.map(lambda v: isinstance(v, (bool, np.bool_))).to_numpy() if values.dtype == object else False
    bad = (np.isnan(depths) & values.notna().to_numpy()) | np.isinf(depths) | (depths < 0) | is_bool
    if bad.any():
        at = int(np.argmax(bad))
        when = days[at].date() if what == "daily" else days[at]
        raise ValueError(
            f"{what}: station '{name}', {when}: expected a depth >= 0 {unit} or NaN, found {values.iloc[at]!r}"
        )
    return depths


def _booleans(values):
    """Whether the values are booleans, with NaN where a reindexing left gaps."""
    if values.dtype == bool:
        return True
    present = values.dropna()
    return values.dtype == object and len(present) > 0 and all(isinstance(v, (bool, np.bool_)) for v in present)


def check_depths(name, depths, first_day):
    """Refuses negative and infinite depths of a station's array, naming the date."""
    bad = np.isinf(depths) | (depths < 0)
    if bad.any():
        at = int(np.argmax(bad))
        raise ValueError(
            f"daily: station '{name}', {date_of(first_day + at)}: expected a depth >= 0 mm or NaN, "
            f"found {depths[at]!r}"
        )


def station_names(columns):
    """The columns' names as text, refusing two columns that give one name (1 and '1')."""
    names = [str(column) for column in columns]
    seen = {}
    for column, name in zip(columns, names):
        if name in seen:
            raise ValueError(f"daily: columns {seen[name]!r} and {column!r} both give the station name '{name}'")
        seen[name] = column
    return names


def run_jobs(jobs, threads):
    """The stations' jobs through the compiled station runner, the one nimbra-cli
    disaggregate uses, on up to threads threads (default: every core); results in the jobs'
    order. Ctrl-C ends the call within a wet sequence."""
    return run_stations(jobs, max(1, min(threads or os.cpu_count() or 1, len(jobs))))


def hourly_record(values, what, name):
    """One station's hours as (serial day of the first, 24 depths per day from its first to
    its last day), NaN for a missing hour; refuses what station_depths refuses and hours
    off the hour."""
    index = values.index
    if not isinstance(index, pd.DatetimeIndex) or index.duplicated().any():
        raise ValueError(f"{what}: expected a DatetimeIndex of distinct hours")
    days, first_day = full_days(index.normalize().unique())
    hours = hourly_index(days)
    full = values.reindex(hours)
    if full.count() != values.count():
        raise ValueError(f"{what}: expected hours on the hour")
    return first_day, station_depths(name, full, hours, what, "mm")


def date_of(serial_day):
    """The date of a serial day (days since 1970-01-01)."""
    return (_EPOCH + pd.Timedelta(days=serial_day)).date()


def hourly_index(days):
    """The hours of the days, each labelled by its start."""
    return pd.date_range(days[0], periods=HOURS_PER_DAY * len(days), freq="H", name="time")


def sequences_of(result_sequences):
    """A run's failed or warned sequences as (first date, days, message)."""
    return [(date_of(s.first_day), s.days, s.message) for s in result_sequences]


def warn_of_sequences(place, failed, warned, stacklevel):
    """A RuntimeWarning for a station's or cell's failed sequences, and one for its sequences
    with a warning (storms that do not match their days), each naming the first; a sequence is
    (first date, days, message)."""
    for sequences, what in ((failed, "failed, their hours are NaN"), (warned, "with a warning")):
        if sequences:
            date, days, message = sequences[0]
            warnings.warn(
                f"{place}: {len(sequences)} wet sequence(s) {what}; the first, {days} day(s) from {date}: {message}",
                RuntimeWarning,
                stacklevel=stacklevel + 1,
            )
