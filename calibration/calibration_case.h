#pragma once
// One season's calibration problem: the stations' daily depths in the season's months,
// their observed hours, and how a candidate is disaggregated and scored. Every candidate
// is run with the same seeds (common random numbers), so candidates differ by their
// parameters only, and the score of a candidate does not depend on the number of threads.

#include <optional>
#include <string>
#include <vector>

#include "calibration_knobs.h"
#include "daily_csv_reader.h"
#include "hourly_csv_reader.h"
#include "hourly_statistics.h"
#include "season.h"
#include "thread_share.h"

namespace nimbra {

struct CalibrationStation {
  std::string Name;
  StationSeries Series;         // days outside the season missing
  std::vector<bool> DaysTaken;  // in the season, with a daily depth and 24 observed hours
};

struct CalibrationCase {
  std::vector<CalibrationStation> Stations;
  HourlyValues Observed{};
  HourlyValues Weights{};  // DefaultWeights of the observed values, tempered by their years' errors
  RunOptions Options;      // seed, distance, adjustment; the repetitions come from the knobs
  int Seeds = 4;
  // A candidate may take at most this many times the start's work: a calibrated set must
  // stay quick to run, and the slow candidates are where a search's time would go. Winter
  // sets with long wet spells may need more to reach them.
  double SlowdownAllowed = 2;
  int Threads = 1;
  ThreadShare* Shared = nullptr;  // when set, the threads free in it instead of Threads
};

// The weight of each statistic's squared relative error in the objective: 3 (0.1 / t)^2,
// t being the error a user accepts in it relative to the observed value (the variance's 10 %).
HourlyValues DefaultWeights(const HourlyValues& observed);

// The stations of daily that have observed hours, with the days both hold in the months.
// Raises InvalidArgument when no station has a complete day of the season, naming it.
CalibrationCase MakeCalibrationCase(const std::vector<NamedSeries>& daily,
                                    const std::vector<StationHours>& observed, const Season& season);

// A candidate's pooled statistics and the work its disaggregation took: the RunCost of
// every run, which is what their processor time follows.
struct Disaggregation {
  HourlyValues Values{};
  double Work = 0;
  bool operator==(const Disaggregation&) const = default;
};

// Seeds first to first + count of every station. A candidate runs the first half of the
// seeds, then the rest; the sums of both halves are those of all seeds.
int FirstHalf(int seeds);
struct PartialRun {
  HourlySums Sums;
  double Work = 0;
  bool Failed = false;
};
PartialRun RunSeeds(const CalibrationCase& problem, const ModelParameters& parameters,
                    const RunOptions& options, int first, int count);

// The pooled statistics of every station disaggregated with each of the seeds; none when a
// wet sequence fails, as its hours would be missing from what the user gets.
std::optional<Disaggregation> Disaggregated(const CalibrationCase& problem, const ModelParameters& parameters,
                                            const RunOptions& options);

// sum of weight * (disaggregated / observed - 1)^2
double Objective(const HourlyValues& disaggregated, const HourlyValues& observed,
                 const HourlyValues& weights);

}  // namespace nimbra
