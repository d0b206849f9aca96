"""Hourly pandas results written as nimbra-cli disaggregate writes its output."""

import os

import pandas as pd

from . import _daily
from ._nimbra import write_hourly_csv as _write


def write_hourly_csv(hourly, path, decimals=2, label="start"):
    """Writes station,time,precip_mm rows, stations sorted by name and each day's hours
    rounded so that they add up to its total at the decimals written: the bytes
    nimbra-cli disaggregate writes for the same hours. A Series is one station named by
    its name. Every station gets rows for every hour of the index, also for missing days
before its first depth or after its last. label: 'start' or 'end', the moment of the hour that its time names."""
    if isinstance(hourly, pd.Series):
        hourly = hourly.to_frame("" if hourly.name is None else hourly.name)
    if label not in ("start", "end"):
        raise ValueError(f"label: expected 'start' or 'end', found {label!r}")
    if not isinstance(decimals, int) or not 0 <= decimals <= 6:
        raise ValueError(f"decimals: expected an integer from 0 to 6, found {decimals!r}")
    index = hourly.index
    if len(index) % _daily.HOURS_PER_DAY or not index.equals(_daily.hourly_index(index[::24].normalize())):
        raise ValueError("hourly: expected whole days of hours from midnight, as nimbra.disaggregate returns")
    first_day = (index[0].tz_localize(None) - _daily._EPOCH).days
    stations = [(str(name), first_day, hourly[name].to_numpy(dtype=float)) for name in hourly.columns]
    stations.sort(key=lambda station: station[0].encode())
    _write(os.fspath(path), stations, decimals, label == "end")
