"""Model parameters in the forms users hold them, as the table of twelve monthly sets the
compiled call takes."""

from collections.abc import Mapping

import numpy as np
import pandas as pd

PARAMETER_NAMES = ("lambda", "kappa", "phi", "alpha", "nu", "mu_x", "sigma_x")
_MONTHS = range(1, 13)


def monthly_parameters(params, station="", months_used=_MONTHS):
    """A 12 x 7 array, row 0 for January, of the seven parameters (days and millimetres).

    params is a mapping of the seven values, or a DataFrame with the columns of params.csv
    whose season is a month number 1 to 12 or 'all'. Every month in months_used must be
    covered; months that are not take a covered set, which no wet sequence uses."""
    if isinstance(params, Mapping):
        return np.tile(_parameter_set("params", params), (12, 1))
    if isinstance(params, pd.DataFrame):
        return _table_by_month(params, station, months_used)
    raise TypeError(
        f"params: expected a mapping of {', '.join(PARAMETER_NAMES)} or a DataFrame, "
        f"found {type(params).__name__}"
    )


def _parameter_set(where, values):
    missing = [name for name in PARAMETER_NAMES if name not in values]
    if missing:
        raise ValueError(f"{where}: expected the parameters {', '.join(missing)}, found none")
    extra = [name for name in values if name not in PARAMETER_NAMES and name not in ("season", "station")]
    if extra:
        raise ValueError(f"{where}: expected only {', '.join(PARAMETER_NAMES)}, found {extra[0]!r}")
    row = np.array([float(values[name]) for name in PARAMETER_NAMES])
    for name, value in zip(PARAMETER_NAMES, row):
        if not (np.isfinite(value) and value > 0):
            raise ValueError(f"{where}: {name}: expected a positive number, found {value!r}")
    return row


def _season_months(where, season):
    text = str(season).strip()
    if text == "all":
        return list(_MONTHS)
    if text.isdigit() and int(text) in _MONTHS:
        return [int(text)]
    raise ValueError(f"{where}: season: expected a month 1 to 12 or 'all', found {season!r}")


def _table_by_month(table, station, months_used):
    by_month = {}
    for position, row in enumerate(table.to_dict("records")):
        where = f"params row {position}"
        if "season" not in row:
            raise ValueError("params: expected a column 'season', found none")
        for month in _season_months(where, row["season"]):
            if month in by_month:
                raise ValueError(f"{where}: month {month} has a second parameter set")
            by_month[month] = _parameter_set(where, row)
    open_months = [m for m in months_used if m not in by_month]
    if open_months:
        months = ", ".join(map(str, open_months))
        raise ValueError(f"params: station '{station}' has days in months {months}, which no parameter set covers")
    any_set = next(iter(by_month.values()))
    return np.array([by_month.get(m, any_set) for m in _MONTHS])
