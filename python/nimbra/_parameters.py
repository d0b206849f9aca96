"""Model parameters in the forms users hold them, as the table of twelve monthly sets the
compiled call takes. Tables (a params.csv file or a DataFrame with its columns) are read
by the reader of nimbra-cli disaggregate, so they mean the same and fail with the same
messages."""

import os
from collections.abc import Mapping

import numpy as np
import pandas as pd

from ._nimbra import ParameterTable, RunOptions, station_job, station_job_of_table, station_seed

PARAMETER_NAMES = ("lambda", "kappa", "phi", "alpha", "nu", "mu_x", "sigma_x")


class Parameters:
    """The parameters of a run, read once and picklable for the workers of a cluster: a
    table travels as its CSV text, not as a path that a worker may not see."""

    def __init__(self, params):
        self._fixed = self._table = None
        if isinstance(params, Parameters):
            self.__dict__.update(params.__dict__)
        elif isinstance(params, Mapping):
            self._fixed = np.tile(parameter_set(params), (12, 1))
        elif isinstance(params, pd.DataFrame):
            self._name, self._text = "params DataFrame", params.to_csv(index=False)
        elif isinstance(params, (str, os.PathLike)):
            self._name = os.fspath(params)
            ParameterTable.read(self._name)  # the messages of nimbra-cli for a missing or bad file
            with open(self._name, encoding="utf-8", newline="") as file:
                self._text = file.read()
        else:
            raise TypeError(
                f"params: expected a mapping of {', '.join(PARAMETER_NAMES)}, a DataFrame or a path "
                f"to params.csv, found {type(params).__name__}"
            )

    def for_station(self, station, first_day, depths):
        """A 12 x 7 array, row 0 for January, of the sets the station's months use; raises
        ValueError when a month with a depth has none."""
        if self._fixed is not None:
            return self._fixed
        return self._loaded_table().for_station(station, first_day, depths)

    def job(self, station, first_day, depths, seed, options):
        """The station planned for the station runner with its own seed, derived from seed and
        its name. A table's rep_factor and rep_min columns apply to their sets unless options
        give them."""
        if self._fixed is not None:
            options = RunOptions(seed=station_seed(seed, station), **options)
            return station_job(first_day, depths, self._fixed, options)
        return station_job_of_table(
            self._loaded_table(), station, first_day, depths, RunOptions(seed=seed, **options),
            "rep_factor" in options, "rep_min" in options,
        )

    def describe(self):
        """The table's name and rows on one line, for a record of how a run was made."""
        if self._fixed is not None:
            return " ".join(f"{name}={value!r}" for name, value in zip(PARAMETER_NAMES, self._fixed[0]))
        return f"{self._name}: " + " | ".join(self._text.splitlines())

    def table(self):
        """The parameters as a table, a mapping's set serving every month."""
        if self._fixed is not None:
            header = ",".join(("season",) + PARAMETER_NAMES)
            row = ",".join(["all"] + [repr(float(v)) for v in self._fixed[0]])
            return ParameterTable.from_text("params", f"{header}\n{row}\n")
        return self._loaded_table()

    def _loaded_table(self):
        if self._table is None:
            self._table = ParameterTable.from_text(self._name, self._text)
        return self._table

    def __getstate__(self):
        return {**self.__dict__, "_table": None}


def parameter_set(values):
    """The seven values of a mapping in the order of PARAMETER_NAMES, each checked positive."""
    missing = [name for name in PARAMETER_NAMES if name not in values]
    if missing:
        raise ValueError(f"params: expected the parameters {', '.join(missing)}, found none")
    extra = [name for name in values if name not in PARAMETER_NAMES]
    if extra:
        raise ValueError(f"params: expected only {', '.join(PARAMETER_NAMES)}, found {extra[0]!r}")
    row = np.array([float(values[name]) for name in PARAMETER_NAMES])
    for name, value in zip(PARAMETER_NAMES, row):
        if not (np.isfinite(value) and value > 0):
            raise ValueError(f"params: {name}: expected a positive number, found {value!r}")
    return row
