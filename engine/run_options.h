#pragma once
// How a run disaggregates: the repetition settings, the adjustment, the calendar of
// the classic input file, the seed and the detail of the log.

#include <atomic>
#include <cstdint>

#include "errors.h"

namespace nimbra {

struct RunOptions {
  int RandomSeed = 0;
  bool PerformAdjustment = true;
  int RepLevel1Factor = 20;
  int RepLevel1Min = 50;
  int RepAllowed = 5000;
  double RepDistanceAllowed = 0.1;
  int DaysPerMonth = 31;
  int DetailLevel = 0;  // 0 to 3: progress, storm numbers, cell details
  bool UseConstLength = false;
  int ConstLength = 1;
  // Cores one run may use for its random numbers; a run's results never depend on it.
  int Threads = 1;
  // Set by a caller that wants the run to end: the searches and repetitions check it and
  // raise Stopped, which ends a station run.
  const std::atomic<bool>* Stop = nullptr;
  // Where a caller counts the days with a depth that a run has finished (missing days
  // take no work), so that it can show progress inside one long station; several runs
  // may share it.
  std::atomic<std::int64_t>* DaysDone = nullptr;

  bool operator==(const RunOptions&) const = default;
};

inline void ThrowIfStopped(const RunOptions& options) {
  if (options.Stop && options.Stop->load(std::memory_order_relaxed)) throw Stopped();
}

inline void CountDaysDone(const RunOptions& options, std::int64_t days) {
  if (options.DaysDone) options.DaysDone->fetch_add(days, std::memory_order_relaxed);
}

}  // namespace nimbra
