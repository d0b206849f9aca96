#!/usr/bin/python3
"""Times a grid of daily series through three routes: nimbra-cli disaggregate on the same
series as a CSV file, nimbra.disaggregate on an xarray grid eagerly on THREADS threads, and
the same grid backed by Dask on a LocalCluster of THREADS one-thread worker processes started
with nimbra.dask.CLUSTER_CONFIG (lazily, chunk by chunk, computed there); with
--dask-defaults also on a cluster with Dask's default settings. Prints wall seconds, cells per
second and processor seconds per route, each against the command line, and checks that Dask
gives the eager result. Processor time counts every process of the route: this one (the
client, and the scheduler and nannies of a LocalCluster), nimbra-cli, the Dask workers.

The cells hold the Berlin-Tempelhof years 2010-2014 (every day), repeated to YEARS years,
each cell scaled by its own factor and started at its own day of the record, with the
record's parameter set (fitted to the whole year) for every month.

Usage: bench/python_grid.py [SIDE] [YEARS] [THREADS] [--dask-defaults]
       (defaults: 20 x 20 cells x 10 years, 2 threads) with nimbra importable (installed, or
       PYTHONPATH=build/release/python) and nimbra-cli in build/release/cli. Run it under nice
       on a shared machine.
"""
import os
import resource
import subprocess
import sys
import tempfile
import time
from pathlib import Path

import dask
import distributed
import numpy as np
import pandas as pd
import psutil
import xarray as xr

import nimbra
import nimbra.dask

ROOT = Path(__file__).resolve().parent.parent
CLI = ROOT / "build" / "release" / "cli" / "nimbra-cli"
RECORD = ROOT / "tests" / "data" / "berlin_tempelhof_years_2010_2014.txt"
SEED = 3


def record():
    """The record's daily depths (negative ones missing) and its parameters."""
    lines = RECORD.read_text().splitlines()
    params = dict(zip(nimbra.PARAMETER_NAMES, map(float, lines[1].split()[2:9])))
    rows = [line.split() for line in lines[2:] if line.strip()]
    dates = [pd.Timestamp(int(r[2]), 1, 1) + pd.Timedelta(days=int(r[0]) - 1) for r in rows]
    depths = np.array([float(r[3]) for r in rows])
    return pd.Series(np.where(depths < 0, np.nan, depths), index=pd.DatetimeIndex(dates)), params


def make_grid(side, years):
    depths, params = record()
    days = pd.date_range("2010-01-01", periods=round(365.25 * years), freq="D")
    values = depths.to_numpy()
    rng = np.random.default_rng(1)
    cells = np.empty((len(days), side, side))
    for i, j in np.ndindex(side, side):
        start = int(rng.integers(len(values)))
        cells[:, i, j] = (np.resize(np.roll(values, -start), len(days)) * rng.uniform(0.7, 1.3)).round(1)
    grid = xr.DataArray(cells, dims=("time", "lat", "lon"), name="pr", attrs={"units": "mm/day"},
                        coords={"time": days, "lat": 50 + 0.25 * np.arange(side), "lon": 10 + 0.25 * np.arange(side)})
    return grid, params


def write_cli_input(grid, params, folder):
    stacked = grid.stack(cell=("lat", "lon")).transpose("time", "cell")
    names = [nimbra.cell_name(("lat", "lon"), cell) for cell in stacked.indexes["cell"]]
    frame = pd.DataFrame(stacked.values, index=stacked.indexes["time"], columns=names)
    rows = frame.rename_axis("date").reset_index().melt("date", var_name="station", value_name="precip_mm")
    rows.to_csv(folder / "daily.csv", index=False, date_format="%Y-%m-%d")
    pd.DataFrame([{"season": "all", **params}]).to_csv(folder / "params.csv", index=False)


def _warm_up():
    import nimbra  # noqa: F401
    import xarray  # noqa: F401


def cpu_seconds():
    """Processor seconds of this process, of its children that have ended (nimbra-cli) and of
    those still running (the workers)."""
    ended = resource.getrusage(resource.RUSAGE_CHILDREN)
    running = sum(sum(child.cpu_times()[:2]) for child in psutil.Process().children(recursive=True))
    return time.process_time() + ended.ru_utime + ended.ru_stime + running


def timed(run):
    wall, cpu = time.perf_counter(), cpu_seconds()
    result = run()
    return result, time.perf_counter() - wall, cpu_seconds() - cpu


def on_cluster(grid, params, workers, config):
    """The lazy grid computed on a fresh LocalCluster started under config; the workers'
    imports are done before the clock starts."""
    with dask.config.set(config), distributed.LocalCluster(
        n_workers=workers, threads_per_worker=1, processes=True, host="127.0.0.1", dashboard_address=None
    ) as cluster, distributed.Client(cluster) as client:
        client.run(_warm_up)
        chunked = grid.chunk({"lat": max(1, grid.sizes["lat"] // (2 * workers)), "time": -1})
        return timed(lambda: nimbra.disaggregate(chunked, params, seed=SEED).compute())


def main(side=20, years=10, threads=2, dask_defaults=False):
    grid, params = make_grid(side, years)
    cells = side * side
    with tempfile.TemporaryDirectory() as folder:
        folder = Path(folder)
        write_cli_input(grid, params, folder)
        command = [str(CLI), "disaggregate", "-q", "-i", "daily.csv", "-p", "params.csv", "-o", "hourly.csv"]
        command += ["--seed", str(SEED), "--threads", str(threads)]
        _, cli_wall, cli_cpu = timed(lambda: subprocess.run(command, cwd=folder, check=True, stdout=subprocess.DEVNULL))
    routes = [("nimbra-cli disaggregate", cli_wall, cli_cpu)]
    eager, wall, cpu = timed(lambda: nimbra.disaggregate(grid, params, seed=SEED, threads=threads))
    routes.append(("xarray, eager", wall, cpu))
    configs = [("xarray + Dask, CLUSTER_CONFIG", nimbra.dask.CLUSTER_CONFIG)]
    configs += [("xarray + Dask, Dask's defaults", {})] if dask_defaults else []
    for name, config in configs:
        lazy, wall, cpu = on_cluster(grid, params, threads, config)
        xr.testing.assert_identical(lazy, eager)
        routes.append((name, wall, cpu))
    print(f"{side} x {side} cells x {years} years on {threads} threads; load average {os.getloadavg()[0]:.1f}")
    print(f"{'route':31} {'wall s':>8} {'cells/s':>8} {'cpu s':>8} {'cpu vs cli':>10}")
    for name, wall, cpu in routes:
        print(f"{name:31} {wall:8.1f} {cells / wall:8.2f} {cpu:8.1f} {100 * (cpu / cli_cpu - 1):+9.1f}%")


if __name__ == "__main__":
    numbers = [int(a) for a in sys.argv[1:] if a != "--dask-defaults"]
    main(*numbers[:3], dask_defaults="--dask-defaults" in sys.argv[1:])
