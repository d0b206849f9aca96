#include "disaggregation_job.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <tuple>

#include "berlin_july_set.h"

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
  ASSERT_FALSE(reports.empty());
  EXPECT_DOUBLE_EQ(reports.back().Done, 1.0);
  EXPECT_EQ(work.Stations, 1u);
  ASSERT_EQ(outcome.Hours.size(), 1u);
  EXPECT_EQ(static_cast<std::int64_t>(outcome.Hours[0].size()), 24 * work.Days);
  EXPECT_TRUE(fs::exists(request_.Output + ".json"));
}

// Two parameter sets with their own repetitions run a station in two parts, and missing
// days take no work: each day still counts once, and the counts only grow.
TEST_F(DisaggregationJobTest, ProgressWithinAStationCountsEachDayOnce) {
  std::ofstream(request_.Input = (folder_ / "daily.csv").string())
      << "station,date,precip_mm\nS,2010-06-29,4\nS,2010-06-30,NA\nS,2010-07-01,2.5\nS,2010-07-02,0\n";
  const std::string set = kBerlinJulyValues;
  std::ofstream(request_.Parameters = (folder_ / "params.csv").string())
      << "season,lambda,kappa,phi,alpha,nu,mu_x,sigma_x,calibrated,rep_factor,rep_min\n6," << set
      << ",yes,1,1\n7," << set << ",no,,\n";
  std::vector<ProgressCounts> reports;
  RunDisaggregationJob(request_, JobControl{},
                       {log_, messages_, [&](const ProgressCounts& c) { reports.push_back(c); }});
  ASSERT_FALSE(reports.empty());
  for (std::size_t k = 1; k < reports.size(); ++k) EXPECT_GE(reports[k].DaysDone, reports[k - 1].DaysDone);
  const ProgressCounts& last = reports.back();
  EXPECT_EQ(std::tie(last.Stations, last.StationsDone, last.Days, last.DaysDone),
            std::make_tuple(std::size_t{1}, std::size_t{1}, std::int64_t{4}, std::int64_t{4}));
}

}  // namespace
}  // namespace nimbra
