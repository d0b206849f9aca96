#include "disaggregation_job.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

namespace nimbra {
namespace {

namespace fs = std::filesystem;

const std::string kExamples = NIMBRA_EXAMPLES_DIR;

class DisaggregationJobTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() /
              ("nimbra_jobs_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(folder_);
    request_.Input = kExamples + "/berlin_tempelhof_july_daily.csv";
    request_.Parameters = kExamples + "/berlin_tempelhof_july_params.csv";
    request_.Output = (folder_ / "hourly.csv").string();
    request_.Report = (folder_ / "report.csv").string();
  }
  void TearDown() override { fs::remove_all(folder_); }

  bool FolderEmpty() const { return fs::is_empty(folder_); }

  fs::path folder_;
  DisaggregationRequest request_;
  std::ostringstream log_, messages_;
};

TEST_F(DisaggregationJobTest, ACancelLeavesNoFileNotEvenAHiddenOne) {
  JobControl control;
  control.Cancel();
  EXPECT_THROW(RunDisaggregationJob(request_, control, {log_, messages_}), Stopped);
  EXPECT_TRUE(FolderEmpty());
}

TEST_F(DisaggregationJobTest, AChosenStationMissingFromTheFileStopsTheRunBeforeAnyFile) {
  request_.Stations = {"Tempelhof", "Nowhere"};
  try {
    DisaggregationJob job(request_, {log_, messages_});
    FAIL() << "the job started";
  } catch (const InvalidArgument& e) {
    EXPECT_EQ(std::string(e.what()), request_.Input + ": no station 'Nowhere'");
  }
  EXPECT_TRUE(FolderEmpty());
}

TEST_F(DisaggregationJobTest, ProgressCountsEveryDayOnceAndKeepsTheHoursAsked) {
  request_.KeepHours = true;
  std::vector<JobProgress> reports;
  const JobControl control([&](const JobProgress& p) { reports.push_back(p); });
  DisaggregationJob job(request_, {log_, messages_});
  const ProgressCounts work = job.Work();
  const DisaggregationOutcome outcome = job.Run(control);
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_DOUBLE_EQ(reports.back().Done, 1.0);
  EXPECT_EQ(work.Stations, 1u);
  ASSERT_EQ(outcome.Hours.size(), 1u);
  EXPECT_EQ(static_cast<std::int64_t>(outcome.Hours[0].size()), 24 * work.Days);
  EXPECT_TRUE(fs::exists(request_.Output + ".json"));
}

}  // namespace
}  // namespace nimbra
