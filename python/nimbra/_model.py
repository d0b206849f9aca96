"""The model's statistics in closed form, and its parameters fitted to hourly records, as
DataFrames in the layouts nimbra-cli model-stats and nimbra-cli fit write."""

from collections.abc import Mapping

import numpy as np
import pandas as pd

from . import _daily
from ._nimbra import FitSpaceOptions, ModelStatistics, SeasonToFit, fit_season
from ._parameters import PARAMETER_NAMES, parameter_set

_ALL_MONTHS = 0x0FFF


def model_stats(params, scales=(1, 3, 6, 24)):
    """Per scale in hours: the model's mean, variance, lag 1 to 3 autocorrelations, dry
    probability and skewness (mm per interval). params: a mapping of the seven values."""
    if not isinstance(params, Mapping):
        raise TypeError(f"params: expected a mapping of {', '.join(PARAMETER_NAMES)}, found {type(params).__name__}")
    model = ModelStatistics(list(parameter_set(params)))
    rows = []
    for scale in scales:
        if not (isinstance(scale, (int, np.integer)) and 1 <= scale <= 8784):
            raise ValueError(f"scales: expected whole hours from 1 to 8784, found {scale!r}")
        h = scale / _daily.HOURS_PER_DAY
        lags = [model.autocorrelation(h, lag) for lag in (1, 2, 3)]
        rows.append([scale, model.mean(h), model.variance(h), *lags, model.dry_probability(h), model.skewness(h)])
    columns = ["scale_hours", "mean", "variance", "autocorrelation_lag1", "autocorrelation_lag2"]
    columns += ["autocorrelation_lag3", "dry_probability", "skewness"]
    return pd.DataFrame(rows, columns=columns)


def fit(hourly, seasons="monthly", scales=None, statistics=None, fix=None, bounds=None,
        intensity="exponential", weights="equal", seed=1, starts=24, evaluations=1600):
    """The parameters of each season fitted by the method of moments, as a DataFrame with
    the columns of params.csv (with months after season for named seasons), ready for
    nimbra.disaggregate. Its attrs["report"] holds each season's statistics: observed,
    fitted, weight and relative error, and attrs["objective"] each season's objective.

    hourly: a Series of mm per hour on an hourly DatetimeIndex (NaN = missing hour).
    seasons: 'monthly' (months without data left out), 'all', or a mapping of season
    names to month lists. scales (hours) or statistics ("mean@24,variance@1,...") choose
    the targets. fix {name: value} holds parameters, bounds {name: (low, high)} limits
    them. intensity: 'exponential' or 'gamma'; weights: 'equal' or 'years'. starts: local
    searches per season; evaluations: objective evaluations per local search."""
    if not isinstance(hourly, pd.Series):
        raise TypeError(f"hourly: expected a pandas Series, found {type(hourly).__name__}")
    first_day, hours = _daily.hourly_record(hourly, "hourly", "" if hourly.name is None else str(hourly.name))
    choices, named = _seasons(seasons, first_day, hours)
    _member("intensity", intensity, ("exponential", "gamma"))
    _member("weights", weights, ("equal", "years"))
    for name, value in (("starts", starts), ("evaluations", evaluations)):
        if not (isinstance(value, (int, np.integer)) and value >= 1):
            raise ValueError(f"{name}: expected a whole number of 1 or more, found {value!r}")
    space = FitSpaceOptions(intensity == "gamma", list((fix or {}).items()), list((bounds or {}).items()))
    rows, report, objective, spread = [], [], {}, {}
    for name, months in choices:
        season = SeasonToFit(name, months, statistics or "", list(scales or []), weights == "years")
        fitted = fit_season(first_day, hours, season, space, seed, starts, evaluations)
        months_text = {"months": " ".join(str(m) for m in range(1, 13) if months >> (m - 1) & 1)} if named else {}
        rows.append({"season": name, **months_text, **dict(zip(PARAMETER_NAMES, fitted["parameters"]))})
        report += [(name, *target) for target in fitted["targets"]]
        objective[name] = fitted["objective"]
        spread[name] = fitted["spread"]
    table = pd.DataFrame(rows)
    table.attrs["report"] = pd.DataFrame(
        report, columns=["season", "item", "observed", "fitted", "weight", "relative_error"]
    )
    table.attrs["objective"] = objective
    table.attrs["spread"] = spread
    return table


def _member(name, value, allowed):
    if value not in allowed:
        raise ValueError(f"{name}: expected {' or '.join(map(repr, allowed))}, found {value!r}")


def _seasons(seasons, first_day, hours):
    if seasons == "all":
        return [("all", _ALL_MONTHS)], False
    if seasons == "monthly":
        days = pd.date_range(_daily.date_of(first_day), periods=len(hours) // 24, freq="D")
        present = set(days[~np.isnan(hours.reshape(-1, 24)).all(axis=1)].month)
        return [(str(m), 1 << (m - 1)) for m in range(1, 13) if m in present], False
    if isinstance(seasons, dict):
        choices = []
        for name, months in seasons.items():
            if not months or not all(isinstance(m, (int, np.integer)) and 1 <= m <= 12 for m in months):
                raise ValueError(f"seasons: {name}: expected month numbers 1 to 12, found {months!r}")
            choices.append((str(name), sum(1 << (m - 1) for m in set(months))))
        return choices, True
    raise ValueError(f"seasons: expected 'monthly', 'all' or a mapping of names to months, found {seasons!r}")
