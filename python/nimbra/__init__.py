"""Daily rainfall depths disaggregated into hourly depths with a randomised Bartlett-Lewis
rectangular-pulse model.

``disaggregate`` takes a pandas Series or DataFrame of daily depths and returns the hours;
``nimbra.dask.disaggregate`` spreads the stations of a DataFrame over a Dask cluster.
``model_stats`` gives the model's statistics and ``fit`` fits its parameters to hourly
records. ``run_station`` is the compiled one-station call underneath, for arrays.
"""

from ._nimbra import FailedSequence, ParameterTable, RunOptions, StationResult, run_station, station_seed
from ._disaggregate import disaggregate
from ._hourly_csv import write_hourly_csv
from ._model import fit, model_stats
from ._parameters import PARAMETER_NAMES, Parameters

__all__ = [
    "FailedSequence",
    "PARAMETER_NAMES",
    "ParameterTable",
    "Parameters",
    "RunOptions",
    "StationResult",
    "disaggregate",
    "fit",
    "model_stats",
    "run_station",
    "station_seed",
    "write_hourly_csv",
]
