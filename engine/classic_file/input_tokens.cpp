#include "input_tokens.h"

#include <charconv>

namespace nimbra {

namespace {

constexpr int kCtrlZ = 26;
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::size_t SkipDigits(std::string_view text, std::size_t at) {
  while (at < text.size() && IsDigit(text[at])) ++at;
  return at;
}

// from_chars takes no plus sign.
std::string_view WithoutPlus(std::string_view token) {
  return !token.empty() && token[0] == '+' ? token.substr(1) : token;
}

std::size_t SkipSign(std::string_view text, std::size_t at) {
  return at < text.size() && (text[at] == '+' || text[at] == '-') ? at + 1 : at;
}

// Where the exponent part of a real token ends, or npos when it is malformed.
std::size_t SkipExponent(std::string_view text, std::size_t at) {
  if (at == text.size() || (text[at] != 'E' && text[at] != 'e')) return at;
  const std::size_t digits = SkipSign(text, at + 1);
  const std::size_t end = SkipDigits(text, digits);
  return end == digits ? std::string_view::npos : end;
}

bool HasRealShape(std::string_view token) {
  const std::size_t digits = SkipSign(token, 0);
  std::size_t at = SkipDigits(token, digits);
  if (at == digits) return false;
  if (at < token.size() && token[at] == '.') at = SkipDigits(token, at + 1);
  return SkipExponent(token, at) == token.size();
}

template <class Number>
std::optional<Number> Convert(std::string_view text) {
  Number value{};
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

}  // namespace

int InputScanner::Peek() {
  const auto c = in_.peek();
  return c == std::istream::traits_type::eof() || c == kCtrlZ ? kEndOfText : static_cast<int>(c);
}

int InputScanner::Get() {
  const int c = Peek();
  if (c == kEndOfText) return c;
  in_.get();
  if (IsLineEnd(c)) ++line_;
  if (c == '\r' && Peek() == '\n') in_.get();
  return c;
}

bool InputScanner::SkipSeparators() {
  while (IsSeparator(Peek())) Get();
  return Peek() != kEndOfText;
}

std::string InputScanner::NextToken() {
  std::string token;
  SkipSeparators();
  for (int c = Peek(); c != kEndOfText && !IsSeparator(c); c = Peek()) token += static_cast<char>(Get());
  return token;
}

void InputScanner::SkipLine() {
  for (int c = Get(); c != kEndOfText && !IsLineEnd(c); c = Get()) {
  }
}

std::string InputScanner::RestOfLine() {
  std::string text;
  for (int c = Get(); c != kEndOfText && !IsLineEnd(c); c = Get()) text += static_cast<char>(c);
  return text;
}

void InputScanner::SkipByteOrderMark() {
  const auto start = in_.tellg();
  std::string head(kByteOrderMark.size(), '\0');
  in_.read(head.data(), static_cast<std::streamsize>(head.size()));
  if (in_.gcount() == static_cast<std::streamsize>(head.size()) && head == kByteOrderMark) return;
  in_.clear();
  in_.seekg(start);
}

std::vector<std::string> SplitTokens(std::string_view text) {
  std::vector<std::string> tokens;
  std::size_t at = 0;
  for (;;) {
    while (at < text.size() && IsSeparator(static_cast<unsigned char>(text[at]))) ++at;
    if (at == text.size()) return tokens;
    const std::size_t start = at;
    while (at < text.size() && !IsSeparator(static_cast<unsigned char>(text[at]))) ++at;
    tokens.emplace_back(text.substr(start, at - start));
  }
}

std::string InputLineName(const std::string& fileName, std::int64_t line) {
  std::string name = "line " + std::to_string(line) + " of the input file";
  return fileName.empty() ? name : name + " " + fileName;
}

std::optional<int> ParseInteger(std::string_view token) {
  const std::size_t digits = SkipSign(token, 0);
  if (digits == token.size() || SkipDigits(token, digits) != token.size()) return std::nullopt;
  return Convert<int>(WithoutPlus(token));
}

std::optional<double> ParseReal(std::string_view token) {
  if (!HasRealShape(token)) return std::nullopt;
  return Convert<double>(WithoutPlus(token));
}

}  // namespace nimbra
