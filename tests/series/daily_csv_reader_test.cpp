#include "daily_csv_reader.h"

#include <gtest/gtest.h>

#include <cmath>

#include "date_time_text.h"
#include "series_files.h"

namespace nimbra {
namespace {

using DailyCsvReader = SeriesFiles;

// Daily values with NaN written as -1, so that vectors compare with ==.
std::vector<double> Marked(const std::vector<double>& daily) {
  std::vector<double> marked;
  for (double v : daily) marked.push_back(std::isnan(v) ? -1 : v);
  return marked;
}

TEST_F(DailyCsvReader, LongRowsInAnyOrderWithGapsAndMissingMarks) {
  const auto path = Write("daily.csv",
                          "station,date,precip_mm\n"
                          "B,2010-01-03,2\n"
                          "A,2010-01-02,NA\n"
                          "A,2010-01-01,0.5\n"
                          "B,20100101,-999\n"
                          "A,2010-01-05,3\n"
                          "A,2010-01-04,-999.9\n"
                          "B,2010-01-02 00:00,\n");
  const auto stations = ReadDailyCsv(path, {});
  ASSERT_EQ(stations.size(), 2u);
  EXPECT_EQ(stations[0].Station, "A");
  EXPECT_EQ(stations[0].Series.FirstDay, *ParseDate("2010-01-01"));
  EXPECT_EQ(Marked(stations[0].Series.Daily), (std::vector<double>{0.5, -1, -1, -1, 3}));
  EXPECT_EQ(stations[1].Station, "B");
  EXPECT_EQ(Marked(stations[1].Series.Daily), (std::vector<double>{-1, -1, 2}));
}

TEST_F(DailyCsvReader, ChosenColumnsOneStationAndTheWideLayout) {
  DailyCsvOptions named;
  named.DateColumn = "Datum";
  named.ValueColumn = "RR";
  named.MissingSentinels = {-9};
  const auto single =
      ReadDailyCsv(Write("tempelhof.csv", "Datum;RR;quality\n2010-01-03;-9;1\n2010-01-01;1.5;1\n"), named);
  ASSERT_EQ(single.size(), 1u);
  EXPECT_EQ(single[0].Station, "tempelhof");
  EXPECT_EQ(Marked(single[0].Series.Daily), (std::vector<double>{1.5, -1, -1}));

  DailyCsvOptions wide;
  wide.Wide = true;
  const auto stations =
      ReadDailyCsv(Write("wide.csv", "date,Zeta,Alpha\n2010-01-02,1,\n2010-01-01,NaN,4\n"), wide);
  ASSERT_EQ(stations.size(), 2u);
  EXPECT_EQ(stations[0].Station, "Alpha");
  EXPECT_EQ(Marked(stations[0].Series.Daily), (std::vector<double>{4, -1}));
  EXPECT_EQ(stations[1].Station, "Zeta");
  EXPECT_EQ(Marked(stations[1].Series.Daily), (std::vector<double>{-1, 1}));
}

TEST_F(DailyCsvReader, BadFilesAreNamedByLineAndColumn) {
  struct Case {
    std::string text;
    bool wide;
    std::string message;
  };
  const std::vector<Case> cases = {
      {"", false, "{dir}/d.csv: expected a header line, found an empty file"},
      {"station,day,precip_mm\nA,2010-01-01,1\n", false,
       "{dir}/d.csv, line 1: expected a column 'date' in the header, found 'station,day,precip_mm'"},
      {"station;date;precip_mm\nA;2010-01-01;1\nA;2010-02-30;1\n", false,
       "{dir}/d.csv, line 3, column 2 (date): expected a date YYYY-MM-DD, found '2010-02-30'"},
      {"station,date,precip_mm\nA,2010-01-01,-0.1\n", false,
       "{dir}/d.csv, line 2, column 3 (precip_mm): expected a depth in mm (0 to 10000) or a missing value, "
       "found "
       "'-0.1'"},
      {"station,date,precip_mm\nA,2010-01-01,1.2mm\n", false,
       "{dir}/d.csv, line 2, column 3 (precip_mm): expected a depth in mm (0 to 10000) or a missing value, "
       "found "
       "'1.2mm'"},
      {"station,date,precip_mm\n\nA,2010-01-01\n", false,
       "{dir}/d.csv, line 3: expected 3 fields as in the header, found 2"},
      {"station,date,precip_mm\n,2010-01-01,1\n", false,
       "{dir}/d.csv, line 2, column 1 (station): expected a station name, found ''"},
      {"station,date,precip_mm\nA,2010-01-01,1\nB,2010-01-01,1\nA,20100101,0\n", false,
       "{dir}/d.csv, lines 2 and 4: station 'A' has the date 2010-01-01 twice"},
      {"station,date,precip_mm\n\"A,2010-01-01,1\n", false,
       "{dir}/d.csv, line 2: expected a closing quote for the field opened on line 2"},
      {"station,date,precip_mm\n\"A\"x,2010-01-01,1\n", false,
       "{dir}/d.csv, line 2: expected a separator after a closing quote, found 'x'"},
      {"date,A,A\n2010-01-01,1,2\n", true,
       "{dir}/d.csv, line 1, column 3 (A): expected a station name not used before, found 'A'"},
      {"date,A\n2010-01-01,1\n2010-01-01,2\n", true,
       "{dir}/d.csv, lines 2 and 3: station 'A' has the date 2010-01-01 twice"},
      {"station,date,precip_mm\nA,2010-01-01,1e17\n", false,
       "{dir}/d.csv, line 2, column 3 (precip_mm): expected a depth in mm (0 to 10000) or a missing value, "
       "found '1e17'"},
      {"station,date,precip_mm\nA,9999-12-31,1\nB,2000-01-01,0\nA,0001-01-01,2\n", false,
       "{dir}/d.csv, lines 4 and 2: station 'A' spans 0001-01-01 to 9999-12-31, more than the 1000 years a "
       "series may span"},
  };
  for (const Case& c : cases) {
    DailyCsvOptions options;
    options.Wide = c.wide;
    const auto path = Write("d.csv", c.text);
    EXPECT_EQ(MessageOf([&] { ReadDailyCsv(path, options); }), c.message) << c.text;
  }
  EXPECT_EQ(MessageOf([&] { ReadDailyCsv((dir / "none.csv").string(), {}); }),
            "{dir}/none.csv: cannot open the file");
}

}  // namespace
}  // namespace nimbra
