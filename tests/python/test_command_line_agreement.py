"""The module and nimbra-cli disaggregate, given the same stations, parameters file and
seed, give the same hours: written by the module, the same bytes. A calibrated file's
repetition settings apply in both."""

import subprocess

import pandas as pd
import pytest


@pytest.mark.parametrize("repetitions", [{}, {"calibrated": "yes", "rep_factor": 3, "rep_min": 7}])
def test_module_gives_the_hours_of_the_command_line(cli, july, tmp_path, repetitions):
    import nimbra

    series, params = july
    three_julys = series["2000":"2002"]
    # Written in the order of the names' bytes: "Tempelhof" before "berlin", whatever the order given.
    stations = pd.DataFrame({"berlin x1.3": (three_julys * 1.3).round(1), "Tempelhof": three_julys})
    daily = stations.rename_axis("date").reset_index().melt("date", var_name="station", value_name="precip_mm")
    daily.to_csv(tmp_path / "daily.csv", index=False, date_format="%Y-%m-%d")
    row = {"season": "summer", "months": "6 7 8", **params, **repetitions}
    pd.DataFrame([row]).to_csv(tmp_path / "params.csv", index=False)

    command = [cli, "disaggregate", "-i", "daily.csv", "-p", "params.csv", "-o", "hourly.csv"]
    command += ["--seed", "21", "--decimals", "3", "--label", "end", "--threads", "2"]
    run = subprocess.run(command, cwd=tmp_path, capture_output=True, text=True, timeout=120)
    assert run.returncode == 0, run.stderr

    hourly = nimbra.disaggregate(stations, tmp_path / "params.csv", seed=21)
    nimbra.write_hourly_csv(hourly, tmp_path / "module.csv", decimals=3, label="end")
    assert (tmp_path / "module.csv").read_bytes() == (tmp_path / "hourly.csv").read_bytes()
    if repetitions:
        given = nimbra.disaggregate(stations, {**params}, seed=21, rep_factor=3, rep_min=7)
        pd.testing.assert_frame_equal(hourly, given)


def test_writing_refuses_what_the_command_line_would_not_write(july_2000, tmp_path):
    import nimbra

    series, params = july_2000
    hourly = nimbra.disaggregate(series, params)
    cases = [
        (hourly, {"decimals": 7}, "decimals: expected an integer from 0 to 6, found 7"),
        (hourly, {"label": "middle"}, "label: expected 'start' or 'end', found 'middle'"),
        (hourly[1:], {}, "hourly: expected whole days of hours from midnight, as nimbra.disaggregate returns"),
        (hourly.resample("2H").sum(), {}, "hourly: expected whole days of hours from midnight, as nimbra.disaggregate returns"),
    ]
    for data, options, message in cases:
        with pytest.raises(ValueError) as raised:
            nimbra.write_hourly_csv(data, tmp_path / "out.csv", **options)
        assert str(raised.value) == message
    assert not (tmp_path / "out.csv").exists()
