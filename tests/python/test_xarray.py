"""nimbra.disaggregate on xarray data: a grid's cells give the command line's hours for the
same series, each cell's stream follows from its coordinates alone, Dask gives the eager
result for any chunking, parameters may lie on the grid, and NetCDF keeps what it is given."""

import subprocess

import netCDF4
import numpy as np
import pandas as pd
import pytest
import xarray as xr

import nimbra

LATS = [52.5, 52.75, 53.0]
LONS = [13.0, 13.25, 13.5, 13.75]


@pytest.fixture(scope="module")
def grid(july):
    """3 x 4 cells, each July 2000 to 2002 of the record scaled by its own factor."""
    series, params = july
    julys = series["2000":"2002"].asfreq("D")
    factors = xr.DataArray(np.linspace(0.5, 1.6, 12).reshape(3, 4), dims=("lat", "lon"))
    depths = (xr.DataArray(julys.to_numpy(), dims="time", coords={"time": julys.index}) * factors).round(1)
    depths = depths.assign_coords(lat=LATS, lon=LONS).transpose("time", "lat", "lon")
    depths.attrs["units"] = "mm/day"
    return depths.rename("pr"), params


def _as_frame(hourly):
    """The cells as the columns of a DataFrame, each named after its coordinates."""
    cells = hourly.stack(cell=("lat", "lon")).transpose("time", "cell")
    names = [nimbra.cell_name(("lat", "lon"), cell) for cell in cells.indexes["cell"]]
    return pd.DataFrame(cells.values, index=cells.indexes["time"], columns=names)


def test_cell_names_follow_the_coordinates():
    assert nimbra.cell_name(("lat", "lon"), (np.float64(52.5), np.float64(13.25))) == "lat=52.5,lon=13.25"
    assert nimbra.cell_name(("y", "x"), (np.int64(3), 7)) == "y=3,x=7"
    assert nimbra.cell_name(("station",), ("Tempelhof",)) == "Tempelhof"


def test_a_grid_gives_the_hours_of_the_command_line(cli, grid, tmp_path):
    daily, params = grid
    frame = _as_frame(daily)
    rows = frame.rename_axis("date").reset_index().melt("date", var_name="station", value_name="precip_mm")
    rows.to_csv(tmp_path / "daily.csv", index=False, date_format="%Y-%m-%d")
    pd.DataFrame([{"season": "all", **params}]).to_csv(tmp_path / "params.csv", index=False)
    command = [cli, "disaggregate", "-i", "daily.csv", "-p", "params.csv", "-o", "hourly.csv", "--seed", "5"]
    run = subprocess.run(command + ["--decimals", "6"], cwd=tmp_path, capture_output=True, text=True, timeout=300)
    assert run.returncode == 0, run.stderr

    hourly = nimbra.disaggregate(daily.to_dataset(), params, seed=5, variable="pr")
    assert hourly.dims == ("time", "lat", "lon") and hourly.name == "pr"
    assert hourly.attrs["units"] == "mm" and "seed 5" in hourly.attrs["history"]
    np.testing.assert_array_equal(hourly.lat, LATS)
    nimbra.write_hourly_csv(_as_frame(hourly), tmp_path / "module.csv", decimals=6)
    assert (tmp_path / "module.csv").read_bytes() == (tmp_path / "hourly.csv").read_bytes()
    # Missing days (August to June) have no hours; every other day keeps its total.
    totals = hourly.resample(time="D").sum(min_count=24)
    np.testing.assert_allclose(totals.values, daily.reindex(time=totals.time).values, atol=1e-9)
    assert np.isnan(hourly.sel(time="2000-08-15")).all()


def test_a_cell_does_not_depend_on_the_others_or_the_chunks(grid):
    daily, params = grid
    eager = nimbra.disaggregate(daily, params, seed=2, threads=2)
    corner = nimbra.disaggregate(daily.isel(lat=[2], lon=[3]), params, seed=2)
    xr.testing.assert_identical(corner, eager.isel(lat=[2], lon=[3]))
    for chunks in ({"lat": 1, "lon": 2}, {"lat": 3, "lon": 1, "time": 20}):
        lazy = nimbra.disaggregate(daily.chunk(chunks), params, seed=2)
        assert lazy.chunks is not None
        xr.testing.assert_identical(lazy.compute(), eager)


