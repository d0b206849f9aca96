// The one-station call: the hours a classic file run gives, wet runs broken at missing
// days, and threads that do not disturb each other.

#include "station_run.h"

#include <gtest/gtest.h>
#include <pthread.h>

#include <atomic>
#include <cmath>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <thread>

#include "civil_date.h"
#include "format.h"

namespace nimbra {
namespace {

const std::string kJulyFile = NIMBRA_TEST_DATA_DIR "/berlin_tempelhof_july_2000_2019.txt";
const std::string kGolden = NIMBRA_GOLDEN_DIR;

struct ClassicFile {
  ModelParameters parameters;
  StationSeries series;
};

// Reads a classic file of "Day Month Year Depth h1..h24" records after its header and
// parameters lines; days the file does not hold are missing.
ClassicFile ReadClassic(const std::string& path) {
  std::ifstream in(path);
  std::string line;
  std::getline(in, line);
  ClassicFile file;
  int daysPerMonth = 0;
  char letter = 0;
  auto& p = file.parameters;
  in >> letter >> daysPerMonth >> p.Lambda >> p.Kappa >> p.Phi >> p.Alpha >> p.Nu >> p.MuX >> p.SigmaX;
  std::map<std::int64_t, double> depths;
  int day = 0, month = 0, year = 0;
  double depth = 0, hour = 0;
  while (in >> day >> month >> year >> depth) {
    depths[DaysFromCivil({year, month, day})] = depth;
    for (int h = 0; h < 24; ++h) in >> hour;
  }
  file.series.FirstDay = depths.begin()->first;
  file.series.Daily.assign(static_cast<std::size_t>(depths.rbegin()->first - file.series.FirstDay + 1), NAN);
  for (const auto& [serial, value] : depths)
    file.series.Daily[static_cast<std::size_t>(serial - file.series.FirstDay)] = value;
  return file;
}

std::vector<std::string> Tokens(const std::string& path) {
  std::ifstream in(path);
  std::vector<std::string> tokens;
  for (std::string token; in >> token;) tokens.push_back(token);
  return tokens;
}

std::vector<std::string> LogLines(const std::string& path) {
  std::ifstream in(path);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

ParametersByMonth Everywhere(const ModelParameters& parameters) {
  ParametersByMonth months;
  months.fill(parameters);
  return months;
}

// Equal hour by hour, a missing hour matching only a missing hour.
bool SameHours(const std::vector<double>& x, const std::vector<double>& y) {
  return std::equal(x.begin(), x.end(), y.begin(), y.end(),
                    [](double u, double v) { return u == v || (std::isnan(u) && std::isnan(v)); });
}

TEST(StationRun, GivesTheHoursAndLogOfTheClassicFileRun) {
  const ClassicFile july = ReadClassic(kJulyFile);
  RunOptions options;
  options.RandomSeed = 4;
  const StationResult result = DisaggregateStation(july.series, Everywhere(july.parameters), options);
  EXPECT_TRUE(result.Failed.empty());

  // The golden file: per wet day its date, total and 24 hours with two decimals.
  const auto golden = Tokens(kGolden + "/berlin_july.hourly.txt");
  std::size_t token = 0;
  for (std::size_t day = 0; day < july.series.Daily.size(); ++day) {
    if (!(july.series.Daily[day] >= kWetDayDepth)) continue;
    ASSERT_LT(token + 27, golden.size() + 1);
    token += 4;
    for (std::size_t h = 0; h < 24; ++h, ++token) {
      ASSERT_EQ(FormatFixed2(result.Hourly[24 * day + h], "."), golden[token])
          << "day " << day << " hour " << h;
    }
  }
  EXPECT_EQ(token, golden.size());
  // The classic log goes on with the step that finds the end of the input and the report.
  const auto log = LogLines(kGolden + "/berlin_july.log");
  ASSERT_LT(result.Log.size(), log.size());
  EXPECT_EQ(result.Log,
            std::vector<std::string>(log.begin(), log.begin() + static_cast<long>(result.Log.size())));
  EXPECT_EQ(log[result.Log.size()], "Sequence #" + std::to_string(result.Sequences + 1));
}

TEST(StationRun, MissingDaysBreakWetRunsAndStayMissing) {
  const ClassicFile july = ReadClassic(kJulyFile);
  StationSeries series{DaysFromCivil({2000, 7, 1}), {0, 5, 12, NAN, 7, 3, 0, -1}, {}};
  std::atomic<std::int64_t> daysDone = 0;
  RunOptions options;
  options.DaysDone = &daysDone;
  const StationResult result = DisaggregateStation(series, Everywhere(july.parameters), options);
  EXPECT_EQ(result.Sequences, 2);
  EXPECT_EQ(daysDone, 7) << "every day with a depth counts once, the missing one not";
  for (std::size_t day = 0; day < series.Daily.size(); ++day) {
    double total = 0;
    for (std::size_t h = 0; h < 24; ++h) {
      const double hour = result.Hourly[24 * day + h];
      if (day == 3) {
        EXPECT_TRUE(std::isnan(hour));
      } else {
        EXPECT_GE(hour, 0);
        total += hour;
      }
    }
    if (day != 3) {
      EXPECT_NEAR(total, std::max(series.Daily[day], 0.0), 1e-9) << "day " << day;
    }
  }
}

TEST(StationRun, ThreadsRunningAtOnceGiveWhatSerialRunsGive) {
  const ClassicFile july = ReadClassic(kJulyFile);
  const auto parameters = Everywhere(july.parameters);
  RunOptions first, second;
  first.RandomSeed = 1;
  second.RandomSeed = 2;
  const StationResult serialFirst = DisaggregateStation(july.series, parameters, first);
  const StationResult serialSecond = DisaggregateStation(july.series, parameters, second);
  StationResult threadFirst, threadSecond;
  std::thread a([&] { threadFirst = DisaggregateStation(july.series, parameters, first); });
  std::thread b([&] { threadSecond = DisaggregateStation(july.series, parameters, second); });
  a.join();
  b.join();
  const auto same = [](const StationResult& x, const StationResult& y) {
    return x.Log == y.Log && SameHours(x.Hourly, y.Hourly);
  };
  EXPECT_TRUE(same(threadFirst, serialFirst));
  EXPECT_TRUE(same(threadSecond, serialSecond));
  EXPECT_FALSE(same(serialFirst, serialSecond));
}

// A wet sequence takes the set of its first day's month, also when it runs into the next.
TEST(StationRun, EachSequenceUsesItsFirstDaysMonth) {
  const ClassicFile july = ReadClassic(kJulyFile);
  ModelParameters june = july.parameters;
  june.MuX *= 2;
  june.SigmaX *= 2;
  ParametersByMonth months = Everywhere(july.parameters);
  months[5] = june;
  const auto hoursOf = [](const std::vector<double>& days, const ParametersByMonth& sets) {
    return DisaggregateStation({DaysFromCivil({2010, 6, 29}), days, {}}, sets, RunOptions{}).Hourly;
  };
  const std::vector<double> fromJune = {0, 6, 9, 0}, fromJuly = {0, 0, 6, 9};
  EXPECT_EQ(hoursOf(fromJune, months), hoursOf(fromJune, Everywhere(june)));
  EXPECT_NE(hoursOf(fromJune, months), hoursOf(fromJune, Everywhere(july.parameters)));
  EXPECT_EQ(hoursOf(fromJuly, months), hoursOf(fromJuly, Everywhere(july.parameters)));
  EXPECT_NE(hoursOf(fromJuly, months), hoursOf(fromJuly, Everywhere(june)));
}

// A worker thread of a pool or of a Python caller may have a small stack.
TEST(StationRun, RunsOnAThreadWithASmallStack) {
  const ClassicFile july = ReadClassic(kJulyFile);
  const auto parameters = Everywhere(july.parameters);
  struct Call {
    const ClassicFile* july;
    const ParametersByMonth* parameters;
    StationResult result;
  } call{&july, &parameters, {}};
  const auto run = [](void* argument) -> void* {
    auto* c = static_cast<Call*>(argument);
    c->result = DisaggregateStation(c->july->series, *c->parameters, RunOptions{});
    return nullptr;
  };
  pthread_attr_t attributes;
  pthread_attr_init(&attributes);
  ASSERT_EQ(pthread_attr_setstacksize(&attributes, 256 * 1024), 0);
  pthread_t thread;
  ASSERT_EQ(pthread_create(&thread, &attributes, run, &call), 0);
  pthread_join(thread, nullptr);
  pthread_attr_destroy(&attributes);
  EXPECT_TRUE(
      SameHours(call.result.Hourly, DisaggregateStation(july.series, parameters, RunOptions{}).Hourly));
}

// Eight storms a day leave no day dry after three wet ones: every search of the sequence
// fails, and so do its repetitions. One message of each kind names the sequence and says
// what its hours are instead.
TEST(StationRun, AFailedStormSearchAndFailedRepetitionsNameTheirSequence) {
  const ModelParameters parameters{8, 0.0747, 0.0259, 3.94, 0.029, 143.3, 143.3};
  StationSeries series;
  series.FirstDay = DaysFromCivil({2003, 7, 13});
  series.Daily = {0, 5, 6, 7, 0};
  RunOptions options;
  options.RepAllowed = 1;
  const std::string sequence = " for the sequence of 3 days from 2003-07-14: ";
  const std::string impossible = "Impossible to construct a storm with the desired properties" + sequence +
                                 "the storms of the last attempt were kept";
  const std::string nearest = "No storm set came within the distance allowed" + sequence +
                              "the storms nearest the daily depths, at distance ";
  for (const bool adjust : {true, false}) {
    options.PerformAdjustment = adjust;
    const StationResult r = DisaggregateStation(series, Everywhere(parameters), options);
    const std::string scaled = adjust ? " and their hours scaled to the daily depths" : "";
    ASSERT_TRUE(r.Failed.empty()) << r.Failed.front().Message;
    ASSERT_EQ(r.Messages.size(), 2u);
    EXPECT_EQ(r.Messages[0], impossible + scaled);
    EXPECT_TRUE(r.Messages[1].starts_with(nearest) && r.Messages[1].ends_with(", were kept" + scaled))
        << r.Messages[1];
    ASSERT_EQ(r.Warnings.size(), 2u);
    for (const auto& warning : r.Warnings) {
      EXPECT_EQ(warning.FirstDay, series.FirstDay + 1);
      EXPECT_EQ(warning.Days, 3);
    }
    EXPECT_EQ(r.Warnings[1].Message, r.Messages[1]);
  }
}

}  // namespace
}  // namespace nimbra
