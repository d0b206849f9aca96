#pragma once
// Work items run on worker threads and come back in their order: the calling thread
// hands each result on as soon as it and every item before it are done. Workers run at
// most a window of items ahead of the last one handed on, so memory stays bounded by
// the threads, not by the number of items.

#include <condition_variable>
#include <cstddef>
#include <exception>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace nimbra {

template <class Result>
class OrderedPool {
 public:
  using Work = std::function<Result(std::size_t)>;
  using Deliver = std::function<void(std::size_t, Result&)>;

  // The first error of work or deliver ends the run: no further item starts, the workers
  // are joined and the error is thrown again.
  static void Run(std::size_t count, int threads, const Work& work, const Deliver& deliver) {
    if (threads <= 1) {
      for (std::size_t i = 0; i < count; ++i) {
        Result result = work(i);
        deliver(i, result);
      }
      return;
    }
    OrderedPool pool(count, static_cast<std::size_t>(threads), work);
    pool.Deliveries(deliver);
  }

 private:
  OrderedPool(std::size_t count, std::size_t threads, const Work& work)
      : count_(count), window_(2 * threads), work_(work), slots_(2 * threads) {
    for (std::size_t t = 0; t < threads; ++t) workers_.emplace_back([this] { Worker(); });
  }

  ~OrderedPool() {
    Stop(nullptr);
    for (std::thread& worker : workers_) worker.join();
  }

  void Worker() {
    for (;;) {
      std::size_t item = 0;
      {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return stop_ || next_ >= count_ || next_ < delivered_ + window_; });
        if (stop_ || next_ >= count_) return;
        item = next_++;
      }
      try {
        Result result = work_(item);
        std::lock_guard lock(mutex_);
        slots_[item % window_] = std::move(result);
      } catch (...) {
        Stop(std::current_exception());
      }
      changed_.notify_all();
    }
  }

  void Deliveries(const Deliver& deliver) {
    try {
      for (std::size_t item = 0; item < count_; ++item) {
        Result result = Take(item);
        deliver(item, result);
      }
    } catch (...) {
      Stop(std::current_exception());
    }
    if (failure_) {
      Stop(nullptr);
      for (std::thread& worker : workers_) worker.join();
      workers_.clear();
      std::rethrow_exception(failure_);
    }
  }

  Result Take(std::size_t item) {
    std::unique_lock lock(mutex_);
    std::optional<Result>& slot = slots_[item % window_];
    changed_.wait(lock, [&] { return stop_ || slot.has_value(); });
    if (stop_) std::rethrow_exception(failure_);
    Result result = std::move(*slot);
    slot.reset();
    ++delivered_;
    changed_.notify_all();
    return result;
  }

  void Stop(std::exception_ptr failure) {
    {
      std::lock_guard lock(mutex_);
      if (failure && !failure_) failure_ = failure;
      stop_ = true;
    }
    changed_.notify_all();
  }

  const std::size_t count_;
  const std::size_t window_;
  const Work& work_;
  std::vector<std::optional<Result>> slots_;
  std::vector<std::thread> workers_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::size_t next_ = 0;
  std::size_t delivered_ = 0;
  bool stop_ = false;
  std::exception_ptr failure_;
};

}  // namespace nimbra
