// A calibration and the station runs under it end with Stopped soon after their caller sets
// the stop flag, and a flag left unset changes nothing.

#include "table_calibration.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>

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
