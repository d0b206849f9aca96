#pragma once
// The engine's workings: one state, one random generator, the two outlets it reports
// through, and every stage of a step. Only the engine's own sources, its public
// front (engine.h, station_run.h) and the tests include this header; front ends use
// the Engine of engine.h. Each concern lives in its own source file.

#include <array>

#include "engine_state.h"
#include "input_header.h"
#include "output_log.h"
#include "random.h"
#include "storms_drawn.h"
#include "user_interface.h"

namespace nimbra {

enum class WetDryMode { OpenRun = 0, ExactRun = 1, SplitPoint = 2 };

inline constexpr int kSplitDepthLimit = 50;
inline constexpr const char* kImpossibleStorm =
    "Impossible to construct a storm with the desired properties\r\nSubsequent results can be incorrect";

// Shown when a target's repetitions failed at the split depth limit. One text for
// every case, so that a front end can count its repeats.
inline constexpr const char* kNearestStormsKept =
    "No storm set came within the distance allowed\r\nThe nearest one was kept";

class EngineCore {
 public:
  EngineCore(OutputLog& log, UserInterface& ui) : log_(log), ui_(ui) {}
  EngineCore(const EngineCore&) = delete;
  EngineCore& operator=(const EngineCore&) = delete;

  EngineState& State() { return state_; }
  const EngineState& State() const { return state_; }
  RandomGenerator& Random() { return random_; }
  UserInterface& Ui() { return ui_; }
  // The storms drawn since the core was made.
  const StormsDrawn& Drawn() const { return drawn_; }

  // Setup. Setting parameters or options also derives what depends on them: the
  // intensity choice and the print flags.
  void SetDefaults();
  void SetParameters(const ModelParameters& parameters);
  void SetOptions(const RunOptions& options);
  void InitialiseRun();
  void UpdateStormRates();
  // After a test has changed MuX or SigmaX in place.
  void UpdateIntensityChoice();
  // Refuses rates that would make the generator compute garbage or never stop.
  void CheckModelParameters() const;

  // Storms and depths.
  double FirstStormOrigin();
  double NextStormOrigin(double t);
  void GenerateStorm(Storm& storm, bool gammaIntensity, double t);
  double DrawIntensity(bool gammaIntensity);
  void RegenerateIntensities(bool gammaIntensity);
  static void ComputeDailyDepths(const StormSet& set, DailySeries& out, int n);
  static void ComputeHourlyDepths(const StormSet& set, HourlySeries& out, int n);
  static void SumHourlyToDaily(const HourlySeries& hourly, DailySeries& daily);

  // Wet/dry search.
  void SeekWetDrySequence(int& N, bool split);
  bool CheckWetDrySequence(int& N, WetDryMode mode);

  // Repetitions and adjustment.
  double LogDistance(int from, int to) const;
  bool RepeatSequence();
  void SplitAndRepeat();
  void FinishSequence();
  static void MergeStormSets(const StormSet& first, const StormSet& second, int shift, StormSet& out);
  static void SplitDaily(const DailySeries& saved, int n, DailySeries& first, DailySeries& second);
  static void JoinDaily(const DailySeries& first, const DailySeries& second, DailySeries& out);

  // One sequence disaggregated: the repetitions, level 4 when they fail, and the
  // adjustment. The target becomes OriginalDaily; its hours end in SyntheticHourly.
  const HourlySeries& DisaggregateSequence(const DailySeries& target);

  // The step and the test-mode source of original sequences. NextSequence returns
  // false when the date-order check ended the step after its message; a command
  // running several steps stops there.
  bool NextSequence();
  void SynthesiseOriginal();

  // The daily input file. Reading a parameters line sets the parameters, restarts the
  // run and tells the user interface.
  void ReadInputHeader();
  void ReadNextRecord();
  void ReadNextWetSequence(HourlySeries& hourly, DailySeries& daily);

  // The dated input: back to its first day, and its next wet sequence.
  void RewindDatedInput();
  void ReadNextDatedSequence();

  // The hourly output file.
  void WriteHourlyOutput();

  // Run statistics. CollectAllValues returns false when the sequence is out of date
  // order, which ends the step.
  void CollectWetValues();
  bool CollectAllValues();
  void ComputeStatistics();
  void PrintStatistics();
  void ResetStatistics();

 private:
  bool GenerateAttempt(int N);
  void LogFoundSequence(int N);
  void TakeParameters(const ParametersLine& line);
  int LevelOneRepetitionsAllowed() const;
  void KeepNearestStorms();
  void NewTarget(const DailySeries& target);
  void SplitAndRepeatAt(int depth);
  double SynthesiseOpenRun(int& N);
  void RepeatOrSplit(int depth);
  void SplitWithOneRetry();
  void TakeMonthParameters(int month);
  void TakeDatedDays(std::size_t first, std::size_t end);

  EngineState state_;
  RandomGenerator random_;
  OutputLog& log_;
  UserInterface& ui_;
  StormsDrawn drawn_;
};

}  // namespace nimbra
