"""Daily pandas series of one or many stations disaggregated into hours, each station with
its own random stream derived from the run's seed and its name, on threads that run in
parallel because the compiled call releases the GIL."""

from __future__ import annotations

import os
from collections.abc import Mapping
from dataclasses import dataclass
from typing import TYPE_CHECKING, Any

import numpy as np
import pandas as pd

from . import _daily, _parameters, _xarray
from ._nimbra import RunOptions, station_seed

if TYPE_CHECKING:
    import xarray

OPTION_NAMES = ("level", "adjust", "rep_factor", "rep_min", "rep_allowed", "distance")


def disaggregate(
    daily: pd.Series | pd.DataFrame | xarray.DataArray | xarray.Dataset,
    params: Mapping[str, float] | pd.DataFrame | str | os.PathLike | xarray.Dataset,
    seed: int = 0,
    threads: int | None = None,
    *,
    variable: str | None = None,
    **options: Any,
) -> pd.Series | pd.DataFrame | xarray.DataArray:
    """Hourly depths (mm) whose days add up to the daily depths given.

    daily: mm per day as
      - a pandas Series (one station, named by its name) or DataFrame (a column per
        station) on a DatetimeIndex of days; NaN or an absent date is a missing day;
      - an xarray DataArray with a ``time`` dimension of days and any others (``station``,
        ``lat``/``lon``, any grid), or a Dataset with the name of its ``variable``. Its
        ``units`` attribute may be mm, mm/day (also "mm d-1", "mm day-1") or kg m-2 s-1
        (a climate model's flux, converted); without one, mm per day. Backed by Dask,
        it is disaggregated lazily, chunk by chunk, wherever the chunks are computed.
    params: a mapping of lambda, kappa, phi, alpha, nu, mu_x and sigma_x (days and mm);
      a DataFrame with the columns of params.csv or a path to params.csv (its rep_factor
      and rep_min columns apply unless given as options); for xarray data also a Dataset
      of the seven variables over ``month`` (1 to 12, optional) and the grid's dimensions.
    seed: the run's seed. A station's own seed is station_seed(seed, name); an xarray
      cell's name is its coordinates, see cell_name.
    threads: stations or cells run at once (default: every core; 1 per Dask chunk).
    options: level, adjust, rep_factor, rep_min, rep_allowed, distance, in the ranges of
      nimbra-cli disaggregate.

    Returns a Series or DataFrame on an hourly DatetimeIndex, hours labelled by their start,
    with attrs["nimbra"] holding per station its seed, wet sequences, failed sequences (their
    hours are NaN, and a RuntimeWarning says so), sequences with a warning (storms that do not
    match their days, kept and scaled; a RuntimeWarning too) and log lines; for xarray data a
    DataArray of hours with the same other dimensions, units mm, NaN for missing days and a history
    attribute naming the seed, options, parameters and version.

    Raises TypeError for data of the wrong kind, ValueError for bad values (naming the
    station and date) and OSError for a parameters file that cannot be read. Ctrl-C ends
    the call within about a second."""
    check_options(seed, options)
    if _xarray.is_xarray(daily):
        return _xarray.disaggregate_xarray(daily, params, seed, threads, variable, options)
    if variable is not None:
        raise TypeError("variable: expected only with an xarray Dataset")
    if isinstance(daily, pd.Series):
        name = "" if daily.name is None else str(daily.name)
        frame = _run_frame(daily.to_frame(name), params, seed, options, threads=1)
        hourly = frame.iloc[:, 0].rename(daily.name)
        hourly.attrs = frame.attrs
        return hourly
    if isinstance(daily, pd.DataFrame):
        return _run_frame(daily, params, seed, options, threads)
    raise TypeError(
        f"daily: expected a pandas Series or DataFrame or an xarray DataArray or Dataset, found {type(daily).__name__}"
    )


def run_batch(daily, params, seed, options):
    """The stations of daily on one thread, failures left to the caller to report."""
    return _run_frame(daily, params, seed, options, threads=1, warn=False)


def check_options(seed, options, names=OPTION_NAMES):
    """Refuses unknown options, values of the wrong type and values out of range before any
    work, in the module's words rather than the binding's."""
    unknown = [name for name in options if name not in names]
    if unknown:
        raise TypeError(f"unexpected option {unknown[0]!r}; expected one of {', '.join(names)}")
    for name, value in {"seed": seed, **options}.items():
        expected = _OPTION_TYPES[name]
        if isinstance(value, (bool, np.bool_)) != (expected is bool) or not isinstance(value, _ACCEPTED[expected]):
            raise TypeError(f"{name}: expected {_TYPE_NAMES[expected]}, found {value!r}")
    if not -(2**31) <= seed < 2**31:
        raise ValueError(f"seed: expected an integer from {-(2**31)} to {2**31 - 1}, found {seed}")
    return RunOptions(seed=int(seed), **{name: _ACCEPTED_AS[_OPTION_TYPES[name]](v) for name, v in options.items()})


_OPTION_TYPES = {"seed": int, "level": int, "adjust": bool, "rep_factor": int, "rep_min": int, "rep_allowed": int,
                 "distance": float}
_ACCEPTED = {int: (int, np.integer), bool: (bool, np.bool_), float: (int, float, np.integer, np.floating)}
_ACCEPTED_AS = {int: int, bool: bool, float: float}
_TYPE_NAMES = {int: "an integer", bool: "True or False", float: "a number"}


@dataclass
class _Station:
    name: str
    first_day: int
    depths: np.ndarray
    params: _parameters.Parameters
    seed: int
    options: dict

    def job(self):
        return self.params.job(self.name, self.first_day, self.depths, self.seed, self.options)


def _run_frame(daily, params, seed, options, threads, warn=True):
    params = _parameters.Parameters(params)
    days, first_day = _daily.full_days(daily.index)
    daily = daily.reindex(days)
    stations = []
    for column, name in zip(daily.columns, _daily.station_names(daily.columns)):
        depths = _daily.station_depths(name, daily[column], days)
        params.for_station(name, first_day, depths)  # a month without a set fails before any work
        stations.append(_Station(name, first_day, depths, params, seed, options))
    results = _daily.run_jobs([station.job() for station in stations], threads)
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
    """A RuntimeWarning for each station that lost wet sequences, and one for each station
    whose sequences came with a warning (storms that do not match their days), naming the first."""
    for name, summary in summaries.items():
        _daily.warn_of_sequences(f"station '{name}'", summary["failed"], summary["warnings"], stacklevel + 1)


def _summary(station, result):
    return {
        "seed": station_seed(station.seed, station.name),
        "sequences": result.sequences,
        "failed": _daily.sequences_of(result.failed),
        "warnings": _daily.sequences_of(result.warnings),
        "log": list(result.log),
        "messages": list(result.messages),
    }
