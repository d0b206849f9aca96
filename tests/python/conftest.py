"""Shared data of the Python tests: the Berlin-Tempelhof July record as a pandas Series with
its fitted parameters, read from the classic file that the golden runs also read."""

import os
from pathlib import Path

import numpy as np
import pandas as pd
import pytest

import nimbra

TESTS = Path(__file__).resolve().parent.parent
DATA = TESTS / "data"
GOLDEN = TESTS / "golden"


def read_classic(path, name):
    """Daily depths of a classic file with Tag as the month, negative depths as missing
    days, and the parameters of its P line."""
    lines = path.read_text().splitlines()
    params = dict(zip(nimbra.PARAMETER_NAMES, map(float, lines[1].split()[2:9])))
    records = [line.split() for line in lines[2:] if line.strip()]
    dates = pd.to_datetime([f"{r[2]}-{int(r[1]):02d}-{int(r[0]):02d}" for r in records])
    depths = np.array([float(r[3]) for r in records])
    return pd.Series(np.where(depths < 0, np.nan, depths), index=dates, name=name), params


@pytest.fixture(scope="session")
def july():
    return read_classic(DATA / "berlin_tempelhof_july_2000_2019.txt", "tempelhof")


@pytest.fixture(scope="session")
def july_2000(july):
    """July 2000 alone: 31 days, enough for quick runs."""
    series, params = july
    return series["2000-07"], params


@pytest.fixture
def cli():
    """The nimbra-cli that ctest names; tests that compare with it skip without one."""
    path = os.environ.get("NIMBRA_CLI")
    if not path:
        pytest.skip("NIMBRA_CLI names no nimbra-cli (ctest sets it)")
    return path
