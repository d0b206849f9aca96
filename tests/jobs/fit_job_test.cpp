#include "fit_job.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

namespace nimbra {
namespace {

namespace fs = std::filesystem;

// A cancel from another thread ends a season's search, hours from its end, soon, and leaves
// no file. The bound is loose for a sanitizer build on a busy machine.
TEST(FitJob, ACancelEndsTheSearchSoonAndLeavesNoFile) {
  const fs::path folder = fs::temp_directory_path() / ("nimbra_fit_job_" + std::to_string(::getpid()));
  fs::create_directories(folder);
  FitRequest request;
  request.Input = NIMBRA_EXAMPLES_DIR "/berlin_tempelhof_july_hourly.csv";
  request.Output = (folder / "params.csv").string();
  request.Search.LocalEvaluations = 100'000'000;
  JobControl control;
  std::thread canceller([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    control.Cancel();
  });
  const auto cancelled = std::chrono::steady_clock::now() + std::chrono::milliseconds(300);
  EXPECT_THROW(RunFitJob(request, control), Stopped);
  EXPECT_LT(std::chrono::steady_clock::now() - cancelled, std::chrono::seconds(10));
  canceller.join();
  EXPECT_TRUE(fs::is_empty(folder));
  fs::remove_all(folder);
}

}  // namespace
}  // namespace nimbra
