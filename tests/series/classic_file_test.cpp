#include "classic_file.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numeric>
#include <sstream>

#include "classic_conversion.h"
#include "date_time_text.h"
#include "series_files.h"

namespace nimbra {
namespace {

using ClassicFiles = SeriesFiles;

std::string Hours(const std::string& firstHour) {
  std::string text = firstHour;
  for (int h = 1; h < 24; ++h) text += " 0";
  return text;
}

TEST_F(ClassicFiles, ConvertedToCsvWithNegativeDaysMissingOrDry) {
  const auto path = Write("july.txt", "H 1 title\r\nP 31 1 1 1 1 1 1 1\r\n1 7 2000 99 0.6 " + Hours("0.6") +
                                          "\r\n2 7 2000 99 -9 " + Hours("0") + "\r\n366 0 2000 99 0\n" +
                                          Hours("0") + "\x1A trailing bytes");
  const ClassicFile file = ReadClassicFile(path);
  ASSERT_TRUE(file.HasHours);
  ASSERT_EQ(file.Records.size(), 3u);
  EXPECT_EQ(file.Records[2].Day, *ParseDate("2000-12-31"));
  EXPECT_EQ(file.Records[2].Line, 5);

  std::ostringstream daily;
  std::ostringstream hourly;
  HourlyCsvWriter writer(hourly, {});
  const ClassicToCsvCounts counts = ConvertClassicToCsv(file, "T", true, daily, &writer);
  writer.Flush();
  EXPECT_EQ(counts.Days, 3);
  EXPECT_EQ(counts.NegativeDays, 1);
  EXPECT_EQ(daily.str(), "station,date,precip_mm\nT,2000-07-01,0.6\nT,2000-07-02,NA\nT,2000-12-31,0\n");
  EXPECT_EQ(hourly.str().substr(0, 71),
            "station,time,precip_mm\nT,2000-07-01T00:00,0.60\nT,2000-07-01T01:00,0.00\n");
  EXPECT_NE(hourly.str().find("T,2000-07-02T05:00,\n"), std::string::npos);

  std::ostringstream dry;
  ConvertClassicToCsv(file, "T", false, dry, nullptr);
  EXPECT_NE(dry.str().find("T,2000-07-02,0\n"), std::string::npos);
}

TEST_F(ClassicFiles, HoursWrittenInTheClassicLayoutReadBack) {
  StationHours hours{"T", *ParseDate("2010-07-30"), std::vector<double>(72, 0.0)};
  hours.Hours[0] = 1.25;
  hours.Hours[23] = 10.5;
  hours.Hours[48] = std::nan("");
  std::ostringstream out;
  const CsvToClassicCounts counts = ConvertHoursToClassic(hours, out);
  EXPECT_EQ(counts.WetDays, 1);
  EXPECT_EQ(counts.IncompleteDays, 1);
  std::string expected = "\r\n 30  7 2010 11.75  1.25";
  for (int h = 1; h < 12; ++h) expected += "  0.00";
  expected += "\r\n" + std::string(17, ' ');
  for (int h = 12; h < 23; ++h) expected += "  0.00";
  expected += " 10.50";
  EXPECT_EQ(out.str(), expected);
}

// Values that fill their six columns get a blank before them, which the classic layout of
// file mode leaves out; hours are rounded so that they add up to the written total.
TEST_F(ClassicFiles, LargeAndTinyDepthsReadBackAsTheirDaysTotals) {
  StationHours hours{"T", *ParseDate("2010-07-30"), std::vector<double>(72, 0.0)};
  hours.Hours[0] = 150.004;
  hours.Hours[1] = 0.004;
  hours.Hours[2] = 0.004;
  hours.Hours[30] = 0.004;  // the second day: 0.004 mm in all
  hours.Hours[60] = 99.996;
  std::ostringstream out;
  const CsvToClassicCounts counts = ConvertHoursToClassic(hours, out);
  EXPECT_EQ(counts.WetDays, 2);
  EXPECT_EQ(counts.BelowPrecisionDays, 1);
  EXPECT_EQ(out.str().substr(0, 33), "\r\n 30  7 2010 150.01 150.00  0.01");
  const ClassicFile back = ReadClassicFile(Write("back.txt", "H 0" + out.str()));
  ASSERT_EQ(back.Records.size(), 2u);
  EXPECT_EQ(back.Records[0].Day, hours.FirstDay);
  EXPECT_EQ(back.Records[0].Depth, 150.01);
  EXPECT_NEAR(std::accumulate(back.Records[0].Hours.begin(), back.Records[0].Hours.end(), 0.0), 150.01, 1e-9);
  EXPECT_EQ(back.Records[1].Day, hours.FirstDay + 2);
  EXPECT_EQ(back.Records[1].Depth, 100.0);
  EXPECT_EQ(back.Records[1].Hours[12], 100.0);
}

// The conversion reads with file mode's reader: what file mode refuses, it refuses too.
TEST_F(ClassicFiles, BadFilesAreRefusedAsFileModeRefusesThem) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"D 0\r\n1 7 2000 1.5\r\n2 7 2000 x\r\n",
       "Invalid number \"x\" for Depth in line 3 of the input file {dir}/c.txt: a real number such as 2.5 is "
       "expected."},
      {"D 0\r\n1 7 2000 1.5\r\n2 7\r\n",
       "The record in line 3 of the input file {dir}/c.txt is cut short by the end of the file."},
      {"H 0\r\n1 7 2000 1.5 1\r\n",
       "The record in line 2 of the input file {dir}/c.txt is cut short by the end of the file."},
      {"D -1\r\n1 7 2000 1\r\n",
       "The header line, line 1 of the input file {dir}/c.txt, must give the number of values to skip before "
       "each depth as a non-negative integer; it gives \"-1\"."},
      {"D 1.5\r\n1 7 2000 1\r\n",
       "The header line, line 1 of the input file {dir}/c.txt, must give the number of values to skip before "
       "each depth as a non-negative integer; it gives \"1.5\"."},
      {"1 7 2000 nan\r\n",
       "Invalid number \"nan\" for Depth in line 1 of the input file {dir}/c.txt: a real number such as 2.5 "
       "is "
       "expected."},
      {"1 7 2000 1e308\r\n",
       "Depth in line 1 of the input file {dir}/c.txt is 1E308 mm, above the 10000 mm that no day's rain "
       "reaches."},
      {"1 7 2000 1.5\r\n31 6 2000 0\r\n",
       "{dir}/c.txt, line 2: expected Day Tag Period to name a date of the years 1 to 9999 (Tag the month, "
       "or 0 "
       "for a day of the year), found 31 6 2000"},
      {"366 0 2001 0\r\n",
       "{dir}/c.txt, line 1: expected Day Tag Period to name a date of the years 1 to 9999 (Tag the month, "
       "or 0 "
       "for a day of the year), found 366 0 2001"},
      {"1 7 10000 0\r\n",
       "{dir}/c.txt, line 1: expected Day Tag Period to name a date of the years 1 to 9999 (Tag the month, "
       "or 0 "
       "for a day of the year), found 1 7 10000"},
      {"2 7 2000 1\r\n3 7 2000 0\r\n1 7 2000 1\r\n",
       "{dir}/c.txt, line 3: expected dates in increasing order, found 2000-07-01 after 2000-07-03 (line 2)"},
  };
  for (const auto& [text, message] : cases) {
    const auto path = Write("c.txt", text);
    EXPECT_EQ(MessageOf([&] { ReadClassicFile(path); }), message) << text;
  }
}

