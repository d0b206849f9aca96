#!/usr/bin/python3
"""A small grid of daily precipitation in NetCDF, as a climate model writes it (a flux in
kg m-2 s-1 on lat/lon), disaggregated lazily on a Dask cluster of this machine and written
as CF NetCDF of hours, chunk by chunk.

Usage (from the project's root, with the package installed or on PYTHONPATH):
  examples/python/grid_netcdf.py [DAILY.nc] [PARAMS.csv] [HOURLY.nc]
Without DAILY.nc it first writes pr_day.nc: a 4 x 5 grid made from the July example.
"""
import sys
from pathlib import Path

import distributed
import numpy as np
import pandas as pd
import xarray as xr

import nimbra

examples = Path(__file__).resolve().parent.parent
daily_path = sys.argv[1] if len(sys.argv) > 1 else "pr_day.nc"
params_path = sys.argv[2] if len(sys.argv) > 2 else examples / "berlin_tempelhof_july_params.csv"
output = sys.argv[3] if len(sys.argv) > 3 else "pr_1hr.nc"


def write_example_grid(path):
    rows = pd.read_csv(examples / "berlin_tempelhof_july_daily.csv", parse_dates=["date"])
    july = rows.set_index("date")["precip_mm"].asfreq("D")
    factors = xr.DataArray(np.linspace(0.6, 1.4, 20).reshape(4, 5), dims=("lat", "lon"),
                           coords={"lat": [52.0, 52.5, 53.0, 53.5], "lon": [12.0, 12.5, 13.0, 13.5, 14.0]})
    mm = xr.DataArray(july.to_numpy(), dims="time", coords={"time": july.index.to_numpy()}) * factors
    flux = (mm.round(1) / 86400).transpose("time", "lat", "lon")
    flux.attrs = {"units": "kg m-2 s-1", "standard_name": "precipitation_flux"}
    flux.to_dataset(name="pr").to_netcdf(path)


if __name__ == "__main__":
    if len(sys.argv) < 2:
        write_example_grid(daily_path)
    with distributed.LocalCluster(threads_per_worker=1, dashboard_address=None) as cluster, distributed.Client(
        cluster
    ):
        with xr.open_dataset(daily_path, chunks={"lat": 2}) as daily:
            hourly = nimbra.disaggregate(daily, params_path, seed=7, variable="pr")  # lazy
            nimbra.to_netcdf(hourly, output)  # computed on the workers, chunk by chunk
    print(f"{output}: {dict(hourly.sizes)} hours of {hourly.attrs['units']}")
