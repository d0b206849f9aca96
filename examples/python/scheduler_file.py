#!/usr/bin/python3
"""Disaggregates the stations of a daily CSV file on a Dask cluster that runs elsewhere, as
on an institution's cluster: the scheduler writes its address into a file on a shared disk,
and this script and the workers read it there.

Start the cluster (each line in its own shell or batch job; the workers need the nimbra
package on their PYTHONPATH, and one thread each lets the worker processes use the cores):
  dask-scheduler --scheduler-file /shared/scheduler.json
  PYTHONPATH=$PWD/build/release/python dask-worker --scheduler-file /shared/scheduler.json --nthreads 1
Then:
  PYTHONPATH=build/release/python examples/python/scheduler_file.py /shared/scheduler.json DAILY.csv PARAMS.csv HOURLY.csv
"""
import sys

import distributed
import pandas as pd

import nimbra
import nimbra.dask

if __name__ == "__main__":
    scheduler_file, daily_path, params_path, output = sys.argv[1:5]
    rows = pd.read_csv(daily_path, parse_dates=["date"])
    daily = rows.pivot(index="date", columns="station", values="precip_mm")
    with distributed.Client(scheduler_file=scheduler_file) as client:
        # The parameters file is read here and travels to the workers as text.
        hourly = nimbra.dask.disaggregate(daily, params_path, client=client, seed=7)
    nimbra.write_hourly_csv(hourly, output)  # the bytes nimbra-cli disaggregate writes
    print(f"{output}: {hourly.shape[1]} stations, {len(hourly)} hours")
