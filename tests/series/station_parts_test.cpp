#include <gtest/gtest.h>

#include <cmath>
#include <numeric>

#include "berlin_july_set.h"
#include "date_time_text.h"
#include "parameter_table.h"
#include "series_files.h"
#include "station_batch.h"
#include "station_seed.h"

namespace nimbra {
namespace {

using RepetitionColumns = SeriesFiles;

const std::string kHeader = "season,lambda,kappa,phi,alpha,nu,mu_x,sigma_x,calibrated,rep_factor,rep_min\n";
const std::string kSet = kBerlinJulyValues;

// June and July 2010 with a wet spell every week.
NamedSeries JuneAndJuly() {
  NamedSeries station{"S", {*ParseDate("2010-06-01"), std::vector<double>(61, 0.0), {}}};
  for (std::size_t day = 0; day < station.Series.Daily.size(); day += 7) {
    station.Series.Daily[day] = 12.5;
    station.Series.Daily[day + 1] = 3.2;
  }
  return station;
}

std::vector<double> HoursOfDays(const std::vector<double>& hours, std::size_t first, std::size_t days) {
  return {hours.begin() + static_cast<std::ptrdiff_t>(first * 24),
          hours.begin() + static_cast<std::ptrdiff_t>((first + days) * 24)};
}

TEST_F(RepetitionColumns, EachSetRunsItsMonthsWithItsOwnRepetitions) {
  const auto path = Write("p.csv", kHeader + "6," + kSet + ",yes,1,1\n7," + kSet + ",no,,\n");
  const ParameterTable table = ParameterTable::Read(path);
  EXPECT_TRUE(table.Rows()[0].Calibrated);
  EXPECT_FALSE(table.Rows()[1].Calibrated);
  const std::vector<NamedSeries> stations = {JuneAndJuly()};
  const StationJob job = PlanStations(stations, table, RunOptions{}).front();
  ASSERT_EQ(job.Parts.size(), 2u);
  EXPECT_EQ(job.Parts[0].Months, MonthBit(6));
  EXPECT_EQ(job.Parts[0].Options.RepLevel1Factor, 1);
  EXPECT_EQ(job.Parts[0].Options.RepLevel1Min, 1);
  RunOptions julyOptions = job.Options;
  julyOptions.RandomSeed = PartSeed(job.Options.RandomSeed, 1);
  EXPECT_EQ(job.Parts[1].Options, julyOptions);

  const StationResult whole = RunStationJob(job).Result;
  const StationSeries& series = stations[0].Series;
  const StationResult june =
      DisaggregateStation(KeepMonths(series, MonthBit(6)), job.Parameters, job.Parts[0].Options);
  const StationResult july =
      DisaggregateStation(KeepMonths(series, MonthBit(7)), job.Parameters, job.Parts[1].Options);
  EXPECT_EQ(HoursOfDays(whole.Hourly, 0, 30), HoursOfDays(june.Hourly, 0, 30));
  EXPECT_EQ(HoursOfDays(whole.Hourly, 30, 31), HoursOfDays(july.Hourly, 30, 31));
  EXPECT_EQ(whole.Sequences, june.Sequences + july.Sequences);
  for (std::size_t day = 0; day < series.Daily.size(); ++day) {
    const std::vector<double> hours = HoursOfDays(whole.Hourly, day, 1);
    EXPECT_NEAR(std::accumulate(hours.begin(), hours.end(), 0.0), series.Daily[day], 1e-9) << "day " << day;
  }
}

TEST_F(RepetitionColumns, OptionsGivenWinAndOneSettingRunsTheStationWhole) {
  const auto path = Write("p.csv", kHeader + "6," + kSet + ",yes,1,1\n7," + kSet + ",yes,1,1\n");
  const ParameterTable table = ParameterTable::Read(path);
  const std::vector<NamedSeries> stations = {JuneAndJuly()};
  const StationJob fromFile = PlanStations(stations, table, RunOptions{}).front();
  EXPECT_TRUE(fromFile.Parts.empty());
  EXPECT_EQ(fromFile.Options.RepLevel1Factor, 1);
  EXPECT_EQ(fromFile.Options.RepLevel1Min, 1);

  RunOptions given;
  given.RepLevel1Factor = 3;
  const StationJob overridden = PlanStations(stations, table, given, {true, false}).front();
  EXPECT_TRUE(overridden.Parts.empty());
  EXPECT_EQ(overridden.Options.RepLevel1Factor, 3);
  EXPECT_EQ(overridden.Options.RepLevel1Min, 1);
  EXPECT_NE(RunStationJob(fromFile).Result.Hourly, RunStationJob(overridden).Result.Hourly);
}

// The same wet day in June and in July, run by two parts whose settings differ only past the
// thousandth repetition: drawn from one stream, both days would get the same hours.
TEST_F(RepetitionColumns, EachPartDrawsFromItsOwnStream) {
  const auto path = Write("p.csv", kHeader + "6," + kSet + ",yes,1,1000\n7," + kSet + ",yes,2,1000\n");
  NamedSeries station{"S", {*ParseDate("2010-06-01"), std::vector<double>(61, 0.0), {}}};
  station.Series.Daily[9] = station.Series.Daily[39] = 8.0;  // 2010-06-10 and 2010-07-10
  const std::vector<NamedSeries> stations = {station};
  const StationJob job = PlanStations(stations, ParameterTable::Read(path), RunOptions{}).front();
  ASSERT_EQ(job.Parts.size(), 2u);
  const StationResult result = RunStationJob(job).Result;
  EXPECT_NE(HoursOfDays(result.Hourly, 9, 1), HoursOfDays(result.Hourly, 39, 1));
}

}  // namespace
}  // namespace nimbra
