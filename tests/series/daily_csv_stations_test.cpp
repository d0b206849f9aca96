// A daily file read a group of stations at a time gives what reading it whole gives: the same
// stations, series and errors, whatever the order of the rows and the size of the groups.

#include "daily_csv_stations.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cmath>
#include <fstream>
#include <thread>

#include "parameter_table.h"
#include "series_files.h"

namespace nimbra {
namespace {

using DailyCsvStationsTest = SeriesFiles;

struct FileCase {
  const char* name;
  std::string text;
  bool wide = false;
};

// Station B's dates go backwards and are interleaved with A's; C has a single row.
const std::vector<FileCase> kFiles = {
    {"sorted", "station,date,precip_mm\nA,2010-01-01,1\nA,2010-01-02,0\nA,2010-01-04,NA\nB,2009-12-31,5\n"},
    {"interleaved",
     "station,date,precip_mm\r\nB,2010-01-03,2\r\nA,2010-01-02,NA\r\n\r\nA,2010-01-01,0.5\r\nC,2010-06-30,"
     "7\r\n"
     "B,20100101,-999\r\nA,2010-01-05,3\r\nB,2010-01-02 00:00,\r\n\"A\",2010-02-01,4\r\n"},
    {"one station", "date;precip_mm\n2010-03-02;1.5\n2010-03-01;2\n"},
    {"wide", "date,Zeta,Alpha,Empty\n2010-01-02,1,,\n2010-01-01,NaN,4,\n2009-12-01,0,0,\n", true},
    {"header only", "date,Zeta\n", true},
};

bool SameDays(const std::vector<double>& a, const std::vector<double>& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](double x, double y) { return x == y || (std::isnan(x) && std::isnan(y)); });
}

TEST_F(DailyCsvStationsTest, GroupsGiveWhatTheWholeFileGives) {
  for (const FileCase& file : kFiles) {
    const std::string path = Write("daily.csv", file.text);
    DailyCsvOptions options;
    options.Wide = file.wide;
    const std::vector<NamedSeries> whole = ReadDailyCsv(path, options);
    for (const std::int64_t groupDays : {1, 3, 1 << 20}) {
      DailyCsvStations stations(path, options, groupDays);
      ASSERT_EQ(stations.Stations().size(), whole.size()) << file.name;
      for (std::size_t i = 0; i < whole.size(); ++i) {
        const DailyStationEntry& entry = stations.Stations()[i];
        const StationSeries series = stations.Take(i);
        EXPECT_EQ(entry.Station, whole[i].Station) << file.name;
        EXPECT_EQ(entry.Months, MonthsWithValues(whole[i].Series)) << file.name << ", " << entry.Station;
        EXPECT_EQ(entry.Days, static_cast<std::int64_t>(whole[i].Series.Daily.size())) << file.name;
        EXPECT_EQ(series.FirstDay, whole[i].Series.FirstDay) << file.name << ", " << entry.Station;
        EXPECT_TRUE(SameDays(series.Daily, whole[i].Series.Daily)) << file.name << ", " << entry.Station;
      }
    }
  }
}

TEST_F(DailyCsvStationsTest, ErrorsAreThoseOfTheWholeFile) {
  const std::vector<std::string> texts = {
      // A date given three times, after a later date given twice.
      "station,date,precip_mm\nB,2010-01-05,1\nB,2010-01-05,1\nA,2010-01-02,1\nB,2010-01-03,1\n"
      "B,2010-01-03,4\nB,2010-01-03,1\n",
      "station,date,precip_mm\nA,2010-01-01,1\nA,2010-13-01,1\n",
      "station,date,precip_mm\nA,2010-01-01,x\n",
      "station,date,precip_mm\nA,2010-01-01\n",
      "date,A,A\n2010-01-01,1,2\n",
  };
  for (const std::string& text : texts) {
    const std::string path = Write("daily.csv", text);
    DailyCsvOptions options;
    options.Wide = text.starts_with("date");
    const std::string expected = MessageOf([&] { ReadDailyCsv(path, options); });
    EXPECT_NE(expected, "no error");
    EXPECT_EQ(MessageOf([&] { DailyCsvStations(path, options); }), expected);
  }
}

// Stations taken from several threads at once, as the runner takes them.
TEST_F(DailyCsvStationsTest, StationsTakenOutOfOrderAcrossGroups) {
  std::string text = "station,date,precip_mm\n";
  for (int day = 1; day <= 28; ++day) {
    for (const char* station : {"S3", "S1", "S2", "S0"})
      text += std::string(station) + ",2010-02-" + (day < 10 ? "0" : "") + std::to_string(day) + "," +
              std::to_string(day) + station[1] + "\n";
  }
  const std::string path = Write("daily.csv", text);
  const std::vector<NamedSeries> whole = ReadDailyCsv(path, {});
  DailyCsvStations stations(path, {}, 56);
  for (const std::size_t i : {1, 0, 3, 2})
    EXPECT_TRUE(SameDays(stations.Take(i).Daily, whole[i].Series.Daily)) << i;
}

// A pipe cannot be read twice: its stations are held whole, and a shard keeps its own.
TEST_F(DailyCsvStationsTest, APipeIsReadOnce) {
  const std::string text = kFiles[1].text;
  const std::string pipe = (dir / "daily.pipe").string();
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  std::thread writer([&] { std::ofstream(pipe, std::ios::binary) << text; });
  DailyCsvStations stations(pipe, {});
  writer.join();
  stations.Keep([](const std::string& station) { return station != "B"; });
  std::vector<NamedSeries> whole = ReadDailyCsv(Write("daily.csv", text), {});
  std::erase_if(whole, [](const NamedSeries& station) { return station.Station == "B"; });
  ASSERT_EQ(stations.Stations().size(), whole.size());
  for (const std::size_t i : {1, 0}) {
    EXPECT_EQ(stations.Stations()[i].Station, whole[i].Station);
    EXPECT_TRUE(SameDays(stations.Take(i).Daily, whole[i].Series.Daily)) << whole[i].Station;
  }
}

}  // namespace
}  // namespace nimbra
