#include "csv_reader.h"

#include <algorithm>
#include <fstream>
#include <sstream>

#include "errors.h"

namespace nimbra {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// The header's own separator: the one of `,` and `;` it holds more often outside quotes.
char DetectSeparator(std::string_view text) {
  int commas = 0;
  int semicolons = 0;
  bool quoted = false;
  for (char c : text) {
    if (c == '\n') break;
    if (c == '"') quoted = !quoted;
    if (!quoted && c == ',') ++commas;
    if (!quoted && c == ';') ++semicolons;
  }
  return semicolons > commas ? ';' : ',';
}

}  // namespace

CsvReader CsvReader::Open(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw InOutError(path + ": cannot open the file");
  std::ostringstream text;
  text << in.rdbuf();
  if (in.bad()) throw InOutError(path + ": cannot read the file");
  return CsvReader(path, std::move(text).str());
}

CsvReader::CsvReader(std::string path, std::string text) : path_(std::move(path)), text_(std::move(text)) {
  if (text_.starts_with(kByteOrderMark)) pos_ = kByteOrderMark.size();
  ReadHeader();
}

void CsvReader::ReadHeader() {
  separator_ = DetectSeparator(std::string_view(text_).substr(pos_));
  splitter_ = CsvRowSplitter(separator_);
  std::vector<std::string_view> fields;
  if (!NextRow(fields)) throw InputError(path_ + ": expected a header line, found an empty file");
  header_.assign(fields.begin(), fields.end());
  headerLine_ = rowLine_;
}

int CsvReader::ColumnIndex(std::string_view name) const {
  const auto found = std::find(header_.begin(), header_.end(), name);
  return found == header_.end() ? -1 : static_cast<int>(found - header_.begin());
}

int CsvReader::RequireColumn(const std::string& name) const {
  const int index = ColumnIndex(name);
  if (index >= 0) return index;
  std::string header;
  for (std::size_t i = 0; i < header_.size(); ++i) {
    if (i > 0) header += separator_;
    header += header_[i];
  }
  throw InputError(path_ + ", line " + std::to_string(headerLine_) + ": expected a column '" + name +
                   "' in the header, found '" + Shown(header) + "'");
}

void CsvReader::RequireFieldCount(std::size_t count) const {
  if (count == header_.size()) return;
  FailLine("expected " + std::to_string(header_.size()) + " fields as in the header, found " +
           std::to_string(count));
}

bool CsvReader::NextRow(std::vector<std::string_view>& fields) {
  fields.clear();
  while (pos_ < text_.size() && (text_[pos_] == '\n' || text_.compare(pos_, 2, "\r\n") == 0)) {
    pos_ += text_[pos_] == '\r' ? 2 : 1;
    ++line_;
  }
  if (pos_ >= text_.size()) return false;
  rowLine_ = line_;
  rowStart_ = pos_;
  const CsvRowStatus status = splitter_.Split(text_, pos_, fields);
  if (status == CsvRowStatus::OpenQuote) {
    FailLine("expected a closing quote for the field opened on line " +
             std::to_string(LineOf(splitter_.ProblemAt())));
  }
  if (status == CsvRowStatus::TextAfterQuote) {
    FailLine(std::string("expected a separator after a closing quote, found '") +
             text_[splitter_.ProblemAt()] + "'");
  }
  line_ = LineOf(pos_);
  return true;
}

int CsvReader::LineOf(std::size_t offset) const {
  const auto from = text_.begin() + static_cast<std::ptrdiff_t>(rowStart_);
  return rowLine_ +
         static_cast<int>(std::count(from, text_.begin() + static_cast<std::ptrdiff_t>(offset), '\n'));
}

void CsvReader::FailField(int column, std::string_view expected, std::string_view found) const {
  std::string where = path_ + ", line " + std::to_string(rowLine_) + ", column " + std::to_string(column + 1);
  if (column < static_cast<int>(header_.size()) && !header_[column].empty()) {
    where += " (" + header_[column] + ")";
  }
  throw InputError(where + ": expected " + std::string(expected) + ", found '" + Shown(found) + "'");
}

void CsvReader::FailLine(std::string_view message) const {
  throw InputError(path_ + ", line " + std::to_string(rowLine_) + ": " + std::string(message));
}

}  // namespace nimbra
