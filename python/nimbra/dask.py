"""The stations of a DataFrame spread over a dask.distributed cluster, a task per small batch
of stations. Each station's seed derives from the run's seed and its name alone, so the
result equals that of nimbra.disaggregate on one machine.

Workers need nimbra importable: the folder holding the nimbra package on their PYTHONPATH.

CLUSTER_CONFIG holds the Dask settings for a cluster whose tasks are long compiled calls;
set them before the cluster starts (``dask.config.set(nimbra.dask.CLUSTER_CONFIG)``).
"""

import math

import pandas as pd

from ._disaggregate import check_options, run_batch, warn_of_failures
from ._parameters import Parameters

# Each process of a cluster polls itself on timers that run whether or not a task runs: with
# Dask's defaults they took 14 % of a core per second of wall time on two idle one-thread
# workers, 2 % with these. A task that spends seconds in compiled code with the GIL released
# gains nothing from them: the statistical profiler sees one Python frame, the event-loop
# tick only times the loop, and the system and memory monitors need no tenth of a second.
# Dask also starts its workers with MALLOC_TRIM_THRESHOLD_, which makes glibc map every
# block above 128 KiB afresh: the engine's buffers for splitting a sequence then cost page
# faults at every split (5 % more processor time); the workers keep Dask's thread limits.
CLUSTER_CONFIG = {
    "distributed.worker.profile.enabled": False,
    "distributed.admin.tick.interval": "1s",
    "distributed.admin.system-monitor.interval": "10s",
    "distributed.worker.memory.monitor-interval": "1s",
    "distributed.nanny.pre-spawn-environ": {"OMP_NUM_THREADS": 1, "MKL_NUM_THREADS": 1, "OPENBLAS_NUM_THREADS": 1},
}


def disaggregate(df, params, client=None, seed=0, batch_size=None, **options):
    """Hourly depths of every station (column) of df, computed on the cluster of client.

    client: a distributed.Client; None uses the running one (distributed.get_client()).
    batch_size: stations per task; by default the stations are split into about four tasks
    per worker thread. params, seed and options are those of nimbra.disaggregate."""
    import distributed

    check_options(seed, options)
    params = Parameters(params)
    if isinstance(df, pd.Series):
        hourly = disaggregate(df.to_frame("" if df.name is None else df.name), params, client, seed, 1, **options)
        return hourly.iloc[:, 0].rename(df.name).__finalize__(hourly)
    if not isinstance(df, pd.DataFrame):
        raise TypeError(f"df: expected a pandas DataFrame or Series, found {type(df).__name__}")
    client = client or distributed.get_client()
    columns = list(df.columns)
    size = batch_size or max(1, math.ceil(len(columns) / (4 * _worker_threads(client))))
    batches = [df[columns[i : i + size]] for i in range(0, len(columns), size)]
    futures = client.map(run_batch, batches, params=params, seed=seed, options=options, pure=False)
    parts = client.gather(futures)
    hourly = pd.concat(parts, axis=1)
    hourly.attrs["nimbra"] = {name: info for part in parts for name, info in part.attrs["nimbra"].items()}
    warn_of_failures(hourly.attrs["nimbra"], stacklevel=2)
    return hourly


def _worker_threads(client):
    return max(1, sum(client.nthreads().values()))

