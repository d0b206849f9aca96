#pragma once
// Everything the engine knows: the model parameters and run options as they were set,
// what the engine derives from them, the counters and flags of a run, the storm sets
// and depth series of the current sequence, and the collections of the run's
// statistics. Only the engine reads and writes it; front ends see a run through
// Engine::View().

#include <array>
#include <cstdint>
#include <iosfwd>
#include <limits>
#include <string>
#include <vector>

#include "collection_shortfall.h"
#include "input_records.h"
#include "model_parameters.h"
#include "random.h"
#include "run_options.h"
#include "statrec.h"
#include "storm_types.h"

namespace nimbra {

struct DatedInput;

inline constexpr int kWetValuesCapacity = kRecordSeriesSlots;
inline constexpr int kAllValuesCapacity = 200000;

// Where the reader of the input file stands; kept apart from the record's fields so
// that no day number in a file can be mistaken for it.
enum class ReaderState { NotStarted, Reading, Ended };

struct EngineState {
  ModelParameters Parameters;
  RunOptions Options;

  // Derived from the parameters and options whenever they change.
  bool GammaIntensity = false;
  bool PrintProgress = false;
  bool PrintStormNumbers = false;
  bool PrintCellDetails = false;
  // Rates of the storm being generated, 1/d.
  double Eta = 0;
  double Beta = 0;
  double Gamma = 0;

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
  // The set nearest the current target among the repetitions that failed, and its
  // distance.
  StormSet NearestStorms;
  double NearestDistance = std::numeric_limits<double>::infinity();
  // The largest distance of a set kept at the split depth limit since a caller reset it.
  double KeptDistance = 0;
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
  CollectionShortfall Shortfall;

  StatisticsSummary AllStatsOriginal;
  StatisticsSummary AllStatsSynthetic;
  StatisticsSummary WetDayStatsOriginal;
  StatisticsSummary WetDayStatsSynthetic;
  StatisticsSummary WetHourStatsOriginal;
  StatisticsSummary WetHourStatsSynthetic;

  // Files: opened and closed by the front end; the engine reads and appends.
  std::istream* InputFile = nullptr;
  std::string InputFileName;
  int SkipCount = 0;
  DailyRecord NextRecord;
  ReaderState Reader = ReaderState::NotStarted;
  // The reader's own bookkeeping between calls: the line of the input file it stands
  // in, to name it in messages; and whether the sequence delivered last was cut from a
  // wet run longer than a series holds, so that the next one goes on with that run.
  std::int64_t InputLine = 1;
  bool SplittingLongRun = false;
  // Whether a bad record ended the input before the end of the file, and whether the
  // user has heard that negative observed hours are read as dry.
  bool InputDropped = false;
  bool NegativeHourNoted = false;
  std::ostream* OutputFile = nullptr;
  std::string OutputFileName;

  // A dated input instead of the input file, held by the front end: the day its next
  // sequence is sought from, the dry hours before the sequence delivered last, the
  // serial day that sequence starts on, and the month whose set the run uses (0: none yet).
  const DatedInput* Dated = nullptr;
  std::size_t DatedDay = 0;
  long long DatedGapHours = 0;
  std::int64_t SequenceFirstDay = 0;
  int DatedSetMonth = 0;
  // Where each part's random stream stands, and the part the run draws for (-1: none yet).
  std::vector<RandomGenerator::Position> DatedStreams;
  int DatedPart = -1;
};

}  // namespace nimbra
