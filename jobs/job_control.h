#pragma once
// What a front end hands a long job: a flag it may raise from another thread to stop
// the job, and a place for the job's progress. The job checks the flag between units of
// work (a station, a season, a candidate) and then raises Stopped, leaving no output
// file behind; progress arrives on the job's own thread.

#include <atomic>
#include <functional>
#include <string>

#include "errors.h"

namespace nimbra {

struct JobProgress {
  std::string Text;  // "3/12 stations, 930/3720 days, 0:00:04 elapsed, about 0:00:12 left"
  double Done = 0;   // 0 to 1
};

class JobControl {
 public:
  JobControl() = default;
  explicit JobControl(std::function<void(const JobProgress&)> report) : report_(std::move(report)) {}

  void Cancel() { cancelled_ = true; }
  bool Cancelled() const { return cancelled_; }
  // Raises Stopped when the flag is up.
  void Check() const {
    if (cancelled_) throw Stopped();
  }
  // For a run's options, so that the engine stops within a sequence.
  const std::atomic<bool>* Flag() const { return &cancelled_; }
  void Report(const JobProgress& progress) const {
    if (report_) report_(progress);
  }

 private:
  std::function<void(const JobProgress&)> report_;
  std::atomic<bool> cancelled_ = false;
};

}  // namespace nimbra
