#pragma once
// Everything the engine knows: model parameters, options, the counters and flags
// of a run, the storm sets and depth series of the current sequence, and the
// collections of the run's statistics. The windows read and write it directly.

#include <vector>

#include "storm_types.h"

namespace nimbra {

inline constexpr int kWetValuesCapacity = 50000;
inline constexpr int kAllValuesCapacity = 200000;

struct EngineState {
  // Model parameters. Time in days, depth in mm.
  double Lambda = 0;  // storm arrival rate, 1/d
  double Kappa = 0;   // beta/eta
  double Phi = 0;     // gamma/eta
  double Alpha = 0;   // shape of eta's gamma distribution
  double Nu = 0;      // rate of eta's gamma distribution, d; eta itself (1/d) when Alpha >= 100
  double MuX = 0;     // mean cell intensity, mm/d
  double SigmaX = 0;  // standard deviation of cell intensity, mm/d

  // Rates of the storm being generated, 1/d.
  double Eta = 0;
  double Beta = 0;
  double Gamma = 0;

  int DaysPerMonth = 0;
  int RandomSeed = 0;
  bool PerformAdjustment = false;
  bool GammaIntensity = false;
  int RepLevel1Factor = 0;
  int RepLevel1Min = 0;
  int RepAllowed = 0;
  double RepDistanceAllowed = 0;
  bool PrintProgress = false;
  bool PrintStormNumbers = false;
  bool PrintCellDetails = false;
  bool UseConstLength = false;
  int ConstLength = 0;

  // The run.
  int SequenceNumber = 0;
  int Attempts = 0;
  bool ReadFromFile = false;
  bool WriteToFile = false;
  bool OriginalHourlyAvailable = false;
  bool EndOfInput = false;
  SequenceDate PreviousStart;
  SequenceDate SequenceStart;
  SequenceDate NextStart;
  int PreviousDays = 0;

  StormSet Storms;
  StormSet OriginalStorms;
  DailySeries OriginalDaily;
  DailySeries SyntheticDaily;
  HourlySeries OriginalHourly;
  HourlySeries SyntheticHourly;

  // The run's collections: hourly depths of every sequence as records, and all
  // hours in time order with the dry hours between sequences.
  std::vector<double> WetValuesOriginal = std::vector<double>(kWetValuesCapacity);
  std::vector<double> WetValuesSynthetic = std::vector<double>(kWetValuesCapacity);
  std::vector<double> AllValuesOriginal = std::vector<double>(kAllValuesCapacity);
  std::vector<double> AllValuesSynthetic = std::vector<double>(kAllValuesCapacity);
  int AllValuesCount = 0;
};

}  // namespace nimbra
