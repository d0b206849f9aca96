#include "classic_file.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <numeric>
#include <optional>
#include <sstream>

#include "civil_date.h"
#include "errors.h"

namespace nimbra {

namespace {

constexpr char kEndOfFile = 26;  // Ctrl-Z ends a classic file

std::string Found(std::string_view token) {
  if (token.empty()) return "the end of the file";
  std::string quoted = "'";
  quoted.append(token);
  quoted += '\'';
  return quoted;
}

class Tokens {
 public:
  Tokens(std::string path, std::string text) : path_(std::move(path)), text_(std::move(text)) {
    if (const auto end = text_.find(kEndOfFile); end != std::string::npos) text_.resize(end);
  }

  // The header and parameters lines; true when records carry 24 hours.
  bool SkipHeader(int& skipCount) {
    const char letter = text_.empty() ? '\0' : text_[0];
    const bool header = letter == 'D' || letter == 'd' || letter == 'H' || letter == 'h';
    if (header) {
      ++pos_;
      std::size_t end = pos_;
      while (end < text_.size() && text_[end] != '\r' && text_[end] != '\n') ++end;
      std::istringstream(text_.substr(pos_, end - pos_)) >> skipCount;
      SkipLine();
      while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\r' || text_[pos_] == '\n'))
        Advance();
    }
    if (pos_ < text_.size() && (text_[pos_] == 'P' || text_[pos_] == 'p')) SkipLine();
    return letter == 'H' || letter == 'h';
  }

  bool AtEnd() {
    SkipSeparators();
    return pos_ >= text_.size();
  }

  int Line() const { return line_; }

  template <typename Number>
  Number Read(const char* what) {
    SkipSeparators();
    std::size_t end = pos_;
    while (end < text_.size() && static_cast<unsigned char>(text_[end]) > ' ') ++end;
    const std::string_view token(text_.data() + pos_, end - pos_);
    std::string_view digits = token.starts_with('+') ? token.substr(1) : token;
    Number value{};
    const auto [stop, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (token.empty() || error != std::errc() || stop != digits.data() + digits.size()) {
      Fail(std::string("expected ") + what + ", found " + Found(token));
    }
    pos_ = end;
    tokenLine_ = line_;
    return value;
  }

  // At the end of the file, the line of the last token read.
  [[noreturn]] void Fail(const std::string& message) const {
    const int line = pos_ >= text_.size() ? tokenLine_ : line_;
    throw InputError(path_ + ", line " + std::to_string(line) + ": " + message);
  }

 private:
  void Advance() {
    if (text_[pos_] == '\n' || (text_[pos_] == '\r' && (pos_ + 1 >= text_.size() || text_[pos_ + 1] != '\n')))
      ++line_;
    ++pos_;
  }
  void SkipLine() {
    while (pos_ < text_.size() && text_[pos_] != '\n' && text_[pos_] != '\r') ++pos_;
    if (pos_ < text_.size()) Advance();
    if (pos_ < text_.size() && text_[pos_ - 1] == '\r' && text_[pos_] == '\n') Advance();
  }
  void SkipSeparators() {
    while (pos_ < text_.size() && static_cast<unsigned char>(text_[pos_]) <= ' ') Advance();
  }

  std::string path_;
  std::string text_;
  std::size_t pos_ = 0;
  int line_ = 1;
  int tokenLine_ = 1;
};

std::int64_t RecordDate(const Tokens& tokens, int day, int tag, int period) {
  const bool valid =
      tag == 0 ? day >= 1 && day <= DaysFromCivil({period + 1, 1, 1}) - DaysFromCivil({period, 1, 1})
               : tag >= 1 && tag <= 12 && day >= 1 && day <= DaysInMonth(period, tag);
  if (!valid) {
    tokens.Fail("expected Day Tag Period to name a date (Tag the month, or 0 for a day of the year), found " +
                std::to_string(day) + " " + std::to_string(tag) + " " + std::to_string(period));
  }
  return tag == 0 ? DaysFromCivil({period, 1, 1}) + day - 1 : DaysFromCivil({period, tag, day});
}

ClassicRecord ReadRecord(Tokens& tokens, bool hasHours, int skipCount) {
  ClassicRecord record;
  record.Line = tokens.Line();
  const int day = tokens.Read<int>("the Day of a record (an integer)");
  record.Line = tokens.Line();
  const int tag = tokens.Read<int>("the Tag of a record (an integer)");
  const int period = tokens.Read<int>("the Period of a record (an integer)");
  record.Day = RecordDate(tokens, day, tag, period);
  for (int i = 0; i < skipCount; ++i) tokens.Read<double>("a skipped value (a number)");
  record.Depth = tokens.Read<double>("the daily depth (a number)");
  if (hasHours) {
    record.Hours.resize(24);
    for (double& hour : record.Hours) hour = tokens.Read<double>("an hourly depth (a number)");
  }
  return record;
}

void WriteLineOfHours(std::ostream& out, std::span<const double> hours) {
  char field[32];
  for (const double hour : hours) {
    std::snprintf(field, sizeof field, "%6.2f", hour);
    out << field;
  }
}

}  // namespace

ClassicFile ReadClassicFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw InOutError(path + ": cannot open the file");
  std::ostringstream text;
  text << in.rdbuf();
  Tokens tokens(path, std::move(text).str());
  int skipCount = 0;
  ClassicFile file;
  file.HasHours = tokens.SkipHeader(skipCount);
  while (!tokens.AtEnd()) file.Records.push_back(ReadRecord(tokens, file.HasHours, skipCount));
  return file;
}

void WriteClassicDay(std::ostream& out, std::int64_t serialDay, std::span<const double> hours) {
  const CivilDate date = CivilFromDays(serialDay);
  char head[64];
  std::snprintf(head, sizeof head, "\r\n%3d%3d%5d%6.2f", date.Day, date.Month, date.Year,
                std::accumulate(hours.begin(), hours.end(), 0.0));
  out << head;
  WriteLineOfHours(out, hours.first(12));
  out << "\r\n" << std::string(17, ' ');
  WriteLineOfHours(out, hours.subspan(12));
}

}  // namespace nimbra
