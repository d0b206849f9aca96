"""Parameter sets calibrated for disaggregation from Python: the call nimbra-cli calibrate
runs, on pandas data or on its CSV files, giving the two files it writes as DataFrames."""

from __future__ import annotations

import io
import os
import sys
import warnings
from collections.abc import Callable, Mapping, Sequence
from typing import Any

import numpy as np
import pandas as pd

from . import _daily, _parameters
from ._disaggregate import check_options
from ._nimbra import TableCalibrationSettings, calibrate_table, read_daily_csv, read_hourly_csv

_RUN_OPTIONS = ("adjust", "rep_allowed", "distance")


def calibrate(
    daily: pd.Series | pd.DataFrame | str | os.PathLike,
    observed_hourly: pd.Series | pd.DataFrame | str | os.PathLike,
    params: Mapping[str, float] | pd.DataFrame | str | os.PathLike,
    seeds: int = 4,
    evaluations: int = 14,
    seasons: Sequence[str] | None = None,
    seed: int = 1,
    threads: int | None = None,
    progress: Callable[[dict], Any] | bool | None = None,
    slowdown: float = 2.0,
    **options: Any,
) -> tuple[pd.DataFrame, pd.DataFrame]:
    """The parameter sets calibrated so that the disaggregated hours have the observed
    hourly statistics: what nimbra-cli calibrate computes for the same inputs.

    daily: mm per day, a Series (one station, named by its name) or a DataFrame (a column
      per station) on a DatetimeIndex, or the path of a daily CSV file.
    observed_hourly: mm per hour of the same stations, a Series or DataFrame on an hourly
      DatetimeIndex (hours labelled by their start, NaN for a missing hour), or the path of
      an hourly CSV file (station,time,precip_mm).
    params: the fitted sets: a params.csv path, a DataFrame with its columns, or a mapping
      of the seven parameters (one set, season "all").
    seeds, evaluations, seasons, seed, threads: --seeds (1 to 100), --evaluations (1 to
      10000), --seasons, --seed and --threads of the command line (default: every core).
    progress: a callable given a dict per candidate (season, candidate, cell_duration,
      intensity_spread, storm_frequency, storm_duration, rep_factor, rep_min, objective,
      seeds), called on the calling thread; True shows a tqdm bar when tqdm is installed,
      else a line per candidate on standard error.
    slowdown: --slowdown, the times the fitted set's run time a calibrated set may take (1 to
      100; default 2).
    options: adjust, rep_allowed, distance, passed to every disaggregation.

    Returns (calibrated, report): the calibrated parameters in the layout of calibrated.csv,
    ready for nimbra.disaggregate, and the report of the statistics before and after. Each
    has attrs["csv"], the text of the file nimbra-cli calibrate writes. A season where no
    candidate disaggregates every wet sequence is left as it was, with a RuntimeWarning.
    Ctrl-C ends the call within about a second."""
    run = check_options(0, options, _RUN_OPTIONS)
    settings = TableCalibrationSettings(
        _names(seasons),
        _count("seeds", seeds, 100),
        _integer("seed", seed),
        _count("evaluations", evaluations, 10000),
        _count("threads", threads or os.cpu_count() or 1, 1024),
        run,
        _slowdown(slowdown),
    )
    table = _parameters.Parameters(params).table()
    daily_name, daily_stations = _stations(daily, "daily", read_daily_csv, _daily_station)
    observed_name, observed_stations = _stations(observed_hourly, "observed_hourly", read_hourly_csv, _hourly_station)
    calibrated, report, left = calibrate_table(
        table, daily_stations, observed_stations, daily_name, observed_name, settings, _progress(progress)
    )
    for warning in left:
        warnings.warn(warning, RuntimeWarning, stacklevel=2)
    return _frame(calibrated), _frame(report)


def _integer(name, value):
    if isinstance(value, (bool, np.bool_)) or not isinstance(value, (int, np.integer)):
        raise TypeError(f"{name}: expected an integer, found {value!r}")
    return int(value)


def _count(name, value, most):
    value = _integer(name, value)
    if not 1 <= value <= most:
        raise ValueError(f"{name}: expected an integer from 1 to {most}, found {value}")
    return value


def _slowdown(value):
    if isinstance(value, (bool, np.bool_)) or not isinstance(value, (int, float, np.integer, np.floating)):
        raise TypeError(f"slowdown: expected a number, found {value!r}")
    if not 1 <= value <= 100:
        raise ValueError(f"slowdown: expected a number from 1 to 100, found {value}")
    return float(value)


def _names(seasons):
    if seasons is None:
        return []
    if isinstance(seasons, str) or not all(isinstance(s, str) for s in seasons):
        raise TypeError(f"seasons: expected a list of season names, found {seasons!r}")
    return list(seasons)


def _stations(data, what, read, convert):
    """A name for messages and the stations as (name, first serial day, values), sorted by
    name as the command line's readers sort them."""
    if isinstance(data, (str, os.PathLike)):
        return os.fspath(data), read(os.fspath(data))
    if isinstance(data, pd.Series):
        data = data.to_frame("" if data.name is None else data.name)
    if not isinstance(data, pd.DataFrame):
        raise TypeError(f"{what}: expected a pandas Series or DataFrame or a path, found {type(data).__name__}")
    names = _daily.station_names(data.columns)
    stations = [convert(name, data[column]) for column, name in zip(data.columns, names)]
    return what, sorted(stations, key=lambda station: station[0].encode())


def _daily_station(name, values):
    days, first_day = _daily.full_days(values.index)
    return name, first_day, _daily.station_depths(name, values.reindex(days), days)


def _hourly_station(name, values):
    first_day, hours = _daily.hourly_record(values, "observed_hourly", name)
    return name, first_day, hours


def _progress(progress):
    if progress is None or progress is False:
        return None
    if callable(progress):
        return progress
    if progress is not True:
        raise TypeError(f"progress: expected a callable, True or None, found {progress!r}")
    try:
        from tqdm import tqdm
    except ImportError:
        return _print_candidate
    bar = tqdm(unit="candidate")

    def update(e):
        bar.set_postfix(season=e["season"], objective=e["objective"], refresh=False)
        bar.update(1)

    return update


def _print_candidate(e):
    print(f"season {e['season']}: candidate {e['candidate']}, objective {e['objective']:.5g}", file=sys.stderr)


def _frame(text):
    frame = pd.read_csv(io.StringIO(text), dtype={"season": str, "station": str, "months": str}, keep_default_na=False,
                        na_values=[""])
    frame.attrs["csv"] = text
    return frame
