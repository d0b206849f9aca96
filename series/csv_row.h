#pragma once
// The one codec of a CSV row, shared by every reader and writer of CSV files and by merge.
// Writing: a user's text becomes one field, quoted when it holds a separator, a quote, a line
// end or blanks at its edges, so that a station named "Berlin, Tempelhof" reads back whole.
// Reading: a row splits into fields at the separator outside quotes; a quoted field may hold
// separators and line ends, "" stands for one quote inside it, and blanks around a field are
// dropped. A row ends at LF or CR LF.

#include <cstddef>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

namespace nimbra {

std::string CsvField(std::string_view text);

enum class CsvRowStatus {
  Complete,       // the row and its line end were read
  OpenQuote,      // the text ended inside a quoted field: a cut row, or more text to come
  TextAfterQuote  // a character other than a separator or a line end follows a closing quote
};

class CsvRowSplitter {
 public:
  explicit CsvRowSplitter(char separator) : separator_(separator) {}

  // Splits the row that starts at text[pos] into fields and, when it is complete, moves pos
  // past its line end. The fields view text or the splitter's own storage, valid until the
  // next call. On a problem, ProblemAt() is the offset of the opening quote or of the stray
  // character.
  CsvRowStatus Split(std::string_view text, std::size_t& pos, std::vector<std::string_view>& fields);
  std::size_t ProblemAt() const { return problemAt_; }

 private:
  CsvRowStatus Field(std::string_view text, std::size_t& pos, bool& endOfRow, std::string_view& field);
  CsvRowStatus QuotedField(std::string_view text, std::size_t& pos, bool& endOfRow, std::string_view& field);

  char separator_;
  std::size_t problemAt_ = 0;
  std::deque<std::string> unescaped_;  // quoted fields that held ""
};

}  // namespace nimbra
