#include "hourly_csv_reader.h"

#include <gtest/gtest.h>

#include <cmath>

#include "date_time_text.h"
#include "series_files.h"

namespace nimbra {
namespace {

using HourlyCsvReader = SeriesFiles;

TEST_F(HourlyCsvReader, HoursLandInTheirDayFromTheDayStart) {
  const auto path = Write("hours.csv",
                          "station,time,precip_mm\n"
                          "X,2010-01-02 06:00,0.4\n"
                          "X,2010-01-01T07:00:00,1.5\n"
                          "X,2010-01-02T05:00,NA\n");
  HourlyCsvOptions options;
  options.DayStart = 7;
  const auto stations = ReadHourlyCsv(path, options);
  ASSERT_EQ(stations.size(), 1u);
  const StationHours& x = stations[0];
  EXPECT_EQ(x.FirstDay, *ParseDate("2010-01-01"));
  ASSERT_EQ(x.Hours.size(), 24u);
  EXPECT_EQ(x.Hours[0], 1.5);
  EXPECT_EQ(x.Hours[23], 0.4);
  for (int h = 1; h < 23; ++h) EXPECT_TRUE(std::isnan(x.Hours[h])) << h;

  options.DayStart = 0;
  options.LabelsAtHourEnd = true;
  const auto ending = ReadHourlyCsv(path, options);
  EXPECT_EQ(ending[0].FirstDay, x.FirstDay);
  ASSERT_EQ(ending[0].Hours.size(), 48u);
  EXPECT_EQ(ending[0].Hours[6], 1.5);
  EXPECT_EQ(ending[0].Hours[24 + 5], 0.4);
}

TEST_F(HourlyCsvReader, BadFilesAreNamedByLineAndColumn) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"station,time,precip_mm\nX,2010-01-01T00:30,1\n",
       "{dir}/h.csv, line 2, column 2 (time): expected a time YYYY-MM-DDThh:00, found '2010-01-01T00:30'"},
      {"station,time,precip_mm\nX,2010-01-01T01:00,1\nX,2010-01-01 01:00:00,2\n",
       "{dir}/h.csv, lines 2 and 3: station 'X' has the time 2010-01-01T01:00 twice"},
      {"station,time,value\nX,2010-01-01T01:00,1\n",
       "{dir}/h.csv, line 1: expected a column 'precip_mm' in the header, found 'station,time,value'"},
      {"time,precip_mm\n2010-01-01T01:00,-1\n",
       "{dir}/h.csv, line 2, column 2 (precip_mm): expected a depth in mm (0 to 10000) or a missing value, "
       "found "
       "'-1'"},
      {"time,precip_mm\n2010-01-01T01:00,10000.5\n",
       "{dir}/h.csv, line 2, column 2 (precip_mm): expected a depth in mm (0 to 10000) or a missing value, "
       "found '10000.5'"},
      {"station,time,precip_mm,precip_mm\nX,2010-01-01T01:00,1,2\n",
       "{dir}/h.csv, line 1, column 4: expected each column named once, found 'precip_mm' as column 3 too"},
      {"station,time,precip_mm\nX,0001-01-01T00:00,1\nX,9999-12-31T23:00,2\n",
       "{dir}/h.csv, lines 2 and 3: station 'X' spans 0001-01-01T00:00 to 9999-12-31T23:00, more than the "
       "1000 years a series may span"},
  };
  for (const auto& [text, message] : cases) {
    const auto path = Write("h.csv", text);
    EXPECT_EQ(MessageOf([&] { ReadHourlyCsv(path, {}); }), message) << text;
  }
}

}  // namespace
}  // namespace nimbra
