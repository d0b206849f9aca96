"""Daily depths held by xarray, a time dimension beside any others (stations, a grid),
disaggregated cell by cell, eagerly or lazily chunk by chunk when Dask holds the data.

A cell is named after its coordinates, and its random stream follows from that name alone
(``cell_name``), so its hours do not depend on the other cells, on the chunks or on the
workers that run it."""

from __future__ import annotations

import json
from collections.abc import Mapping
from typing import Any

import numpy as np
import pandas as pd

from . import _daily, _parameters
from ._nimbra import RunOptions, __version__, station_job, station_seed

# Units of a daily depth, and the factor that turns one day's value into mm.
DAILY_UNITS = {
    "mm": 1.0,
    "mm/day": 1.0,
    "mm/d": 1.0,
    "mm day-1": 1.0,
    "mm d-1": 1.0,
    "kg m-2": 1.0,
    "kg m-2 s-1": 86400.0,
    "kg/m2/s": 86400.0,
    "kg m-2 d-1": 1.0,
}
HOURLY_ATTRS = {
    "units": "mm",
    "standard_name": "lwe_thickness_of_precipitation_amount",
    "long_name": "hourly precipitation amount",
    "cell_methods": "time: sum",
}


def is_xarray(value: Any) -> bool:
    """Whether value is an xarray DataArray or Dataset, without importing xarray otherwise."""
    module = type(value).__module__
    return module.startswith("xarray.") and type(value).__name__ in ("DataArray", "Dataset")


def cell_name(dims: tuple[str, ...], values: tuple[Any, ...]) -> str:
    """The name of the cell at these coordinates: "dim=value" pairs in the order of the
    dimensions, joined by commas ("lat=52.5,lon=13.25"). A single dimension named station
    gives the station's own name, as a DataFrame column would."""
    if dims == ("station",):
        return str(values[0])
    return ",".join(f"{dim}={_coordinate_text(value)}" for dim, value in zip(dims, values))


def _coordinate_text(value: Any) -> str:
    if isinstance(value, (float, np.floating)):
        return repr(float(value))
    if isinstance(value, (np.integer, np.bool_)):
        return str(value.item())
    return str(value)


def disaggregate_xarray(daily, params, seed: int, threads: int | None, variable: str | None, options: dict):
    """The xarray route of nimbra.disaggregate; see its documentation."""
    import xarray as xr

    array = _daily_array(daily, variable)
    # A day's value may be stamped at any hour of it (climate models use noon).
    depths = (array.astype(np.float64) * _unit_factor(array)).assign_coords(time=_time_index(array).normalize())
    days, first_day = _daily.full_days(depths.indexes["time"])
    depths = depths.reindex(time=days).transpose(..., "time")
    space = tuple(d for d in depths.dims if d != "time")
    names = _cell_names(depths, space)
    lazy = depths.chunks is not None
    if lazy:
        depths = depths.chunk({"time": -1})
        threads = threads or 1  # Dask runs the chunks in parallel
    grid = _grid_parameters(params, depths, space)
    table = None if grid is not None else _parameters.Parameters(params)
    run = _CellRun(first_day, table, seed, options, threads)
    arguments = [depths, names] + ([] if grid is None else [grid])
    core = [["time"], []] + ([] if grid is None else [["month", "parameter"]])
    hourly = xr.apply_ufunc(
        run,
        *arguments,
        input_core_dims=core,
        output_core_dims=[["hour"]],
        dask="parallelized" if lazy else "forbidden",
        output_dtypes=[np.float64],
        dask_gufunc_kwargs={"output_sizes": {"hour": 24 * len(days)}},
    )
    hourly = hourly.rename(hour="time").assign_coords(time=_daily.hourly_index(days))
    hourly = hourly.transpose(*array.dims)
    hourly.name = array.name
    hourly.attrs = {**HOURLY_ATTRS, "history": _history(seed, options, params, table)}
    if not lazy:
        for name in {**run.failures, **run.warnings}:
            _daily.warn_of_sequences(f"cell '{name}'", run.failures.get(name), run.warnings.get(name), stacklevel=3)
    return hourly


def _daily_array(daily, variable):
    import xarray as xr

    if isinstance(daily, xr.Dataset):
        if variable is None:
            raise TypeError("variable: expected the name of the Dataset's variable of daily depths, found None")
        if variable not in daily.data_vars:
            raise ValueError(
                f"variable: expected one of {', '.join(map(str, daily.data_vars))}, found {variable!r}"
            )
        daily = daily[variable]
    if "time" not in daily.dims:
        raise ValueError(f"daily: expected a 'time' dimension, found the dimensions {', '.join(map(str, daily.dims))}")
    if daily.dtype == bool or not np.issubdtype(daily.dtype, np.number):
        raise TypeError(f"daily: expected numbers of mm per day, found values of type {daily.dtype}")
    return daily


