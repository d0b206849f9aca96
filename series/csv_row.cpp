#include "csv_row.h"

namespace nimbra {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

bool NeedsQuotes(std::string_view text) {
  if (text.find_first_of(",;\"\r\n") != std::string_view::npos) return true;
  return !text.empty() && (IsBlank(text.front()) || IsBlank(text.back()));
}

std::string Unescaped(std::string_view content) {
  std::string plain;
  for (std::size_t i = 0; i < content.size(); ++i) {
    plain += content[i];
    if (content[i] == '"') ++i;
  }
  return plain;
}

}  // namespace

std::string CsvField(std::string_view text) {
  if (!NeedsQuotes(text)) return std::string(text);
  std::string quoted = "\"";
  for (const char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + '"';
}

CsvRowStatus CsvRowSplitter::Split(std::string_view text, std::size_t& pos,
                                   std::vector<std::string_view>& fields) {
  fields.clear();
  unescaped_.clear();
  std::size_t at = pos;
  for (bool endOfRow = false; !endOfRow;) {
    std::string_view field;
    const CsvRowStatus status = Field(text, at, endOfRow, field);
    if (status != CsvRowStatus::Complete) return status;
    fields.push_back(field);
  }
  pos = at;
  return CsvRowStatus::Complete;
}

CsvRowStatus CsvRowSplitter::Field(std::string_view text, std::size_t& pos, bool& endOfRow,
                                   std::string_view& field) {
  std::size_t start = pos;
  while (start < text.size() && IsBlank(text[start])) ++start;
  if (start < text.size() && text[start] == '"') {
    pos = start;
    return QuotedField(text, pos, endOfRow, field);
  }
  std::size_t end = start;
  while (end < text.size() && text[end] != separator_ && text[end] != '\n') ++end;
  endOfRow = end >= text.size() || text[end] == '\n';
  std::size_t valueEnd = end;
  if (endOfRow && valueEnd > start && text[valueEnd - 1] == '\r') --valueEnd;
  pos = end < text.size() ? end + 1 : end;
  field = Trimmed(text.substr(start, valueEnd - start));
  return CsvRowStatus::Complete;
}

CsvRowStatus CsvRowSplitter::QuotedField(std::string_view text, std::size_t& pos, bool& endOfRow,
                                         std::string_view& field) {
  const std::size_t opening = pos;
  std::size_t close = pos + 1;
  bool doubled = false;
  for (;; ++close) {
    if (close >= text.size()) {
      problemAt_ = opening;
      return CsvRowStatus::OpenQuote;
    }
    if (text[close] != '"') continue;
    if (close + 1 >= text.size() || text[close + 1] != '"') break;
    doubled = true;
    ++close;
  }
  std::size_t after = close + 1;
  while (after < text.size() && IsBlank(text[after])) ++after;
  if (text.compare(after, 2, "\r\n") == 0) ++after;
  endOfRow = after >= text.size() || text[after] == '\n';
  if (!endOfRow && text[after] != separator_) {
    problemAt_ = after;
    return CsvRowStatus::TextAfterQuote;
  }
  pos = after < text.size() ? after + 1 : after;
  const std::string_view content = text.substr(opening + 1, close - opening - 1);
  field = doubled ? std::string_view(unescaped_.emplace_back(Unescaped(content))) : content;
  return CsvRowStatus::Complete;
}

}  // namespace nimbra
