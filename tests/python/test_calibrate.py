"""nimbra.calibrate: the files of nimbra-cli calibrate for the same inputs, from pandas data
and from the command line's files; progress on the calling thread; bad arguments refused."""

import subprocess
from pathlib import Path

import pandas as pd
import pytest

import nimbra

EXAMPLES = Path(__file__).resolve().parent.parent.parent / "examples"
PARAMS = EXAMPLES / "berlin_tempelhof_july_params.csv"
SMALL = {"seeds": 2, "evaluations": 2, "seed": 3}


@pytest.fixture(scope="module")
def two_julys():
    """The July example's daily depths and observed hours of 2000 and 2001, as pandas data."""
    daily = pd.read_csv(EXAMPLES / "berlin_tempelhof_july_daily.csv", parse_dates=["date"])
    daily = daily[daily.date.dt.year.isin([2000, 2001])].pivot(index="date", columns="station", values="precip_mm")
    hourly = pd.read_csv(EXAMPLES / "berlin_tempelhof_july_hourly.csv", parse_dates=["time"])
    hourly = hourly[hourly.time.dt.year.isin([2000, 2001])].pivot(index="time", columns="station", values="precip_mm")
    return daily.rename_axis(columns=None), hourly.rename_axis(columns=None)


def _write_long(frame, path, time_column, time_format):
    rows = frame.rename_axis(time_column).reset_index().melt(time_column, var_name="station", value_name="precip_mm")
    rows.dropna().to_csv(path, index=False, date_format=time_format)


def test_gives_the_files_of_the_command_line(cli, two_julys, tmp_path):
    daily, hourly = two_julys
    _write_long(daily, tmp_path / "daily.csv", "date", "%Y-%m-%d")
    _write_long(hourly, tmp_path / "hourly.csv", "time", "%Y-%m-%dT%H:%M")
    command = [cli, "calibrate", "--daily", "daily.csv", "--observed-hourly", "hourly.csv", "-p", str(PARAMS)]
    command += ["-o", "calibrated.csv", "--report", "report.csv", "--seeds", "2", "--evaluations", "2", "-s", "3"]
    run = subprocess.run(command, cwd=tmp_path, capture_output=True, text=True, timeout=300)
    assert run.returncode == 0, run.stderr

    candidates = []
    calibrated, report = nimbra.calibrate(daily, hourly, PARAMS, threads=2, progress=candidates.append, **SMALL)
    assert calibrated.attrs["csv"] == (tmp_path / "calibrated.csv").read_text()
    assert report.attrs["csv"] == (tmp_path / "report.csv").read_text()
    assert calibrated.loc[0, "calibrated"] == "yes" and calibrated.loc[0, "season"] == "7"
    # One progress call per candidate, numbered as the command line numbers its lines.
    assert [c["candidate"] for c in candidates] == list(range(1, len(candidates) + 1))
    assert len(candidates) == run.stderr.count("candidate ")
    assert all(c["storm_duration"] > 0 for c in candidates)
    # The files themselves, and one thread, give the same.
    by_path, _ = nimbra.calibrate(tmp_path / "daily.csv", tmp_path / "hourly.csv", PARAMS, threads=1, **SMALL)
    assert by_path.attrs["csv"] == calibrated.attrs["csv"]
    # The calibrated table is what disaggregate takes.
    nimbra.disaggregate(daily, calibrated, seed=1)


def test_a_season_no_candidate_can_run_is_left_as_it_was_with_a_warning(two_julys, tmp_path):
    daily, hourly = two_julys
    params = tmp_path / "big_storms.csv"
    params.write_text("season,lambda,kappa,phi,alpha,nu,mu_x,sigma_x\n7,0.45,0.2,0.001,3.94,0.029,143.3,143.3\n")
    with pytest.warns(RuntimeWarning, match="season '7': no candidate disaggregated every wet sequence"):
        calibrated, _ = nimbra.calibrate(daily, hourly, params, **SMALL)
    assert calibrated.loc[0, "calibrated"] == "no" and calibrated.loc[0, "phi"] == 0.001


def test_bad_arguments_are_refused_naming_what_was_expected(two_julys):
    daily, hourly = two_julys
    cases = [
        ({"seeds": 0}, ValueError, "seeds: expected an integer from 1 to 100, found 0"),
        ({"evaluations": 10001}, ValueError, "evaluations: expected an integer from 1 to 10000, found 10001"),
        ({"threads": 2000}, ValueError, "threads: expected an integer from 1 to 1024, found 2000"),
        ({"seed": 1.5}, TypeError, "seed: expected an integer, found 1.5"),
        ({"seasons": "7"}, TypeError, "seasons: expected a list of season names, found '7'"),
        ({"seasons": ["8"]}, ValueError, f"--seasons: {PARAMS} has no season '8'"),
        ({"rep_factor": 3}, TypeError, "unexpected option 'rep_factor'; expected one of adjust, rep_allowed, distance"),
        ({"distance": -1.0}, ValueError, "distance: expected a number >= 0, found -1.000000"),
        ({"progress": "bar"}, TypeError, "progress: expected a callable, True or None, found 'bar'"),
        ({"slowdown": 0.5}, ValueError, "slowdown: expected a number from 1 to 100, found 0.5"),
        ({"slowdown": float("nan")}, ValueError, "slowdown: expected a number from 1 to 100, found nan"),
        ({"slowdown": "2"}, TypeError, "slowdown: expected a number, found '2'"),
    ]
    for arguments, error, message in cases:
        with pytest.raises(error) as raised:
            nimbra.calibrate(daily, hourly, PARAMS, **{**SMALL, **arguments})
        assert str(raised.value) == message, arguments


def test_bad_data_is_refused_in_the_module_words(two_julys):
    daily, hourly = two_julys
    negative = hourly.copy()
    negative.iloc[5, 0] = -0.1
    cases = [
        (daily, negative, ValueError, "observed_hourly: station 'Tempelhof', 2000-07-01 05:00:00: expected a depth >= 0 mm or NaN, found -0.1"),
        (daily, hourly.rename(columns={"Tempelhof": "Dahlem"}), ValueError, "observed_hourly: has no hours of any station of daily: its stations are 'Dahlem', those of daily 'Tempelhof'"),
        (daily.to_numpy(), hourly, TypeError, "daily: expected a pandas Series or DataFrame or a path, found ndarray"),
        (daily, "/nonexistent/hourly.csv", OSError, "/nonexistent/hourly.csv: cannot open the file"),
    ]
    for daily_data, hourly_data, error, message in cases:
        with pytest.raises(error) as raised:
            nimbra.calibrate(daily_data, hourly_data, PARAMS, **SMALL)
        assert str(raised.value) == message
