#!/usr/bin/python3
"""Disaggregates the stations of a daily CSV file on a Dask cluster of this machine: one
worker process per core, one thread each. The result equals that of nimbra.disaggregate.

Usage (from the project's root, after scripts/build release):
  PYTHONPATH=build/release/python examples/python/local_cluster.py [DAILY.csv] [PARAMS.csv] [HOURLY.csv]
DAILY.csv is in the long layout station,date,precip_mm (bench/make_stations.py writes one).
"""
import sys
from pathlib import Path

import distributed
import pandas as pd

import nimbra
import nimbra.dask

examples = Path(__file__).resolve().parent.parent
daily_path = sys.argv[1] if len(sys.argv) > 1 else examples / "berlin_tempelhof_july_daily.csv"
params_path = sys.argv[2] if len(sys.argv) > 2 else examples / "berlin_tempelhof_july_params.csv"
output = sys.argv[3] if len(sys.argv) > 3 else "hourly.csv"

if __name__ == "__main__":
    rows = pd.read_csv(daily_path, parse_dates=["date"])
    daily = rows.pivot(index="date", columns="station", values="precip_mm")
    with distributed.LocalCluster(threads_per_worker=1, dashboard_address=None) as cluster, distributed.Client(
        cluster
    ):
        hourly = nimbra.dask.disaggregate(daily, params_path, seed=7)  # the running client
    nimbra.write_hourly_csv(hourly, output)  # the bytes nimbra-cli disaggregate writes
    print(f"{output}: {hourly.shape[1]} stations, {len(hourly)} hours")
