#include "hourly_csv_writer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numeric>
#include <random>
#include <sstream>

#include "atomic_file.h"
#include "csv_reader.h"
#include "date_time_text.h"
#include "errors.h"
#include "series_files.h"

namespace nimbra {
namespace {

const double kNaN = std::nan("");

TEST(RoundToTotal, WrittenHoursAddUpToTheRoundedDayWhateverTheHours) {
  std::mt19937 random(17);
  std::uniform_real_distribution<double> share(0, 1);
  for (int trial = 0; trial < 2000; ++trial) {
    const int decimals = trial % 4;
    const double scale = std::pow(10.0, decimals);
    const double day = std::round(share(random) * 800) / 10;  // a gauge's 0.1 mm
    std::vector<double> hours(24);
    for (double& h : hours) h = share(random) < 0.6 ? 0 : share(random);
    const double sum = std::accumulate(hours.begin(), hours.end(), 0.0);
    if (sum == 0) continue;
    for (double& h : hours) h *= day / sum;
    std::vector<std::int64_t> units(24);
    RoundToTotal(hours, decimals, units);
    EXPECT_EQ(std::accumulate(units.begin(), units.end(), std::int64_t{0}), std::llround(day * scale))
        << trial;
    for (int h = 0; h < 24; ++h) {
      EXPECT_LE(std::fabs(static_cast<double>(units[h]) - hours[h] * scale), 1.0) << trial << " hour " << h;
      if (hours[h] == 0) {
        EXPECT_EQ(units[h], 0) << trial << " hour " << h;
      }
    }
  }
}

TEST(RoundToTotal, TheLargestCutOffsTakeTheMissingUnitsEarlierHoursFirst) {
  std::vector<double> hours(24, 0.0);
  hours[0] = hours[1] = hours[2] = 1.0 / 3;  // 1 mm: 33 + 33 + 33 hundredths and one more
  hours[5] = kNaN;
  std::vector<std::int64_t> units(24);
  RoundToTotal(hours, 2, units);
  EXPECT_EQ(units[0], 34);
  EXPECT_EQ(units[1], 33);
  EXPECT_EQ(units[2], 33);
  EXPECT_EQ(units[5], -1);
}

TEST(HourlyCsvWriter, RowsForDayStartHourEndLabelsAndMissingDays) {
  std::vector<double> hours(48, 0.0);
  hours[0] = 12.345;
  hours[23] = 0.05;
  for (int h = 24; h < 48; ++h) hours[h] = kNaN;
  std::ostringstream out;
  HourlyCsvWriter writer(out, {7, true, 1});
  writer.WriteStation("Tempelhof", *ParseDate("2011-12-31"), hours);
  writer.Flush();
  std::istringstream written(out.str());
  std::vector<std::string> lines;
  for (std::string line; std::getline(written, line);) lines.push_back(line);
  ASSERT_EQ(lines.size(), 49u);
  EXPECT_EQ(lines[0], "station,time,precip_mm");
  // 12.345 + 0.05 is 12.4 written; the last hour's 0.05 cut off beats the first hour's 0.045.
  EXPECT_EQ(lines[1], "Tempelhof,2011-12-31T08:00,12.3");
  EXPECT_EQ(lines[2], "Tempelhof,2011-12-31T09:00,0.0");
  EXPECT_EQ(lines[17], "Tempelhof,2012-01-01T00:00,0.0");
  EXPECT_EQ(lines[24], "Tempelhof,2012-01-01T07:00,0.1");
  EXPECT_EQ(lines[25], "Tempelhof,2012-01-01T08:00,");
  EXPECT_EQ(lines[48], "Tempelhof,2012-01-02T07:00,");
}

// Station names are the user's text: whatever they hold, the file reads back to them.
TEST(HourlyCsvWriter, StationNamesReadBackWhole) {
  for (const std::string name : {"Tempelhof", "Berlin, Tempelhof", "Berlin; \"Tempelhof\"", "two\nlines"}) {
    std::ostringstream out;
    HourlyCsvWriter writer(out, {});
    writer.WriteStation(name, 0, std::vector<double>(24, 0.0));
    writer.Flush();
    CsvReader reader("hourly.csv", out.str());
    std::vector<std::string_view> fields;
    for (int hour = 0; hour < 24; ++hour) {
      ASSERT_TRUE(reader.NextRow(fields)) << name;
      ASSERT_EQ(fields.size(), 3u) << name;
      EXPECT_EQ(fields[0], name);
    }
    EXPECT_FALSE(reader.NextRow(fields)) << name;
  }
}

TEST(HourlyCsvWriter, DecimalsAndDayStartOutsideTheirRangesAreRefused) {
  std::ostringstream out;
  EXPECT_THROW(HourlyCsvWriter(out, {24, false, 2}), InvalidArgument);
  EXPECT_THROW(HourlyCsvWriter(out, {0, false, 7}), InvalidArgument);
  EXPECT_THROW(HourlyCsvWriter(out, {-1, false, 2}), InvalidArgument);
}

// A value is written as itself or refused: never as an empty field or a wrapped integer.
TEST(HourlyCsvWriter, DepthsItCannotWriteExactlyAreRefusedNamingTheHour) {
  struct Case {
    double hour;
    int decimals;
    std::string message;
  };
  const std::vector<Case> cases = {
      {-0.5, 2,
       "station 'A', hour 2010-07-01T03:00: expected a depth of 0 to 10000000000000 mm to write, found -0.5"},
      {INFINITY, 2,
       "station 'A', hour 2010-07-01T03:00: expected a depth of 0 to 10000000000000 mm to write, found INF"},
      {1e17, 6,
       "station 'A', hour 2010-07-01T03:00: expected a depth of 0 to 1000000000 mm to write, found "
       "1E17"},
  };
  for (const Case& c : cases) {
    std::vector<double> hours(24, 0.0);
    hours[3] = c.hour;
    std::ostringstream out;
    HourlyCsvWriter writer(out, {0, false, c.decimals});
    try {
      writer.WriteStation("A", *ParseDate("2010-07-01"), hours);
      ADD_FAILURE() << c.hour << " was written";
    } catch (const InvalidArgument& e) {
      EXPECT_EQ(e.what(), c.message);
    }
  }
  std::vector<double> hours(24, 0.0);
  hours[23] = 1e9;
  std::ostringstream out;
  HourlyCsvWriter writer(out, {0, false, 6});
  writer.WriteStation("A", *ParseDate("2010-07-01"), hours);
  writer.Flush();
  EXPECT_NE(out.str().find("A,2010-07-01T23:00,1000000000.000000\n"), std::string::npos);
}

TEST(HourlyCsvWriter, AFailedWriteNamesTheFile) {
  std::ostringstream out;
  HourlyCsvWriter writer(out, {}, "hourly.csv");
  out.setstate(std::ios::badbit);  // as a full disk leaves a file stream
  try {
    writer.Flush();
    ADD_FAILURE() << "a failed stream was taken as written";
  } catch (const InOutError& e) {
    EXPECT_STREQ(e.what(), "hourly.csv: cannot write the file (is the disk full?)");
  }
}

using AtomicOutput = SeriesFiles;

TEST_F(AtomicOutput, TheFileAppearsOnlyWhenCommitted) {
  const std::string path = (dir / "hourly.csv").string();
  {
    AtomicFile abandoned(path);
    abandoned.Stream() << "half";
  }
  EXPECT_FALSE(std::filesystem::exists(path));
  EXPECT_TRUE(std::filesystem::is_empty(dir));
  AtomicFile file(path);
  file.Stream() << "whole";
  EXPECT_FALSE(std::filesystem::exists(path));
  EXPECT_EQ(std::filesystem::path(file.TemporaryPath()).parent_path(), dir);
  file.Commit();
  EXPECT_EQ(Read(path), "whole");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 1);
  EXPECT_THROW(AtomicFile((dir / "no" / "such.csv").string()), InOutError);
}

}  // namespace
}  // namespace nimbra
