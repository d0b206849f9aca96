"""nimbra.model_stats and nimbra.fit against nimbra-cli model-stats and nimbra-cli fit on the
Berlin-Tempelhof July hours, and their bad input refused with what was expected."""

import io
import subprocess

import pandas as pd
import pytest

import nimbra
from conftest import TESTS

HOURLY = TESTS.parent / "examples" / "berlin_tempelhof_july_hourly.csv"


@pytest.fixture(scope="module")
def july_hours():
    rows = pd.read_csv(HOURLY, parse_dates=["time"])
    return rows.set_index("time")["precip_mm"]


def cli_output(cli, *arguments, cwd=None):
    run = subprocess.run([cli, *arguments], cwd=cwd, capture_output=True, text=True, timeout=120)
    assert run.returncode == 0, run.stderr
    return run.stdout


def test_model_stats_are_those_of_the_command_line(cli, july):
    _, params = july
    text = cli_output(cli, "model-stats", "--params", " ".join(repr(params[n]) for n in nimbra.PARAMETER_NAMES),
                      "--scales", "1,5,24,168")
    stats = nimbra.model_stats(params, scales=[1, 5, 24, 168])
    assert stats.to_csv(index=False, float_format="%.9g") == text


def test_fit_gives_the_parameters_file_of_the_command_line(cli, july_hours, tmp_path):
    (tmp_path / "seasons.csv").write_text("season,months\nsummer,6 7 8\n")
    options = ["--scales", "1,6,24", "--fix", "alpha=4", "--weights", "years", "--seed", "3"]
    cli_output(cli, "fit", "-i", str(HOURLY), "-o", "params.csv", "--seasons", "seasons.csv", *options, cwd=tmp_path)
    fitted = nimbra.fit(july_hours, seasons={"summer": [6, 7, 8]}, scales=[1, 6, 24], fix={"alpha": 4},
                        weights="years", seed=3)
    assert fitted.to_csv(index=False, float_format="%.10g") == (tmp_path / "params.csv").read_text()
    report = fitted.attrs["report"]
    assert list(report["item"]) == ["mean@24"] + [f"{k}@{h}" for k in ("variance", "autocorrelation_lag1", "dry_probability") for h in (1, 6, 24)]
    assert fitted.attrs["objective"]["summer"] == pytest.approx(((report["relative_error"] ** 2) * report["weight"]).sum())
    spread = fitted.attrs["spread"]["summer"]
    assert spread["best"] == fitted.attrs["objective"]["summer"] <= spread["median"] <= spread["worst"]
    assert 1 <= spread["within_2_percent"] <= spread["starts"] == 24


def test_fitted_parameters_disaggregate_directly(july_hours, july_2000):
    series, _ = july_2000
    fitted = nimbra.fit(july_hours)  # monthly: July alone holds data
    assert list(fitted["season"]) == ["7"]
    hourly = nimbra.disaggregate(series, fitted, seed=2)
    pd.testing.assert_series_equal(hourly.resample("D").sum(min_count=24), series.asfreq("D"), check_freq=False, check_names=False)


def test_bad_model_input_is_refused_naming_what_was_expected(july_hours, july):
    _, params = july
    cases = [
        (lambda: nimbra.model_stats(params, scales=[0]), ValueError, "scales: expected whole hours from 1 to 8784, found 0"),
        (lambda: nimbra.model_stats(pd.DataFrame([params])), TypeError, "params: expected a mapping of lambda, kappa, phi, alpha, nu, mu_x, sigma_x, found DataFrame"),
        (lambda: nimbra.fit(july_hours.to_frame()), TypeError, "hourly: expected a pandas Series, found DataFrame"),
        (lambda: nimbra.fit(july_hours.set_axis(july_hours.index + pd.Timedelta(minutes=30))), ValueError, "hourly: expected hours on the hour"),
        (lambda: nimbra.fit(july_hours, seasons="weekly"), ValueError, "seasons: expected 'monthly', 'all' or a mapping of names to months, found 'weekly'"),
        (lambda: nimbra.fit(july_hours, seasons={"x": [13]}), ValueError, "seasons: x: expected month numbers 1 to 12, found [13]"),
        (lambda: nimbra.fit(july_hours, intensity="normal"), ValueError, "intensity: expected 'exponential' or 'gamma', found 'normal'"),
        (lambda: nimbra.fit(july_hours, weights="none"), ValueError, "weights: expected 'equal' or 'years', found 'none'"),
        (lambda: nimbra.fit(july_hours, starts=0), ValueError, "starts: expected a whole number of 1 or more, found 0"),
        (lambda: nimbra.fit(july_hours, evaluations=2.5), ValueError, "evaluations: expected a whole number of 1 or more, found 2.5"),
        (lambda: nimbra.fit(july_hours.where(july_hours.index != "2000-07-02 13:00", -0.2)), ValueError, "hourly: station 'precip_mm', 2000-07-02 13:00:00: expected a depth >= 0 mm or NaN, found -0.2"),
        (lambda: nimbra.fit(july_hours.where(july_hours.index != "2000-07-02 14:00", float("inf"))), ValueError, "hourly: station 'precip_mm', 2000-07-02 14:00:00: expected a depth >= 0 mm or NaN, found inf"),
        (lambda: nimbra.fit(july_hours > 0), TypeError, "hourly: station 'precip_mm': expected depths in mm, found booleans"),
    ]
    for call, error, message in cases:
        with pytest.raises(error) as raised:
            call()
        assert str(raised.value) == message
    # Messages of the model layer itself pass through unchanged, naming what is wrong.
    for call, named in ((lambda: nimbra.fit(july_hours, statistics="mean@24,skew@1"), "skew@1"),
                        (lambda: nimbra.model_stats({**params, "alpha": 0.5}), "Alpha")):
        with pytest.raises(ValueError, match=named):
            call()
