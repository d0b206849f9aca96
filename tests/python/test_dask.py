"""nimbra.dask.disaggregate on a local cluster of two worker processes gives the serial
result, with an explicit client and with the running one."""

import distributed
import pandas as pd
import pytest

import nimbra
import nimbra.dask


@pytest.fixture(scope="module")
def client():
    with distributed.LocalCluster(
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
