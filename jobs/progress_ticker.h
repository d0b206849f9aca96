#pragma once
// Calls a function every period on a thread of its own until it is destroyed, so that a
// job whose calling thread waits on one long station still shows its progress.

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace nimbra {

class ProgressTicker {
 public:
  ProgressTicker(std::function<void()> tick, std::chrono::milliseconds period);
  ~ProgressTicker();
  ProgressTicker(const ProgressTicker&) = delete;
  ProgressTicker& operator=(const ProgressTicker&) = delete;

 private:
  void Loop();

  std::function<void()> tick_;
  std::chrono::milliseconds period_;
  std::mutex mutex_;
  std::condition_variable ended_;
  bool ending_ = false;
  std::thread thread_;
};

}  // namespace nimbra
