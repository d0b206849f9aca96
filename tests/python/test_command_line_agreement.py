"""The module and nimbra-cli disaggregate, given the same stations, parameters file and
seed, give the same hours (the command line writes them with six decimals)."""

import os
import subprocess

import numpy as np
import pandas as pd
import pytest


@pytest.fixture
def cli():
    path = os.environ.get("NIMBRA_CLI")
    if not path:
        pytest.skip("NIMBRA_CLI names no nimbra-cli (ctest sets it)")
    return path


def test_module_gives_the_hours_of_the_command_line(cli, july, tmp_path):
    import nimbra

    series, params = july
    three_julys = series["2000":"2002"]
    stations = pd.DataFrame({"Tempelhof": three_julys, "Tempelhof x1.3": (three_julys * 1.3).round(1)})
    daily = stations.rename_axis("date").reset_index().melt("date", var_name="station", value_name="precip_mm")
    daily.to_csv(tmp_path / "daily.csv", index=False, date_format="%Y-%m-%d")
    pd.DataFrame([{"season": "summer", "months": "6 7 8", **params}]).to_csv(tmp_path / "params.csv", index=False)

    command = [cli, "disaggregate", "-i", "daily.csv", "-p", "params.csv", "-o", "hourly.csv"]
    command += ["--seed", "21", "--decimals", "6", "--threads", "2"]
    run = subprocess.run(command, cwd=tmp_path, capture_output=True, text=True, timeout=120)
    assert run.returncode == 0, run.stderr
    written = pd.read_csv(tmp_path / "hourly.csv", parse_dates=["time"])
    by_cli = written.pivot(index="time", columns="station", values="precip_mm")

    by_module = nimbra.disaggregate(stations, tmp_path / "params.csv", seed=21)
    by_cli = by_cli.reindex(by_module.index)[list(by_module.columns)]
    np.testing.assert_array_equal(np.isnan(by_cli.to_numpy()), np.isnan(by_module.to_numpy()))
    assert np.nanmax(np.abs(by_cli.to_numpy() - by_module.to_numpy())) <= 1.0000001e-6
