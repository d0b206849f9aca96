#include "step_runner.h"

#include <exception>

#include "engine_edits.h"
#include "errors.h"
#include "step_loop.h"

namespace nimbra {

StepRunner::StepRunner(Engine& engine, QObject* parent) : QObject(parent), engine_(engine) {}

StepRunner::~StepRunner() {
  Stop();
  if (worker_.joinable()) worker_.join();
}

// The engine holds the stop flag from the first run on; it is clear between runs.
void StepRunner::Start(int count) {
  Join();
  stop_ = false;
  EditOptions(engine_, [this](RunOptions& options) { options.Stop = &stop_; });
  worker_ = std::thread([this, count] { Work(count); });
}

void StepRunner::Stop() {
  const std::lock_guard lock(mutex_);
  stop_ = true;
  released_.notify_all();
}

void StepRunner::Release() {
  const std::lock_guard lock(mutex_);
  waiting_ = false;
  released_.notify_all();
}

void StepRunner::Work(int count) {
  StepLoop loop(count, AtFailure::Stop);
  bool abandoned = false;
  while (!stop_ && loop.WantsStep(engine_)) {
    const StepResult result = GuardedStep();
    abandoned = AbandonedByStop(result);
    if (abandoned) break;
    loop.Took(result);
    HandOver(loop.Steps(), count, result);
  }
  const int done = loop.Steps();
  inbox_.Post([this, done, abandoned] {
    Join();
    emit Finished(done, abandoned);
  });
}

// An exception must not end the worker thread: it ends the step as a failure does.
StepResult StepRunner::GuardedStep() {
  try {
    return engine_.Step();
  } catch (const std::exception& error) {
    return {StepOutcome::Failed, error.what()};
  }
}

bool StepRunner::AbandonedByStop(const StepResult& result) const {
  return stop_ && result.Outcome == StepOutcome::Failed && result.Message == Stopped().what();
}

void StepRunner::HandOver(int done, int count, const StepResult& result) {
  std::unique_lock lock(mutex_);
  waiting_ = true;
  inbox_.Post([this, done, count, result] { emit StepDone(done, count, result); });
  released_.wait(lock, [this] { return !waiting_ || stop_; });
}

void StepRunner::Join() {
  if (worker_.joinable()) worker_.join();
}

}  // namespace nimbra
