"""Hourly depths written as CF-conventions NetCDF through xarray, lazily when Dask holds
them: xarray writes chunk by chunk, so a grid larger than memory never gathers on the
client."""

from __future__ import annotations

import os
from typing import TYPE_CHECKING

from ._xarray import HOURLY_ATTRS

if TYPE_CHECKING:
    import xarray


def to_netcdf(hourly: xarray.DataArray, path: str | os.PathLike, complevel: int = 4, compute: bool = True):
    """Writes the DataArray nimbra.disaggregate returned as a NetCDF-4 file following the CF
    conventions: the variable (named after the array, "precipitation" when it has no name)
    in mm with the standard name lwe_thickness_of_precipitation_amount and cell_methods
    "time: sum", compressed with zlib at complevel (1 to 9), NaN as its fill value; time in
    hours since the first hour, standard calendar, with a time_bounds variable for each
    hour; the array's history. compute=False returns a dask delayed object instead of
    writing, as xarray's to_netcdf does.

    Raises TypeError for anything but a DataArray with an hourly time dimension, ValueError
    for a complevel out of range, OSError when the file cannot be written."""
    import numpy as np
    import pandas as pd
    import xarray as xr

    if not isinstance(hourly, xr.DataArray) or "time" not in hourly.dims:
        raise TypeError(f"hourly: expected an xarray DataArray with a time dimension, found {type(hourly).__name__}")
    if isinstance(complevel, bool) or not isinstance(complevel, int) or not 1 <= complevel <= 9:
        raise ValueError(f"complevel: expected an integer from 1 to 9, found {complevel!r}")
    name = hourly.name if hourly.name is not None else "precipitation"
    data = hourly.copy(deep=False).rename(name)  # the caller's array keeps its attributes
    data.attrs = {**HOURLY_ATTRS, **{k: v for k, v in hourly.attrs.items() if k not in HOURLY_ATTRS}}
    history = data.attrs.pop("history", None)
    dataset = data.to_dataset()
    times = pd.DatetimeIndex(dataset["time"].values)
    bounds = np.stack([times.values, (times + pd.Timedelta(hours=1)).values], axis=1)
    dataset = dataset.assign(time_bounds=(("time", "bounds"), bounds))
    dataset["time"].attrs.update({"standard_name": "time", "long_name": "start of the hour", "axis": "T",
                                  "bounds": "time_bounds"})
    dataset.attrs = {"Conventions": "CF-1.8", "title": "hourly precipitation disaggregated by nimbra"}
    if history is not None:
        dataset.attrs["history"] = history
    first = times[0].strftime("%Y-%m-%d %H:%M:%S")
    time_encoding = {"units": f"hours since {first}", "calendar": "standard", "dtype": "int64"}
    encoding = {
        **{coordinate: {"_FillValue": None} for coordinate in dataset.coords if coordinate != "time"},
        name: {"zlib": True, "complevel": complevel, "_FillValue": np.nan, "dtype": "float64"},
        "time": time_encoding,
        "time_bounds": {**time_encoding, "_FillValue": None},
    }
    return dataset.to_netcdf(os.fspath(path), format="NETCDF4", engine="netcdf4", encoding=encoding,
                             compute=compute)
