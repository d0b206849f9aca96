#!/usr/bin/python3
"""How each candidate calibration knob moves the model's hourly persistence, in closed form.

For each season of a parameters file (nimbra-cli fit), each knob is turned by a small factor
both ways around 1, and the model's hourly lag-1 autocorrelation, dry probability, mean wet
spell and variance are differentiated per unit of log(factor). Every knob keeps the mean
depth; the table checks that too. "variance held" adds the intensity spread that brings the
variance back, the knob that moves neither the timing nor the dry hours; "variance and dry
held" adds the storm frequency that brings the dry probability back too, so what is left is
what the knob can do that the calibration's other knobs cannot undo.

The mean wet spell is the continuous model's (an hour is wet when any rain falls in it): the
wet hours divided by the wet-to-dry changes, (1 - p(1 h)) / (p(1 h) - p(2 h)), as two
consecutive hours are both dry exactly when their two-hour interval is.

Usage: PYTHONPATH=build/release/python bench/persistence_knobs.py PARAMS_CSV [SEASON ...]
"""
import argparse
import csv
import math

import nimbra

STEP = 0.05  # log factor each way


def cell_duration(p, s):
    """The calibration's cell-duration knob: cell and storm rates kept, mean depth kept."""
    fixed_eta = p["alpha"] >= 100
    return {**p, "nu": p["nu"] / s if fixed_eta else p["nu"] * s, "kappa": p["kappa"] * s, "phi": p["phi"] * s,
            "mu_x": p["mu_x"] / s, "sigma_x": p["sigma_x"] / s}


def intensity_spread(p, f):
    return {**p, "sigma_x": p["sigma_x"] * f}


def storm_frequency(p, f):
    return {**p, "lambda": p["lambda"] * f, "mu_x": p["mu_x"] / f, "sigma_x": p["sigma_x"] / f}


def with_cells_per_storm(p, cells):
    """The intensities scaled so that the mean depth stays with 1 + kappa / phi cells."""
    scale = (1 + p["kappa"] / p["phi"]) / (1 + cells["kappa"] / cells["phi"])
    return {**cells, "mu_x": p["mu_x"] * scale, "sigma_x": p["sigma_x"] * scale}


def storm_duration_cell_rate_kept(p, d):
    """Storms d times as long (phi / d); cells arrive as before, so a storm has more of them."""
    return with_cells_per_storm(p, {**p, "phi": p["phi"] / d})


def storm_duration_cells_kept(p, d):
    """Storms d times as long with as many cells, spread d times as thin in time."""
    return {**p, "phi": p["phi"] / d, "kappa": p["kappa"] / d}


def cells_per_storm(p, c):
    """c times the cells after the first (kappa * c), the storm length kept."""
    return with_cells_per_storm(p, {**p, "kappa": p["kappa"] * c})


KNOBS = {
    "cell duration": cell_duration,
    "storm frequency": storm_frequency,
    "intensity spread": intensity_spread,
    "storm duration, cell rate kept": storm_duration_cell_rate_kept,
    "storm duration, cells kept": storm_duration_cells_kept,
    "cells per storm": cells_per_storm,
}


def hourly(p):
    """Mean, variance, lag-1, dry probability and mean wet spell of the hours."""
    table = nimbra.model_stats(p, scales=(1, 2))
    one, two = table.iloc[0], table.iloc[1]
    spell = (1 - one["dry_probability"]) / (one["dry_probability"] - two["dry_probability"])
    return {"mean": one["mean"], "log variance": math.log(one["variance"]), "lag-1": one["autocorrelation_lag1"],
            "dry": one["dry_probability"], "log spell": math.log(spell), "spell": spell}


def slopes(p, knob):
    up, down = hourly(knob(p, math.exp(STEP))), hourly(knob(p, math.exp(-STEP)))
    result = {name: (up[name] - down[name]) / (2 * STEP) for name in up}
    mean = hourly(p)["mean"]
    result["mean change"] = max(abs(up["mean"] / mean - 1), abs(down["mean"] / mean - 1))
    return result


def read_sets(path, seasons):
    names = ("lambda", "kappa", "phi", "alpha", "nu", "mu_x", "sigma_x")
    with open(path, newline="") as source:
        rows = list(csv.DictReader(source))
    return [(row["season"], {n: float(row[n]) for n in names}) for row in rows if not seasons or row["season"] in seasons]


def held(s, spread, storms):
    """lag-1 at the variance held; lag-1 and log wet spell at the variance and dry hours held."""
    lag_at_variance = s["lag-1"] - s["log variance"] / spread["log variance"] * spread["lag-1"]
    b = -s["dry"] / storms["dry"]
    a = -(s["log variance"] + b * storms["log variance"]) / spread["log variance"]
    lag = s["lag-1"] + a * spread["lag-1"] + b * storms["lag-1"]
    spell = s["log spell"] + a * spread["log spell"] + b * storms["log spell"]
    return lag_at_variance, lag, spell


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("params")
    parser.add_argument("seasons", nargs="*")
    arguments = parser.parse_args()
    for season, p in read_sets(arguments.params, arguments.seasons):
        base = hourly(p)
        print(f"\nseason {season}: lag-1 {base['lag-1']:.3f}, dry {base['dry']:.4f}, "
              f"wet spell {base['spell']:.2f} h, variance {math.exp(base['log variance']):.4g} mm2")
        spread, storms = slopes(p, intensity_spread), slopes(p, storm_frequency)
        print("| knob (per unit of log factor) | lag-1 | dry probability | log wet spell | log variance "
              "| lag-1, variance held | lag-1, variance and dry held | log wet spell, variance and dry held "
              "| largest mean change |")
        print("|---|---|---|---|---|---|---|---|---|")
        for name, knob in KNOBS.items():
            s = slopes(p, knob)
            cells = [s["lag-1"], s["dry"], s["log spell"], s["log variance"], *held(s, spread, storms)]
            print(f"| {name} | " + " | ".join(f"{v:+.4f}" for v in cells) + f" | {s['mean change']:.1e} |")


if __name__ == "__main__":
    main()
