"""nimbra.disaggregate: the hours of the golden classic run, the model's invariants, one
stream per station whatever else runs, parameters in each form, and bad input refused with
messages that name what was expected."""

import sys
import threading
import time

import numpy as np
import pandas as pd
import pytest

import nimbra
from conftest import GOLDEN


def test_station_seed_follows_the_documented_rule():
    cases = [(0, "", 0x4FD0BFC1), (0, "a", 0x296230C0), (7, "a", 0x296230C7), (-1, "a", ~0x296230C0)]
    for run_seed, station, expected in cases:
        assert nimbra.station_seed(run_seed, station) == expected, (run_seed, station)


def test_gives_the_hours_of_the_golden_classic_run(july):
    series, params = july
    # xor with the name's hash is its own inverse: this run seed gives the station seed 4.
    hourly = nimbra.disaggregate(series, params, seed=nimbra.station_seed(4, "tempelhof"))
    assert hourly.attrs["nimbra"]["tempelhof"]["seed"] == 4
    assert hourly.attrs["nimbra"]["tempelhof"]["failed"] == []
    tokens = (GOLDEN / "berlin_july.hourly.txt").read_text().split()
    golden = {
        pd.Timestamp(int(tokens[i + 2]), int(tokens[i + 1]), int(tokens[i])): tokens[i + 4 : i + 28]
        for i in range(0, len(tokens), 28)
    }
    wet = series[series >= 1e-5].index
    assert list(wet) == sorted(golden)
    for day in wet:
        hours = hourly[day : day + pd.Timedelta(hours=23)]
        assert [f"{h:.2f}" for h in hours] == golden[day], day
    # The classic log goes on past the station's with the end of the input and the report.
    log = hourly.attrs["nimbra"]["tempelhof"]["log"]
    assert len(log) >= 3 * hourly.attrs["nimbra"]["tempelhof"]["sequences"] > 0
    assert (GOLDEN / "berlin_july.log").read_text().splitlines()[: len(log)] == log


def test_hours_keep_the_daily_depths_and_missing_days(july):
    series, params = july
    hourly = nimbra.disaggregate(series, params, seed=11)
    assert hourly.name == "tempelhof"
    assert hourly.index.freq == "H" and hourly.index[0] == pd.Timestamp("2000-07-01 00:00")
    # The July record leaves August to June of each year out: those days are missing.
    days = pd.date_range(series.index[0], series.index[-1], freq="D")
    assert len(hourly) == 24 * len(days)
    observed = series.reindex(days)
    totals = hourly.resample("D").sum(min_count=24)
    np.testing.assert_array_equal(np.isnan(totals), np.isnan(observed))
    np.testing.assert_allclose(totals.dropna(), observed.dropna(), rtol=1e-12, atol=1e-12)
    assert (hourly.dropna() >= 0).all()


def test_each_station_has_its_own_stream_whatever_runs_beside_it(july_2000):
    series, params = july_2000
    frame = pd.DataFrame({"a": series, "b": series * 2, "c": series})
    together = nimbra.disaggregate(frame, params, seed=3, threads=2)
    alone = nimbra.disaggregate(frame[["c"]], params, seed=3, threads=1)
    pd.testing.assert_series_equal(together["c"], alone["c"])
    pd.testing.assert_series_equal(together["a"], nimbra.disaggregate(series.rename("a"), params, seed=3))
    assert not together["a"].equals(together["c"])


def test_python_runs_while_a_station_runs(july):
    series, params = july
    days = series.asfreq("D").to_numpy()
    first_day = (series.index[0] - pd.Timestamp("1970-01-01")).days
    table = np.tile([params[name] for name in nimbra.PARAMETER_NAMES], (12, 1))
    started, done = threading.Event(), threading.Event()

    def station():
        started.set()
        nimbra.run_station(first_day, days, table, nimbra.RunOptions(seed=1))
        done.set()

    # No forced switches: this thread gets the GIL only where the other lets it go.
    interval = sys.getswitchinterval()
    sys.setswitchinterval(100)
    try:
        worker = threading.Thread(target=station)
        worker.start()
        started.wait()
        turns = 0
        while not done.is_set():
            turns += 1
            time.sleep(0)
        worker.join()
    finally:
        sys.setswitchinterval(interval)
    assert turns > 100


