"""Ctrl-C ends a long call of the module promptly with KeyboardInterrupt, in the middle of
a station's wet sequence (storms so frequent that one sequence takes minutes), in the
middle of a calibration and in the middle of a fit's search."""

import os
import signal
import subprocess
import sys
import time
from pathlib import Path

import pytest

EXAMPLES = Path(__file__).resolve().parent.parent.parent / "examples"

SLOW_STATION = """
import numpy as np, pandas as pd, nimbra
days = pd.date_range("2000-07-01", periods=60, freq="D")
params = dict(zip(nimbra.PARAMETER_NAMES, (20, 1.05819, 0.0586, 2.69569, 0.0062829, 24.33, 24.33)))
print("started", flush=True)
nimbra.disaggregate(pd.Series(np.full(60, 30.0), index=days, name="wet"), params, seed=1)
"""

SLOW_CALIBRATION = f"""
import nimbra
examples = {str(EXAMPLES)!r}
print("started", flush=True)
nimbra.calibrate(examples + "/berlin_tempelhof_july_daily.csv", examples + "/berlin_tempelhof_july_hourly.csv",
                 examples + "/berlin_tempelhof_july_params.csv", seeds=50, evaluations=1000, threads=1)
"""

SLOW_FIT = f"""
import pandas as pd, nimbra
hours = pd.read_csv({str(EXAMPLES)!r} + "/berlin_tempelhof_july_hourly.csv", parse_dates=["time"], index_col="time")
print("started", flush=True)
nimbra.fit(hours["precip_mm"], starts=10000)
"""


@pytest.mark.parametrize("script", [SLOW_STATION, SLOW_CALIBRATION, SLOW_FIT], ids=["station", "calibration", "fit"])
def test_ctrl_c_ends_the_call(script):
    process = subprocess.Popen([sys.executable, "-c", script], stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                               text=True, env=os.environ)
    assert process.stdout.readline() == "started\n"
    time.sleep(2)  # well inside the work
    assert process.poll() is None, process.stderr.read()
    process.send_signal(signal.SIGINT)
    sent = time.monotonic()
    _, errors = process.communicate(timeout=60)
    # The old wait was the rest of the work, 30 s and more; 10 s leaves room for a busy machine.
    assert time.monotonic() - sent < 10
    assert process.returncode != 0 and errors.rstrip().endswith("KeyboardInterrupt"), errors