def test_a_station_dimension_gives_the_hours_of_the_same_dataframe(july_2000):
    series, params = july_2000
    frame = pd.DataFrame({"Tempelhof": series, "Dahlem": (series * 1.2).round(1)})
    table = pd.DataFrame([{"station": "Dahlem", "season": 7, **params, "kappa": 0.05},
                          {"station": "", "season": "all", **params}])
    stations = xr.DataArray(frame.to_numpy(), dims=("time", "station"),
                            coords={"time": frame.index.to_numpy(), "station": list(frame.columns)})
    hourly = nimbra.disaggregate(stations, table, seed=12)
    expected = nimbra.disaggregate(frame, table, seed=12)
    np.testing.assert_array_equal(hourly.values, expected.to_numpy())
    assert "Dahlem,7," in hourly.attrs["history"]


def test_units_are_converted_or_refused(grid):
    daily, params = grid
    in_mm = nimbra.disaggregate(daily, params, seed=4)
    flux = (daily / 86400).assign_attrs(units="kg m-2 s-1")
    np.testing.assert_allclose(nimbra.disaggregate(flux, params, seed=4).values, in_mm.values, rtol=1e-12)


def test_parameters_on_the_grid_serve_each_cell_its_own(grid):
    daily, params = grid
    scale = xr.DataArray([[1.0, 2.0, 1.0, 1.0]] * 3, dims=("lat", "lon"), coords={"lat": LATS, "lon": LONS})
    sets = xr.Dataset({name: xr.full_like(scale, value) for name, value in params.items()})
    sets["lambda"] = sets["lambda"] * scale
    hourly = nimbra.disaggregate(daily, sets, seed=6)
    frame = _as_frame(daily)
    for lat, lon, factor in [(52.5, 13.25, 2.0), (53.0, 13.75, 1.0)]:
        name = nimbra.cell_name(("lat", "lon"), (lat, lon))
        own = {**params, "lambda": params["lambda"] * factor}
        alone = nimbra.disaggregate(frame[name], own, seed=6)
        np.testing.assert_array_equal(hourly.sel(lat=lat, lon=lon).values, alone.values)


def test_bad_xarray_input_is_refused_naming_what_was_expected(grid):
    daily, params = grid
    no_nu = xr.Dataset({k: v for k, v in params.items() if k != "nu"})
    cases = [
        (daily.assign_attrs(units="in/day"), params, {}, ValueError, "daily: units: expected one of mm, mm/day, mm/d, mm day-1, mm d-1, kg m-2, kg m-2 s-1, kg/m2/s, kg m-2 d-1, found 'in/day'"),
        (daily.rename(time="day"), params, {}, ValueError, "daily: expected a 'time' dimension, found the dimensions day, lat, lon"),
        (daily > 1, params, {}, TypeError, "daily: expected numbers of mm per day, found values of type bool"),
        (daily.to_dataset(), params, {}, TypeError, "variable: expected the name of the Dataset's variable of daily depths, found None"),
        (daily.to_dataset(), params, {"variable": "tas"}, ValueError, "variable: expected one of pr, found 'tas'"),
        (daily.where(daily.time != daily.time[3], -2.0), params, {}, ValueError, "daily: station 'lat=52.5,lon=13.0', 2000-07-04: expected a depth >= 0 mm or NaN, found -2.0"),
        (daily, no_nu, {}, ValueError, "params: expected the variables lambda, kappa, phi, alpha, nu, mu_x, sigma_x, found no nu"),
        (daily, xr.Dataset({k: -v if k == "nu" else v for k, v in params.items()}), {}, ValueError, "params: expected positive numbers for every parameter, month and cell"),
        (daily.to_series(), params, {"variable": "pr"}, TypeError, "variable: expected only with an xarray Dataset"),
    ]
    for data, sets, options, error, message in cases:
        with pytest.raises(error) as raised:
            nimbra.disaggregate(data, sets, **options)
        assert str(raised.value) == message


def test_netcdf_keeps_values_units_time_and_attributes(grid, tmp_path):
    daily, params = grid
    hourly = nimbra.disaggregate(daily.chunk({"lat": 1}), params, seed=8)
    nimbra.to_netcdf(hourly, tmp_path / "hourly.nc")
    with xr.open_dataset(tmp_path / "hourly.nc") as back:
        xr.testing.assert_equal(back["pr"], hourly.compute())
        assert back["pr"].attrs["units"] == "mm"
        assert back.attrs["history"] == hourly.attrs["history"]
    with netCDF4.Dataset(tmp_path / "hourly.nc") as raw:
        pr, time = raw["pr"], raw["time"]
        assert pr.standard_name == "lwe_thickness_of_precipitation_amount" and pr.cell_methods == "time: sum"
        assert pr.filters()["zlib"] and raw.Conventions == "CF-1.8"
        assert (time.units, time.calendar, time[1] - time[0]) == ("hours since 2000-07-01", "standard", 1)
        assert list(raw["time_bounds"][0]) == [0, 1]
        assert "_FillValue" not in raw["lat"].ncattrs()