def test_parameter_tables_give_each_station_the_set_of_its_months(july_2000, tmp_path):
    series, params = july_2000
    doubled = {**params, "lambda": 2 * params["lambda"]}
    rows = [{"station": "", "season": "summer", "months": "6 7 8", **params},
            {"station": "tempelhof", "season": 7, "months": "", **doubled}]
    table = pd.DataFrame(rows)
    path = tmp_path / "params.csv"
    table.to_csv(path, index=False)
    frame = pd.DataFrame({"tempelhof": series, "dahlem": series})
    by_table = nimbra.disaggregate(frame, table, seed=5)
    pd.testing.assert_frame_equal(nimbra.disaggregate(frame, path, seed=5), by_table)
    pd.testing.assert_series_equal(by_table["tempelhof"], nimbra.disaggregate(series, doubled, seed=5))
    dahlem = nimbra.disaggregate(series.rename("dahlem"), params, seed=5)
    pd.testing.assert_series_equal(by_table["dahlem"], dahlem)
    assert not by_table["tempelhof"].equals(nimbra.disaggregate(series, params, seed=5))


@pytest.mark.parametrize("route", ["pandas", "xarray"])
def test_a_day_beyond_the_sets_reach_keeps_its_nearest_storms_with_a_warning(july_2000, route):
    import xarray as xr

    series, params = july_2000
    flood = pd.Series(0.0, index=series.index, name="tempelhof")
    flood["2000-07-10"] = 2000.0  # far above any day the July storms give
    data = flood if route == "pandas" else xr.DataArray(flood.to_numpy()[:, None], dims=("time", "x"),
                                                        coords={"time": flood.index, "x": [0]})
    place = "station 'tempelhof'" if route == "pandas" else "cell '[^']*'"
    named = (r"1 wet sequence\(s\) with a warning; the first, 1 day\(s\) from 2000-07-10: No storm set came "
             r"within the distance allowed for the sequence of 1 day from 2000-07-10: the storms nearest the daily "
             r"depths, at distance \d+\.\d\d, were kept and their hours scaled to the daily depths$")
    with pytest.warns(RuntimeWarning, match=place + ": " + named):
        hourly = nimbra.disaggregate(data, params, seed=1, rep_allowed=20)
    day = np.asarray(hourly.sel(time="2000-07-10") if route == "xarray" else hourly["2000-07-10"])
    assert day.sum() == pytest.approx(2000.0) and (day >= 0).all()
    if route == "pandas":
        warned = hourly.attrs["nimbra"]["tempelhof"]["warnings"]
        assert [(str(date), days) for date, days, _ in warned] == [("2000-07-10", 1)]


def test_failed_sequences_warn_and_leave_their_hours_missing(july_2000):
    series, params = july_2000
    # About 185 cells per storm: some storm of a run needs more than the 1000 a storm holds.
    crowded = {**params, "kappa": 4.8}
    with pytest.warns(RuntimeWarning, match=r"station 'tempelhof': \d+ wet sequence\(s\) failed"):
        hourly = nimbra.disaggregate(series, crowded, seed=1)
    failed = hourly.attrs["nimbra"]["tempelhof"]["failed"]
    assert failed
    first, days, message = failed[0]
    assert "needed more than the 1000 cells a storm holds" in message
    lost = hourly[pd.Timestamp(first) : pd.Timestamp(first) + pd.Timedelta(hours=24 * days - 1)]
    assert lost.isna().all() and len(lost) == 24 * days


