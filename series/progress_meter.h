#pragma once
// Progress of a run over many stations on standard error: stations done of all, days
// done, time elapsed and the time left at the pace so far. On a terminal the line is
// redrawn in place; otherwise a plain line is written every few seconds. Short runs
// show nothing.

#include <chrono>
#include <cstdint>
#include <ostream>
#include <string>

namespace nimbra {

struct ProgressCounts {
  std::size_t Stations = 0;
  std::size_t StationsDone = 0;
  std::int64_t Days = 0;
  std::int64_t DaysDone = 0;
};

// "12/100 stations, 438000/3650000 days, 0:01:05 elapsed, about 0:07:56 left"
std::string ProgressLine(const ProgressCounts& counts, std::chrono::seconds elapsed);

class ProgressMeter {
 public:
  ProgressMeter(std::ostream& out, bool terminal);
  void Update(const ProgressCounts& counts);
  // Shows the last counts unless they are shown, and ends a line drawn in place.
  void Finish();

 private:
  using Clock = std::chrono::steady_clock;
  void Show(Clock::time_point now);

  std::ostream& out_;
  bool terminal_;
  ProgressCounts counts_;
  Clock::time_point start_ = Clock::now();
  Clock::time_point shown_ = start_;
  bool drawn_ = false;
  bool current_ = false;  // the counts shown are the last ones
};

}  // namespace nimbra
