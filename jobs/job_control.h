#pragma once
// What a front end hands a long job: a flag it may raise from another thread to stop
// the job, a place for the job's progress and one for its messages to the user. The job
// checks the flag between units of work (a station, a season, a candidate) and then raises
// Stopped, leaving no output file behind; progress and messages arrive on the job's own
// thread.

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
  explicit JobControl(std::function<void(const JobProgress&)> report,
                      std::function<void(const std::string&)> tell = {})
      : report_(std::move(report)), tell_(std::move(tell)) {}

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
  // A line for the user (a warning, a station's summary), without its line end.
  void Tell(const std::string& line) const {
    if (tell_) tell_(line);
  }

 private:
  std::function<void(const JobProgress&)> report_;
  std::function<void(const std::string&)> tell_;
  std::atomic<bool> cancelled_ = false;
};

}  // namespace nimbra
