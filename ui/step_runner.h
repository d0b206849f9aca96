#pragma once
// A run of steps in a worker thread, so that the windows stay alive during it. After
// each step the worker hands the step's result to the windows' thread and waits until
// the windows have read what they show from the engine; the windows touch the engine
// only then and between runs. A stop reaches the engine's searches at once: the sequence
// under way is abandoned, so that it writes nothing, and every sequence before it stays.

#include <QObject>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "call_inbox.h"
#include "engine.h"

namespace nimbra {

class StepRunner : public QObject {
  Q_OBJECT

 public:
  explicit StepRunner(Engine& engine, QObject* parent = nullptr);
  // Stops a run still going and waits for it.
  ~StepRunner() override;

  // Up to count steps, ending early at a failed step, a step stopped by the date order,
  // the end of the input, or a stop.
  void Start(int count);
  void Stop();
  bool Running() const { return worker_.joinable(); }
  bool Stopping() const { return stop_; }

  // While StepDone is handled the worker waits; this lets it go on.
  void Release();

 signals:
  // On the windows' thread: done of count steps are over, the last with result. A step
  // abandoned by a stop is not handed over.
  void StepDone(int done, int count, const nimbra::StepResult& result);
  // On the windows' thread, after the worker has ended: done steps were completed, and
  // abandoned tells whether the stop cut the step after them short.
  void Finished(int done, bool abandoned);

 private:
  void Work(int count);
  StepResult GuardedStep();
  bool AbandonedByStop(const StepResult& result) const;
  void HandOver(int done, int count, const StepResult& result);
  void Join();

  Engine& engine_;
  CallInbox inbox_{this};
  std::thread worker_;
  std::atomic<bool> stop_ = false;
  std::mutex mutex_;
  std::condition_variable released_;
  bool waiting_ = false;
};

}  // namespace nimbra