TEST_F(ClassicFiles, AByteOrderMarkAndNegativeHoursAreReadAsFileModeReadsThem) {
  std::string hours = "-9 1.5";
  for (int h = 2; h < 24; ++h) hours += " 0";
  const ClassicFile file = ReadClassicFile(Write("c.txt", "\xEF\xBB\xBFH 0\r\n1 7 2000 1.5 " + hours));
  ASSERT_EQ(file.Records.size(), 1u);
  EXPECT_EQ(file.Records[0].Depth, 1.5);
  EXPECT_EQ(file.Records[0].Hours[0], 0.0);
  EXPECT_EQ(file.Records[0].Hours[1], 1.5);
}

TEST(ClassicExample, TheJulyRecordHasItsMissingDaysFound) {
  const ClassicFile july = ReadClassicFile(NIMBRA_EXAMPLES_DIR "/berlin_tempelhof_july_hourly.txt");
  std::ostringstream daily;
  const ClassicToCsvCounts counts = ConvertClassicToCsv(july, "Berlin-Tempelhof", true, daily, nullptr);
  EXPECT_EQ(counts.Days, 620);
  EXPECT_EQ(counts.NegativeDays, 12);
  for (const ClassicRecord& r : july.Records) {
    if (r.Depth < 0) continue;
    EXPECT_NEAR(std::accumulate(r.Hours.begin(), r.Hours.end(), 0.0), r.Depth, 1e-9) << r.Line;
  }
}

}  // namespace
}  // namespace nimbra
