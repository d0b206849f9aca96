#!/usr/bin/python3
"""Times the same stations through several routes: nimbra-cli disaggregate on one thread
(reading the CSV and writing the hourly CSV), the compiled one-station call from Python
(run_station), nimbra.disaggregate on one thread alone and with nimbra.write_hourly_csv
(the work of the command line), on two threads, and nimbra.dask.disaggregate on a local
cluster of two one-thread workers.

The stations are the Berlin-Tempelhof July record (620 days) scaled by a factor per
station, as bench/make_stations.py makes them. Each route runs REPEATS times, the routes
taking turns; the best time counts. Prints wall seconds, station-years per second, processor
seconds (not for the Dask workers), each against the command line, and the load average.

Usage: PYTHONPATH=build/release/python bench/python_overhead.py [STATIONS] [REPEATS]
       (defaults: 8 stations, 3 repeats; nimbra-cli from build/release/cli)
"""
import os
import random
import resource
import subprocess
import sys
import tempfile
import time
from pathlib import Path

import pandas as pd

import nimbra
import nimbra.dask

ROOT = Path(__file__).resolve().parent.parent
CLI = ROOT / "build" / "release" / "cli" / "nimbra-cli"
SEED = 3


def make_stations(count):
    july = pd.read_csv(ROOT / "examples" / "berlin_tempelhof_july_daily.csv", parse_dates=["date"])
    depths = july.set_index("date")["precip_mm"]
    return pd.DataFrame(
        {f"S{n:03d}": (depths * random.Random(n).uniform(0.7, 1.3)).round(1) for n in range(1, count + 1)}
    )


def cpu_seconds():
    """Processor time of this process and of its children that have ended (nimbra-cli)."""
    children = resource.getrusage(resource.RUSAGE_CHILDREN)
    return time.process_time() + children.ru_utime + children.ru_stime


def best_times(repeats, routes):
    """The best wall and processor time of each route; the routes take turns, so that a
    change in the load of a shared machine falls on all of them alike. Processor time
    varies less with the load than wall time does."""
    best = {name: (float("inf"), float("inf")) for name in routes}
    for _ in range(repeats):
        for name, run in routes.items():
            wall, cpu = time.perf_counter(), cpu_seconds()
            run()
            wall, cpu = time.perf_counter() - wall, cpu_seconds() - cpu
            best[name] = (min(best[name][0], wall), min(best[name][1], cpu))
    return best


def command_line_route(folder, stations):
    daily = stations.rename_axis("date").reset_index().melt("date", var_name="station", value_name="precip_mm")
    daily.to_csv(folder / "daily.csv", index=False, date_format="%Y-%m-%d")
    command = [CLI, "disaggregate", "-i", "daily.csv", "-p", str(ROOT / "examples" / "berlin_tempelhof_july_params.csv")]
    command += ["-o", "hourly.csv", "--seed", str(SEED), "--threads", "1", "--quiet"]
    return lambda: subprocess.run(command, cwd=folder, check=True, capture_output=True)


def compiled_call_route(stations, params):
    table = nimbra.Parameters(params)
    days, first_day = nimbra._daily.full_days(stations.index)
    full = stations.reindex(days)
    jobs = []
    for name in full.columns:
        depths = full[name].to_numpy(dtype=float)
        options = nimbra.RunOptions(seed=nimbra.station_seed(SEED, name))
        jobs.append((depths, table.for_station(name, first_day, depths), options))
    return lambda: [nimbra.run_station(first_day, *job) for job in jobs]


def main():
    count = int(sys.argv[1]) if len(sys.argv) > 1 else 8
    repeats = int(sys.argv[2]) if len(sys.argv) > 2 else 3
    stations = make_stations(count)
    params = ROOT / "examples" / "berlin_tempelhof_july_params.csv"
    years = count * len(stations) / 365.25
    load = os.getloadavg()
    with tempfile.TemporaryDirectory() as folder:
        routes = {"nimbra-cli disaggregate, 1 thread": command_line_route(Path(folder), stations)}
        routes["run_station (compiled call) from Python"] = compiled_call_route(stations, params)
        for threads in (1, 2):
            routes[f"nimbra.disaggregate, {threads} thread(s)"] = (
                lambda t=threads: nimbra.disaggregate(stations, params, seed=SEED, threads=t)
            )
        routes["nimbra.disaggregate + write_hourly_csv, 1 thread"] = lambda: nimbra.write_hourly_csv(
            nimbra.disaggregate(stations, params, seed=SEED, threads=1), Path(folder) / "module.csv"
        )
        import dask
        import distributed

        with dask.config.set(nimbra.dask.CLUSTER_CONFIG), distributed.LocalCluster(
            n_workers=2, threads_per_worker=1, processes=True, host="127.0.0.1", dashboard_address=None
        ) as cluster, distributed.Client(cluster) as client:
            routes["nimbra.dask.disaggregate, 2 workers"] = lambda: nimbra.dask.disaggregate(
                stations, params, client=client, seed=SEED, batch_size=1
            )
            times = best_times(repeats, routes)
    print(f"load average before {load[0]:.1f}, after {os.getloadavg()[0]:.1f} (on {os.cpu_count()} cores)")
    wall_reference, cpu_reference = times["nimbra-cli disaggregate, 1 thread"]
    print(f"{count} stations x {len(stations)} days = {years:.1f} station-years, best of {repeats}")
    print(f"{'route':50s} {'wall s':>8s} {'st-yr/s':>8s} {'vs cli':>8s} {'cpu s':>8s} {'vs cli':>8s}")
    for name, (wall, cpu) in times.items():
        cpu_text = "   (workers)" if "dask" in name else f"{cpu:8.3f} {cpu / cpu_reference - 1:+8.1%}"
        print(f"{name:50s} {wall:8.3f} {years / wall:8.2f} {wall / wall_reference - 1:+8.1%} {cpu_text}")


if __name__ == "__main__":
    main()
