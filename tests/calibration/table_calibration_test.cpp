// Seasons calibrated at once give what each gives alone; a calibration and the station runs
// under it end with Stopped soon after their caller sets the stop flag, and a flag left
// unset changes nothing.

#include "table_calibration.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <set>

#include "errors.h"

namespace nimbra {
namespace {

const std::string kExamples = NIMBRA_EXAMPLES_DIR;

CalibrationPeriod TwoJulys() {
  CalibrationPeriod period{"daily.csv", "hourly.csv",
                           ReadDailyCsv(kExamples + "/berlin_tempelhof_july_daily.csv", {}),
                           ReadHourlyCsv(kExamples + "/berlin_tempelhof_july_hourly.csv", {})};
  for (NamedSeries& station : period.Daily) station.Series.Daily.resize(366 + 31);  // July 2000 to July 2001
  return period;
}

TableCalibrationSettings Small(const std::atomic<bool>* stop) {
  TableCalibrationSettings settings;
  settings.Seeds = 2;
  settings.Evaluations = 6;
  settings.Run.Stop = stop;
  return settings;
}

// Two stations, each with its own season of the same July set.
ParameterTable TwoSeasons(const std::filesystem::path& dir) {
  const ParameterTable july = ParameterTable::Read(kExamples + "/berlin_tempelhof_july_params.csv");
  const ModelParameters& p = july.Rows().front().Parameters;
  std::ofstream out(dir / "two_seasons.csv");
  out << "station,season,months,lambda,kappa,phi,alpha,nu,mu_x,sigma_x\n";
  for (const char* season : {"Tempelhof,a", "Copy,b"}) {
    out << season << ",7," << p.Lambda << ',' << p.Kappa << ',' << p.Phi << ',' << p.Alpha << ',' << p.Nu
        << ',' << p.MuX << ',' << p.SigmaX << '\n';
  }
  out.close();
  return ParameterTable::Read((dir / "two_seasons.csv").string());
}

TEST(TableCalibration, SeasonsCalibratedAtOnceGiveWhatEachGivesAlone) {
  const auto dir = std::filesystem::path(::testing::TempDir()) / "seasons_at_once";
  std::filesystem::create_directories(dir);
  const ParameterTable table = TwoSeasons(dir);
  CalibrationPeriod period = TwoJulys();
  period.Daily.push_back({"Copy", period.Daily.front().Series});
  period.Observed.push_back(period.Observed.front());
  period.Observed.back().Station = "Copy";
  TableCalibrationSettings settings = Small(nullptr);
  settings.Threads = 2;
  std::set<std::string> reporting;
  const auto together = CalibrateTable(
      table, period, settings,
      [&](const std::string& season, const CalibrationEvaluation&) { reporting.insert(season); });
  EXPECT_EQ(reporting, (std::set<std::string>{"a", "b"}));
  for (const std::size_t row : {0U, 1U}) {
    settings.Threads = 1;
    settings.Seasons = {table.Rows()[row].Season.Name};
    const auto alone = CalibrateTable(table, period, settings);
    ASSERT_TRUE(together[row].Result && alone[row].Result);
    EXPECT_EQ(together[row].Result->Best, alone[row].Result->Best);
    EXPECT_EQ(together[row].Result->After, alone[row].Result->After);
  }
}

TEST(TableCalibration, EndsWithStoppedOnceItsFlagIsSetAndIsTheSameWithTheFlagUnset) {
  const ParameterTable table = ParameterTable::Read(kExamples + "/berlin_tempelhof_july_params.csv");
  const CalibrationPeriod period = TwoJulys();
  std::atomic<bool> stop{false};
  const auto unset = CalibrateTable(table, period, Small(&stop));
  const auto plain = CalibrateTable(table, period, Small(nullptr));
  ASSERT_TRUE(unset.front().Result && plain.front().Result);
  EXPECT_EQ(unset.front().Result->Best, plain.front().Result->Best);
  EXPECT_EQ(unset.front().Result->After, plain.front().Result->After);
  // Set during the first stage and during the optimiser's search, whose errors are its own.
  for (const int setAt : {1, 7}) {
    stop = false;
    int candidates = 0;
    EXPECT_THROW(CalibrateTable(table, period, Small(&stop),
                                [&](const std::string&, const CalibrationEvaluation& e) {
                                  candidates = e.Number;
                                  if (e.Number == setAt) stop = true;
                                }),
                 Stopped);
    EXPECT_EQ(candidates, setAt);
  }
}

TEST(TableCalibration, AStationRunEndsWithStoppedWhenItsFlagIsSet) {
  const CalibrationPeriod period = TwoJulys();
  ParametersByMonth parameters;
  parameters.fill(
      ParameterTable::Read(kExamples + "/berlin_tempelhof_july_params.csv").Rows().front().Parameters);
  const std::atomic<bool> stop{true};
  RunOptions options;
  options.Stop = &stop;
  EXPECT_THROW(DisaggregateStation(period.Daily.front().Series, parameters, options), Stopped);
}

}  // namespace
}  // namespace nimbra
