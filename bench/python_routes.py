#!/usr/bin/python3
"""One route of bench/four_routes.sh: the daily CSV of many stations disaggregated by the
Python module (route "python") or by Dask on a local two-worker cluster (route "dask"),
the hours written as nimbra-cli disaggregate writes them.

Usage: PYTHONPATH=build/release/python bench/python_routes.py DAILY PARAMS SEED ROUTE OUTPUT
"""
import sys

import pandas as pd

import nimbra
import nimbra.dask


def main():
    daily_path, params, seed, route, output = sys.argv[1:]
    rows = pd.read_csv(daily_path, parse_dates=["date"])
    daily = rows.pivot(index="date", columns="station", values="precip_mm")
    if route == "python":
        hourly = nimbra.disaggregate(daily, params, seed=int(seed))
    else:
        import dask
        from distributed import Client, LocalCluster

        with dask.config.set(nimbra.dask.CLUSTER_CONFIG), LocalCluster(n_workers=2, threads_per_worker=1, processes=True, host="127.0.0.1",
                          dashboard_address=None) as cluster, Client(cluster):
            hourly = nimbra.dask.disaggregate(daily, params, seed=int(seed))
    nimbra.write_hourly_csv(hourly, output)


if __name__ == "__main__":
    main()
