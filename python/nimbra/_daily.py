"""Daily pandas data as the serial days and depths the compiled call takes, and its hours
back as pandas data with an hourly index."""

import numpy as np
import pandas as pd

HOURS_PER_DAY = 24
_EPOCH = pd.Timestamp("1970-01-01")


def full_days(index):
    """The index's days from its first to its last, every day once, and the serial day
    (days since 1970-01-01) of the first. Refuses anything but distinct midnights."""
    if not isinstance(index, pd.DatetimeIndex):
        raise TypeError(f"daily: expected a DatetimeIndex of days, found {type(index).__name__}")
    if len(index) == 0:
        raise ValueError("daily: expected at least one day, found none")
    if index.tz is not None and str(index.tz) != "UTC":
        raise ValueError(f"daily: expected dates without a time zone or in UTC, found {index.tz}")
    not_midnight = index != index.normalize()
    if not_midnight.any():
        raise ValueError(f"daily: expected dates at midnight, found {index[not_midnight][0]}")
    repeated = index.duplicated()
    if repeated.any():
        raise ValueError(f"daily: date {index[repeated][0].date()} appears twice")
    days = pd.date_range(index.min(), index.max(), freq="D", name=index.name)
    first_day = (days[0].tz_localize(None) - _EPOCH).days
    return days, first_day


def station_depths(name, values, days):
    """The depths of one station as float64, NaN for a missing day; refuses text, negative
    and infinite depths, naming the station and the date."""
    depths = pd.to_numeric(values, errors="coerce").to_numpy(dtype=np.float64)
    bad = (np.isnan(depths) & values.notna().to_numpy()) | np.isinf(depths) | (depths < 0)
    if bad.any():
        at = int(np.argmax(bad))
        raise ValueError(
            f"daily: station '{name}', {days[at].date()}: expected a depth >= 0 mm or NaN, "
            f"found {values.iloc[at]!r}"
        )
    return depths


def date_of(serial_day):
    """The date of a serial day (days since 1970-01-01)."""
    return (_EPOCH + pd.Timedelta(days=serial_day)).date()


def hourly_index(days):
    """The hours of the days, each labelled by its start."""
    return pd.date_range(days[0], periods=HOURS_PER_DAY * len(days), freq="H", name="time")
