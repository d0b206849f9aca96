#pragma once
// Long compiled work run so that Ctrl-C reaches Python at once: the work runs on a thread
// of its own while the calling thread, the one Python delivers signals to, wakes every
// tenth of a second with the GIL to check for signals and to hand on what the work
// reported. On a signal, or an error of a hand-on, the work is told to stop and joined, and
// the Python error is raised.

#include <pybind11/pybind11.h>

#include <atomic>
#include <functional>

namespace nimbra {

// work must end soon after stop is set; tick runs on the calling thread with the GIL held, on
// each wake-up and once at the end.
void RunInterruptibly(std::atomic<bool>& stop, const std::function<void()>& work,
                      const std::function<void()>& tick = {});

// A stop that Python code sets, shared by the calls it hands to other threads.
struct StopFlag {
  std::atomic<bool> Value{false};
};

}  // namespace nimbra