def _bad_inputs(series, params):
    index = series.index
    no_alpha = {k: v for k, v in params.items() if k != "alpha"}
    return [
        (series.reset_index(drop=True), params, {}, TypeError, "daily: expected a DatetimeIndex of days, found RangeIndex"),
        (series[:0], params, {}, ValueError, "daily: expected at least one day, found none"),
        (series.set_axis(index + pd.Timedelta(hours=6)), params, {}, ValueError, "daily: expected dates at midnight, found 2000-07-01 06:00:00"),
        (pd.concat([series, series[:1]]), params, {}, ValueError, "daily: date 2000-07-01 appears twice"),
        (series.where(index != "2000-07-05", -1.5), params, {}, ValueError, "daily: station 'tempelhof', 2000-07-05: expected a depth >= 0 mm or NaN, found -1.5"),
        (series.astype(object).where(index != "2000-07-06", "wet"), params, {}, ValueError, "daily: station 'tempelhof', 2000-07-06: expected a depth >= 0 mm or NaN, found 'wet'"),
        (series.where(index != "2000-07-07", np.inf), params, {}, ValueError, "daily: station 'tempelhof', 2000-07-07: expected a depth >= 0 mm or NaN, found inf"),
        (series, no_alpha, {}, ValueError, "params: expected the parameters alpha, found none"),
        (series, {**params, "beta": 1.0}, {}, ValueError, "params: expected only lambda, kappa, phi, alpha, nu, mu_x, sigma_x, found 'beta'"),
        (series, {**params, "nu": -1.0}, {}, ValueError, "params: nu: expected a positive number, found -1.0"),
        (series, pd.DataFrame([{"season": 8, **params}]), {}, ValueError, "params DataFrame: station 'tempelhof' has days in months 7, which no parameter set covers"),
        (series, pd.DataFrame([{"season": "JJA", **params}]), {}, ValueError, "params DataFrame, line 2: expected a column 'months' with the months of season 'JJA'"),
        (series, pd.DataFrame([{"season": 7, **params}, {"season": "all", **params}]), {}, ValueError, "params DataFrame, lines 2 and 3: every station has two parameter sets for months 7"),
        (series, pd.DataFrame([{"season": 7, **params, "nu": -1.0}]), {}, ValueError, "params DataFrame, line 2, column 6 (nu): expected a positive number, found '-1.0'"),
        (series, "/nonexistent/params.csv", {}, OSError, "/nonexistent/params.csv: cannot open the file"),
        (series, [1, 2], {}, TypeError, "params: expected a mapping of lambda, kappa, phi, alpha, nu, mu_x, sigma_x, a DataFrame or a path to params.csv, found list"),
        (series, params, {"levels": 1}, TypeError, "unexpected option 'levels'; expected one of level, adjust, rep_factor, rep_min, rep_allowed, distance"),
        (series, params, {"level": 4}, ValueError, "level: expected an integer from 0 to 3, found 4"),
        (series, params, {"level": "2"}, TypeError, "level: expected an integer, found '2'"),
        (series, params, {"adjust": 1}, TypeError, "adjust: expected True or False, found 1"),
        (series, params, {"seed": 2.0}, TypeError, "seed: expected an integer, found 2.0"),
        (series, params, {"seed": 2**31}, ValueError, "seed: expected an integer from -2147483648 to 2147483647, found 2147483648"),
        (series, params, {"rep_factor": 0}, ValueError, "rep_factor: expected an integer from 1 to 200, found 0"),
        (series, params, {"rep_min": 1001}, ValueError, "rep_min: expected an integer from 1 to 1000, found 1001"),
        (series, params, {"rep_allowed": 0}, ValueError, "rep_allowed: expected an integer from 1 to 100000, found 0"),
        (series, params, {"distance": -0.1}, ValueError, "distance: expected a number >= 0, found -0.100000"),
        ([1.0, 2.0], params, {}, TypeError, "daily: expected a pandas Series or DataFrame or an xarray DataArray or Dataset, found list"),
        (series.astype(object).where(index != "2000-07-08", True), params, {}, ValueError, "daily: station 'tempelhof', 2000-07-08: expected a depth >= 0 mm or NaN, found True"),
        (series > 1, params, {}, TypeError, "daily: station 'tempelhof': expected depths in mm, found booleans"),
        (pd.DataFrame({1: series, "1": series}), params, {}, ValueError, "daily: columns 1 and '1' both give the station name '1'"),
    ]


def test_bad_input_is_refused_naming_what_was_expected(july_2000):
    for daily, params, options, error, message in _bad_inputs(*july_2000):
        with pytest.raises(error) as raised:
            nimbra.disaggregate(daily, params, **options)
        assert str(raised.value) == message


def test_the_compiled_call_refuses_what_is_no_depth(july_2000):
    series, params = july_2000
    table = np.tile([params[name] for name in nimbra.PARAMETER_NAMES], (12, 1))
    cases = [
        (np.array([0.0, -1.0]), ValueError, "daily: 2000-07-02: expected a depth >= 0 mm or NaN, found -1.0"),
        (np.array([np.inf]), ValueError, "daily: 2000-07-01: expected a depth >= 0 mm or NaN, found inf"),
        (np.array([True, False]), TypeError, "daily: expected numbers of mm per day, found an array of bool"),
        (np.array(["1.5"]), TypeError, "daily: expected numbers of mm per day, found an array of <U3"),
    ]
    for depths, error, message in cases:
        with pytest.raises(error) as raised:
            nimbra.run_station(11139, depths, table, nimbra.RunOptions())
        assert str(raised.value) == message
