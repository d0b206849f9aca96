"""nimbra.dask.disaggregate and a Dask-backed grid on a local cluster of two worker processes,
started with nimbra.dask.CLUSTER_CONFIG, give the serial result, with an explicit client and
with the running one; the workers run with those settings."""

import os

import dask
import distributed
import numpy as np
import pandas as pd
import pytest
import xarray as xr

import nimbra
import nimbra.dask


@pytest.fixture(scope="module")
def client():
    with dask.config.set(nimbra.dask.CLUSTER_CONFIG), distributed.LocalCluster(
        n_workers=2, threads_per_worker=1, processes=True, host="127.0.0.1", dashboard_address=None
    ) as cluster, distributed.Client(cluster) as running:
        yield running


def test_a_two_worker_cluster_gives_the_serial_result(client, july_2000):
    series, params = july_2000
    stations = pd.DataFrame({f"s{k}": series * (1 + k / 10) for k in range(5)})
    serial = nimbra.disaggregate(stations, params, seed=9, threads=1)
    spread = nimbra.dask.disaggregate(stations, params, client=client, seed=9, batch_size=2)
    pd.testing.assert_frame_equal(spread, serial)
    assert spread.attrs["nimbra"]["s3"]["seed"] == nimbra.station_seed(9, "s3")
    # One task per station on the running client, which the test's context made current.
    running = nimbra.dask.disaggregate(stations, params, seed=9, batch_size=1)
    pd.testing.assert_frame_equal(running, serial)


def test_errors_and_failures_on_a_worker_reach_the_caller(client, july_2000):
    series, params = july_2000
    with pytest.warns(RuntimeWarning, match=r"station 'tempelhof': \d+ wet sequence\(s\) failed"):
        crowded = nimbra.dask.disaggregate(series.to_frame(), {**params, "kappa": 4.8}, client=client)
    assert crowded.attrs["nimbra"]["tempelhof"]["failed"]
    with pytest.raises(ValueError, match=r"^params: nu: expected a positive number, found -1.0$"):
        nimbra.dask.disaggregate(series.to_frame(), {**params, "nu": -1.0}, client=client)
    with pytest.raises(ValueError, match=r"^level: expected an integer from 0 to 3, found 9$"):
        nimbra.dask.disaggregate(series.to_frame(), params, client=client, level=9)


def test_the_workers_run_with_the_cluster_settings(client):
    # A misspelt key would be set all the same, and nothing would read it.
    defaults = dask.config.merge(*dask.config.defaults)
    for key, value in nimbra.dask.CLUSTER_CONFIG.items():
        assert dask.config.get(key, default=None, config=defaults) is not None, key
        assert list(client.run(dask.config.get, key).values()) == [value, value], key
    assert "MALLOC_TRIM_THRESHOLD_" not in client.run(os.environ.copy).popitem()[1]


def test_a_grid_computed_on_the_workers_gives_the_eager_result(client, july_2000):
    series, params = july_2000
    factors = xr.DataArray(np.linspace(0.6, 1.5, 6).reshape(2, 3), dims=("y", "x"))
    daily = xr.DataArray(series.to_numpy(), dims="time", coords={"time": series.index}) * factors
    eager = nimbra.disaggregate(daily, params, seed=4, threads=2)
    lazy = nimbra.disaggregate(daily.chunk({"y": 1, "x": 2}), params, seed=4)
    xr.testing.assert_identical(client.compute(lazy).result(), eager)
