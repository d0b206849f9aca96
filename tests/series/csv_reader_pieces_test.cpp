// A file read a piece at a time gives the rows, lines and offsets of the same text read
// whole, also where a row or a quoted field spans two pieces; a seek goes on at a row.

#include <gtest/gtest.h>

#include "csv_reader.h"
#include "series_files.h"

namespace nimbra {
namespace {

using CsvReaderPieces = SeriesFiles;

struct Row {
  std::vector<std::string> fields;
  int line;
  std::uint64_t offset;
  bool operator==(const Row&) const = default;
};

std::vector<Row> Rows(CsvReader& reader) {
  std::vector<Row> rows;
  std::vector<std::string_view> fields;
  while (reader.NextRow(fields))
    rows.push_back({{fields.begin(), fields.end()}, reader.Line(), reader.Offset()});
  return rows;
}

// Over three megabytes of rows of every kind: quoted fields with separators, doubled quotes
// and line ends, blank lines, CR LF ends, and a last row without a line end.
std::string MixedText() {
  std::string text = "\xEF\xBB\xBFstation,note,value\n";
  for (int i = 0; text.size() < (3u << 20) + 1000; ++i) {
    const std::string number = std::to_string(i);
    switch (i % 5) {
      case 0:
        text.append("S").append(number).append(",plain,").append(number).append("\n");
        break;
      case 1:
        text.append("\"Q,\"\"").append(number).append("\"\"\",\"two\nlines\",1\r\n");
        break;
      case 2:
        text.append("\n\r\n");
        break;
      case 3:
        text.append("S")
            .append(number)
            .append(",\"")
            .append(static_cast<std::size_t>(i % 3000), 'x')
            .append("\",3\n");
        break;
      default:
        text.append(" padded , \"a\"\"b\" ,4\r\n");
        break;
    }
  }
  return text + "last,row,5";
}

TEST_F(CsvReaderPieces, ReadsAsTheWholeTextAndSeeksToARow) {
  const std::string text = MixedText();
  CsvReader whole("mixed.csv", text);
  const std::vector<Row> expected = Rows(whole);
  CsvReader pieces = CsvReader::Open(Write("mixed.csv", text));
  EXPECT_EQ(pieces.Header(), whole.Header());
  const std::vector<Row> rows = Rows(pieces);
  ASSERT_EQ(rows.size(), expected.size());
  EXPECT_TRUE(rows == expected);

  for (const std::size_t at : {std::size_t{0}, rows.size() / 3, rows.size() - 1}) {
    pieces.Seek(rows[at].offset, rows[at].line);
    const std::vector<Row> rest = Rows(pieces);
    EXPECT_TRUE(std::equal(rest.begin(), rest.end(), expected.begin() + static_cast<std::ptrdiff_t>(at),
                           expected.end()))
        << "from row " << at;
  }
}

}  // namespace
}  // namespace nimbra
