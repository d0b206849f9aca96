#include "interruptible_call.h"

#include <chrono>
#include <exception>
#include <future>
#include <thread>

namespace py = pybind11;

namespace nimbra {

namespace {

constexpr std::chrono::milliseconds kWakeUp{100};

// With the GIL: the hand-on, then the signal handlers; the error either raised, if any.
std::exception_ptr Tick(const std::function<void()>& tick) {
  py::gil_scoped_acquire acquire;
  try {
    if (tick) tick();
    if (PyErr_CheckSignals() != 0) throw py::error_already_set();
  } catch (...) {
    return std::current_exception();
  }
  return nullptr;
}

}  // namespace

void RunInterruptibly(std::atomic<bool>& stop, const std::function<void()>& work,
                      const std::function<void()>& tick) {
  std::exception_ptr failure, interruption;
  std::promise<void> finished;
  std::future<void> done = finished.get_future();
  {
    py::gil_scoped_release release;
    std::thread worker([&] {
      try {
        work();
      } catch (...) {
        failure = std::current_exception();
      }
      finished.set_value();
    });
    while (!interruption && done.wait_for(kWakeUp) != std::future_status::ready) interruption = Tick(tick);
    if (interruption) stop = true;
    worker.join();
  }
  if (interruption) std::rethrow_exception(interruption);
  if (tick) tick();
  if (failure) std::rethrow_exception(failure);
}

}  // namespace nimbra
