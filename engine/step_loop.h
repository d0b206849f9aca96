#pragma once
// How far a run of steps goes: the one rule of the command line and the desktop program. A
// run ends after its count of steps, or at the end of the input; the desktop program also
// ends it at a failed step or at dates going backwards, where the command line goes on, as a
// user pressing the button again would.

#include <optional>

#include "engine.h"

namespace nimbra {

enum class AtFailure { GoOn, Stop };

class StepLoop {
 public:
  // count: the steps to take at most; none takes steps until the input ends.
  StepLoop(std::optional<int> count, AtFailure atFailure) : count_(count), atFailure_(atFailure) {}

  bool WantsStep(const Engine& engine) const {
    return !stopped_ && !engine.View().EndOfInput && (!count_ || done_ < *count_);
  }

  void Took(const StepResult& result) {
    ++done_;
    const bool failed =
        result.Outcome == StepOutcome::Failed || result.Outcome == StepOutcome::StoppedByDateOrder;
    stopped_ = stopped_ || (failed && atFailure_ == AtFailure::Stop);
  }

  int Steps() const { return done_; }

 private:
  std::optional<int> count_;
  AtFailure atFailure_;
  int done_ = 0;
  bool stopped_ = false;
};

}  // namespace nimbra
