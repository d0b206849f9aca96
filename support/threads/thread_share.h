#pragma once
// Threads shared by tasks that run at once, each on a thread of its own: a task that could
// use more takes those that are free when it starts a step, and gives them back after it.
// When tasks end, their threads go to the tasks still running, so the last, longest task
// does not run alone on one thread while the others stand idle.

#include <algorithm>
#include <mutex>

namespace nimbra {

class ThreadShare {
 public:
  explicit ThreadShare(int threads) : free_(std::max(threads, 1)) {}

  // A task begins or ends on a thread of its own.
  void Begin() { Change(-1); }
  void End() { Change(+1); }

  // The threads a step of a running task may use while the lease lasts: its own, and up to
  // wanted - 1 free ones.
  class Lease {
   public:
    Lease(ThreadShare& share, int wanted) : share_(share), threads_(share.Take(wanted)) {}
    ~Lease() { share_.Change(threads_ - 1); }
    Lease(const Lease&) = delete;
    Lease& operator=(const Lease&) = delete;
    int Threads() const { return threads_; }

   private:
    ThreadShare& share_;
    int threads_;
  };

 private:
  int Take(int wanted) {
    std::lock_guard lock(mutex_);
    const int extra = std::max(std::min(wanted - 1, free_), 0);
    free_ -= extra;
    return 1 + extra;
  }

  void Change(int by) {
    std::lock_guard lock(mutex_);
    free_ += by;
  }

  std::mutex mutex_;
  int free_;
};

}  // namespace nimbra
