#include "indexed_work.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <thread>
#include <vector>

namespace nimbra {

void RunEachIndex(std::size_t count, int threads, const std::function<void(std::size_t)>& work) {
  std::vector<std::exception_ptr> failures(count);
  std::atomic<std::size_t> next = 0;
  std::atomic<bool> failed = false;
  const auto worker = [&] {
    for (std::size_t i = next++; i < count && !failed; i = next++) {
      try {
        work(i);
      } catch (...) {
        failures[i] = std::current_exception();
        failed = true;
      }
    }
  };
  const auto helpers = std::clamp<std::size_t>(static_cast<std::size_t>(std::max(threads, 1)), 1,
                                               std::max<std::size_t>(count, 1)) -
                       1;
  std::vector<std::thread> started;
  for (std::size_t t = 0; t < helpers; ++t) started.emplace_back(worker);
  worker();
  for (std::thread& thread : started) thread.join();
  for (const std::exception_ptr& failure : failures) {
    if (failure) std::rethrow_exception(failure);
  }
}

}  // namespace nimbra