def _unit_factor(array) -> float:
    units = array.attrs.get("units")
    if units is None:
        return 1.0  # a hand-made array: mm per day, as a DataFrame's values are
    factor = DAILY_UNITS.get(" ".join(str(units).split()))
    if factor is None:
        raise ValueError(f"daily: units: expected one of {', '.join(DAILY_UNITS)}, found {units!r}")
    return factor


def _time_index(array) -> pd.DatetimeIndex:
    index = array.indexes.get("time")
    if not isinstance(index, pd.DatetimeIndex):
        kind = type(index).__name__ if index is not None else "no coordinate"
        raise ValueError(
            f"daily: time: expected dates of the standard calendar, found {kind} "
            "(convert a model calendar with xarray's convert_calendar first)"
        )
    return index


def _cell_names(depths, space):
    import xarray as xr

    coordinates = [
        depths[d].values if d in depths.coords else np.arange(depths.sizes[d]) for d in space
    ]
    names = np.empty(tuple(depths.sizes[d] for d in space), dtype=object)
    for position in np.ndindex(names.shape):
        names[position] = cell_name(space, tuple(c[i] for c, i in zip(coordinates, position)))
    result = xr.DataArray(names, dims=space, coords={d: depths[d] for d in space if d in depths.coords})
    if depths.chunks is not None:
        result = result.chunk({d: depths.chunksizes[d] for d in space})
    return result


def _grid_parameters(params, depths, space):
    """The parameters of a Dataset of the seven variables over month and the grid, as an
    array of (..., month, parameter); None for parameters in any other form."""
    import xarray as xr

    if not isinstance(params, xr.Dataset):
        return None
    missing = [name for name in _parameters.PARAMETER_NAMES if name not in params.data_vars]
    if missing:
        raise ValueError(f"params: expected the variables {', '.join(_parameters.PARAMETER_NAMES)}, "
                         f"found no {', '.join(missing)}")
    stacked = xr.concat([params[name] for name in _parameters.PARAMETER_NAMES], dim="parameter")
    if "month" not in stacked.dims:
        stacked = stacked.expand_dims(month=np.arange(1, 13))
    if stacked.sizes["month"] != 12:
        raise ValueError(f"params: month: expected 12 months, found {stacked.sizes['month']}")
    extra = [d for d in stacked.dims if d not in space and d not in ("month", "parameter")]
    if extra:
        raise ValueError(f"params: expected the dimensions of the daily depths, found {', '.join(extra)}")
    stacked = stacked.astype(np.float64).broadcast_like(depths.isel(time=0, drop=True))
    stacked = stacked.transpose(*space, "month", "parameter")
    values = stacked.values
    if not np.isfinite(values).all() or (values <= 0).any():
        raise ValueError("params: expected positive numbers for every parameter, month and cell")
    if depths.chunks is not None:
        stacked = stacked.chunk({**{d: depths.chunksizes[d] for d in space}, "month": -1, "parameter": -1})
    return stacked


class _CellRun:
    """The function apply_ufunc calls on a block of cells: depths (..., days), names (...)
    and, for parameters on a grid, sets (..., 12, 7). Picklable, for the workers."""

    def __init__(self, first_day, table, seed, options, threads):
        self.first_day, self.table, self.seed, self.options, self.threads = first_day, table, seed, options, threads
        self.failures, self.warnings = {}, {}

    def __call__(self, depths, names, grid=None):
        cells = list(np.ndindex(names.shape))
        for position in cells:
            _daily.check_depths(names[position], depths[position], self.first_day)
        if grid is None:
            for position in cells:  # a month without a set fails before any work
                self.table.for_station(names[position], self.first_day, depths[position])

        jobs = [self._cell_job(names[p], depths[p], None if grid is None else grid[p]) for p in cells]
        out = np.empty(names.shape + (24 * depths.shape[-1],))
        for position, result in zip(cells, _daily.run_jobs(jobs, self.threads)):
            out[position] = result.hourly
            if result.failed:
                self.failures[names[position]] = _daily.sequences_of(result.failed)
            if result.warnings:
                self.warnings[names[position]] = _daily.sequences_of(result.warnings)
        return out

    def _cell_job(self, name, depths, sets):
        depths = np.ascontiguousarray(depths, dtype=np.float64)
        if sets is None:
            return self.table.job(name, self.first_day, depths, self.seed, self.options)
        options = RunOptions(seed=station_seed(self.seed, name), **self.options)
        return station_job(self.first_day, depths, np.ascontiguousarray(sets), options)

    def __getstate__(self):
        return {**self.__dict__, "failures": {}, "warnings": {}}


def _history(seed, options, params, table):
    if table is None:
        source = "a Dataset of parameters by month and cell"
    elif isinstance(params, Mapping):
        source = json.dumps({k: float(v) for k, v in params.items()})
    else:
        source = table.describe()
    return (
        f"nimbra {__version__}: daily depths disaggregated into hours; seed {seed} (each cell's own: "
        f"station_seed(seed, cell name)); options {json.dumps(options, sort_keys=True)}; parameters {source}"
    )
