#include "csv_reader.h"

#include <algorithm>
#include <fstream>

#include "errors.h"

namespace nimbra {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::size_t kPieceSize = 1 << 20;

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
  auto in = std::make_unique<std::ifstream>(path, std::ios::binary);
  if (!*in) throw InOutError(path + ": cannot open the file");
  return CsvReader(path, std::move(in));
}

CsvReader::CsvReader(std::string path, std::unique_ptr<std::istream> in)
    : path_(std::move(path)), in_(std::move(in)) {
  Start();
}

CsvReader::CsvReader(std::string path, std::string text) : path_(std::move(path)), text_(std::move(text)) {
  Start();
}

void CsvReader::Start() {
  EnsureRow();
  if (text_.starts_with(kByteOrderMark)) pos_ = kByteOrderMark.size();
  ReadHeader();
}

void CsvReader::Seek(std::uint64_t offset, int line) {
  line_ = line;
  if (!in_ && offset >= dropped_ && offset - dropped_ <= text_.size()) {
    pos_ = static_cast<std::size_t>(offset - dropped_);
    return;
  }
  if (!in_) in_ = std::make_unique<std::ifstream>(path_, std::ios::binary);
  in_->clear();
  in_->seekg(static_cast<std::streamoff>(offset));
  if (!*in_) throw InOutError(path_ + ": cannot read the file");
  text_.clear();
  pos_ = 0;
  dropped_ = offset;
}

// Drops what was read and appends the next piece of the file; false at its end.
bool CsvReader::Fill() {
  if (!in_) return false;
  text_.erase(0, pos_);
  dropped_ += pos_;
  pos_ = 0;
  const std::size_t had = text_.size();
  text_.resize(had + kPieceSize);
  in_->read(text_.data() + had, static_cast<std::streamsize>(kPieceSize));
  text_.resize(had + static_cast<std::size_t>(in_->gcount()));
  if (in_->bad()) throw InOutError(path_ + ": cannot read the file");
  if (text_.size() > had) return true;
  in_.reset();
  return false;
}

// Makes sure that text_ holds the row from pos_ on up to its line end, or the rest of
// the file, so that the row is parsed as if the whole file were in memory.
void CsvReader::EnsureRow() {
  bool quoted = false;
  for (std::size_t at = pos_;;) {
    for (; at < text_.size(); ++at) {
      if (text_[at] == '"') quoted = !quoted;
      if (text_[at] == '\n' && !quoted) return;
    }
    const std::size_t scanned = at - pos_;
    if (!Fill()) return;
    at = pos_ + scanned;
  }
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
  if (found == header_.end()) return -1;
  // Which of two columns of one name holds the values would be a guess.
  const auto again = std::find(found + 1, header_.end(), name);
  if (again != header_.end()) {
    throw InputError(path_ + ", line " + std::to_string(headerLine_) + ", column " +
                     std::to_string(again - header_.begin() + 1) +
                     ": expected each column named once, found '" + Shown(name) + "' as column " +
                     std::to_string(found - header_.begin() + 1) + " too");
  }
  return static_cast<int>(found - header_.begin());
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
  for (EnsureRow(); pos_ < text_.size() && (text_[pos_] == '\n' || text_.compare(pos_, 2, "\r\n") == 0);
       EnsureRow()) {
    pos_ += text_[pos_] == '\r' ? 2 : 1;
    ++line_;
  }
  if (pos_ >= text_.size()) return false;
  rowLine_ = line_;
  rowStart_ = pos_;
  rowOffset_ = dropped_ + pos_;
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
  FailColumn(column, "expected " + std::string(expected) + ", found '" + Shown(found) + "'");
}

void CsvReader::FailColumn(int column, std::string_view message) const {
  std::string where = path_ + ", line " + std::to_string(rowLine_) + ", column " + std::to_string(column + 1);
  if (column < static_cast<int>(header_.size()) && !header_[column].empty()) {
    where += " (" + header_[column] + ")";
  }
  throw InputError(where + ": " + std::string(message));
}

void CsvReader::FailLine(std::string_view message) const {
  throw InputError(path_ + ", line " + std::to_string(rowLine_) + ": " + std::string(message));
}

}  // namespace nimbra
