"""Daily rainfall depths disaggregated into hourly depths with a randomised Bartlett-Lewis
rectangular-pulse model.

``disaggregate`` takes a pandas Series or DataFrame of daily depths, or an xarray DataArray
of any grid (lazily, chunk by chunk, when Dask holds it), and returns the hours;
``to_netcdf`` writes gridded hours as CF NetCDF; ``nimbra.dask.disaggregate`` spreads the
stations of a DataFrame over a Dask cluster. ``model_stats`` gives the model's statistics,
``fit`` fits its parameters to hourly records and ``calibrate`` calibrates them for
disaggregation. ``run_station`` is the compiled one-station call underneath, for arrays.
"""

from ._nimbra import (
    FailedSequence,
    ParameterTable,
    RunOptions,
    StationResult,
    StopFlag,
    __version__,
    run_station,
    station_seed,
)
from ._calibrate import calibrate
from ._disaggregate import disaggregate
from ._hourly_csv import write_hourly_csv
from ._model import fit, model_stats
from ._netcdf import to_netcdf
from ._parameters import PARAMETER_NAMES, Parameters
from ._xarray import cell_name

__all__ = [
    "FailedSequence",
    "PARAMETER_NAMES",
    "ParameterTable",
    "Parameters",
    "RunOptions",
    "StationResult",
    "StopFlag",
    "__version__",
    "calibrate",
    "cell_name",
    "disaggregate",
    "fit",
    "model_stats",
    "run_station",
    "station_seed",
    "to_netcdf",
    "write_hourly_csv",
]
