#include "progress_ticker.h"

namespace nimbra {

ProgressTicker::ProgressTicker(std::function<void()> tick, std::chrono::milliseconds period)
    : tick_(std::move(tick)), period_(period), thread_([this] { Loop(); }) {}

ProgressTicker::~ProgressTicker() {
  {
    std::lock_guard lock(mutex_);
    ending_ = true;
  }
  ended_.notify_all();
  thread_.join();
}

void ProgressTicker::Loop() {
  std::unique_lock lock(mutex_);
  while (!ended_.wait_for(lock, period_, [this] { return ending_; })) {
    lock.unlock();
    tick_();
    lock.lock();
  }
}

}  // namespace nimbra
