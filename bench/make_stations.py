#!/usr/bin/python3
"""Writes a daily CSV of many synthetic stations made from the Berlin-Tempelhof July record:
each station is the record with its depths scaled by a factor drawn for that station
(0.7 to 1.3), so that stations differ in depth but keep the record's wet and dry days.

Usage: bench/make_stations.py [STATIONS] [OUTPUT]   (defaults: 100, build/stations_daily.csv)
"""
import csv
import random
import sys
from pathlib import Path

root = Path(__file__).resolve().parent.parent
stations = int(sys.argv[1]) if len(sys.argv) > 1 else 100
output = Path(sys.argv[2]) if len(sys.argv) > 2 else root / "build" / "stations_daily.csv"

with open(root / "examples" / "berlin_tempelhof_july_daily.csv", newline="") as source:
    days = [(row["date"], row["precip_mm"]) for row in csv.DictReader(source)]

output.parent.mkdir(parents=True, exist_ok=True)
with open(output, "w", newline="") as target:
    target.write("station,date,precip_mm\n")
    for number in range(1, stations + 1):
        factor = random.Random(number).uniform(0.7, 1.3)
        for date, depth in days:
            value = "NA" if depth in ("", "NA") else f"{float(depth) * factor:.1f}"
            target.write(f"S{number:03d},{date},{value}\n")
print(f"{output}: {stations} stations x {len(days)} days")
