#include "csv_row.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace nimbra {
namespace {

std::vector<std::string> SplitAll(std::string_view text, char separator = ',') {
  CsvRowSplitter splitter(separator);
  std::vector<std::string_view> fields;
  std::size_t pos = 0;
  EXPECT_EQ(splitter.Split(text, pos, fields), CsvRowStatus::Complete) << text;
  EXPECT_EQ(pos, text.size()) << text;
  return {fields.begin(), fields.end()};
}

// What a writer puts in a field, a reader gets back whole, whatever the text holds.
TEST(CsvRow, EveryTextWrittenAsAFieldReadsBackWhole) {
  const std::vector<std::string> texts = {"Tempelhof", "B,q",   "a;b",     "say \"hi\"", "\"",   "two\nlines",
                                          "cr\r\nlf",  " lead", "trail\t", "",           "\"\"", "x\"\n,\"y"};
  for (const std::string& text : texts) {
    const std::string row = CsvField(text) + ',' + CsvField("2010-07-01T00:00") + ",1.5\n";
    EXPECT_EQ(SplitAll(row), (std::vector<std::string>{text, "2010-07-01T00:00", "1.5"})) << row;
  }
}

TEST(CsvRow, OnlyTextsThatNeedQuotesGetThem) {
  EXPECT_EQ(CsvField("Berlin Tempelhof"), "Berlin Tempelhof");
  EXPECT_EQ(CsvField("B,q"), "\"B,q\"");
  EXPECT_EQ(CsvField("a\"b"), "\"a\"\"b\"");
  EXPECT_EQ(CsvField(" a"), "\" a\"");
}

TEST(CsvRow, RowsSplitAtTheirOwnLineEnd) {
  const std::string text = "a;\"b\n;c\";d\r\n\"e\"  ;f\nlast";
  CsvRowSplitter splitter(';');
  std::vector<std::string_view> fields;
  std::size_t pos = 0;
  std::vector<std::vector<std::string>> rows;
  while (pos < text.size()) {
    ASSERT_EQ(splitter.Split(text, pos, fields), CsvRowStatus::Complete);
    rows.emplace_back(fields.begin(), fields.end());
  }
  EXPECT_EQ(rows, (std::vector<std::vector<std::string>>{{"a", "b\n;c", "d"}, {"e", "f"}, {"last"}}));
}

TEST(CsvRow, CutAndBrokenRowsSayWhereTheProblemIs) {
  struct Case {
    std::string text;
    CsvRowStatus status;
    std::size_t at;
  };
  const Case cases[] = {
      {"A,\"B,q", CsvRowStatus::OpenQuote, 2},
      {"\"A\"\"", CsvRowStatus::OpenQuote, 0},
      {"A,\"B\"x,1\n", CsvRowStatus::TextAfterQuote, 5},
  };
  for (const Case& c : cases) {
    CsvRowSplitter splitter(',');
    std::vector<std::string_view> fields;
    std::size_t pos = 0;
    EXPECT_EQ(splitter.Split(c.text, pos, fields), c.status) << c.text;
    EXPECT_EQ(splitter.ProblemAt(), c.at) << c.text;
    EXPECT_EQ(pos, 0u) << "a row that is not complete is not consumed: " << c.text;
  }
}

}  // namespace
}  // namespace nimbra
