#include "csv_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "date_time_text.h"

namespace nimbra {
namespace {

std::vector<std::vector<std::string>> Rows(const std::string& text, char& separator) {
  CsvReader reader("t.csv", text);
  separator = reader.Separator();
  std::vector<std::vector<std::string>> rows{reader.Header()};
  std::vector<std::string_view> fields;
  while (reader.NextRow(fields)) rows.emplace_back(fields.begin(), fields.end());
  return rows;
}

TEST(CsvReader, SeparatorQuotesMarkAndLineEndsGiveTheSameRows) {
  const std::vector<std::vector<std::string>> expected = {
      {"station", "date", "precip_mm"}, {"A; B", "2010-01-01", "1.5"}, {"say \"hi\"", "2010-01-02", ""}};
  const std::vector<std::pair<std::string, char>> spellings = {
      {"station,date,precip_mm\n\"A; B\",2010-01-01,1.5\n\"say \"\"hi\"\"\",2010-01-02,\n", ','},
      {"\xEF\xBB\xBFstation;date;precip_mm\r\n\"A; B\";2010-01-01;1.5\r\n\r\n\"say \"\"hi\"\"\";2010-01-02;",
       ';'},
      {"station , date,precip_mm\n\n  \"A; B\" ,2010-01-01, 1.5\r\n\"say "
       "\"\"hi\"\"\",\"2010-01-02\",\"\"\r\n",
       ','},
  };
  for (const auto& [text, separator] : spellings) {
    char found = 0;
    EXPECT_EQ(Rows(text, found), expected) << text;
    EXPECT_EQ(found, separator) << text;
  }
}

TEST(CsvReader, RowsKnowTheLineTheyStartOn) {
  CsvReader reader("t.csv", "a,b\n\n1,\"two\nlines\"\n3,4");
  std::vector<std::string_view> fields;
  ASSERT_TRUE(reader.NextRow(fields));
  EXPECT_EQ(reader.Line(), 3);
  EXPECT_EQ(fields[1], "two\nlines");
  ASSERT_TRUE(reader.NextRow(fields));
  EXPECT_EQ(reader.Line(), 5);
  EXPECT_FALSE(reader.NextRow(fields));
}

TEST(DateTimeText, DatesAndHoursInEveryAcceptedSpelling) {
  const std::int64_t day = 14791;  // 2010-07-01
  for (const char* text : {"2010-07-01", "20100701", "2010-07-01 00:00", "2010-07-01T00:00:00"}) {
    EXPECT_EQ(ParseDate(text), day) << text;
  }
  // Century years are leap years only when divisible by 400.
  for (const char* bad : {"2010-7-1", "2010-07-01 06:00", "2010-02-29", "1900-02-29", "2100-02-29",
                          "2010-13-01", "01.07.2010", "", "2010-07-01x"}) {
    EXPECT_EQ(ParseDate(bad), std::nullopt) << bad;
  }
  for (const char* text : {"2010-07-01T06:00", "2010-07-01 06:00", "2010-07-01T06:00:00"}) {
    EXPECT_EQ(ParseHour(text), day * 24 + 6) << text;
  }
  for (const char* bad :
       {"2010-07-01", "2010-07-01T06:30", "2010-07-01T24:00", "2010-07-01T6:00", "2012-02-30T00:00"}) {
    EXPECT_EQ(ParseHour(bad), std::nullopt) << bad;
  }
  EXPECT_EQ(FormatDate(day), "2010-07-01");
  EXPECT_EQ(FormatHour(day * 24 - 1), "2010-06-30T23:00");
  EXPECT_EQ(FormatHour(-1), "1969-12-31T23:00");
  EXPECT_EQ(ParseDate("2000-02-29"), ParseDate("2000-03-01").value() - 1);
}

}  // namespace
}  // namespace nimbra
