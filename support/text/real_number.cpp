#include "real_number.h"

#include <charconv>
#include <cstddef>
#include <string_view>
#include <system_error>

namespace nimbra {

namespace {

// The pieces of an accepted text, without the separator, ready to be rebuilt
// with a point whatever the locale.
struct RealShape {
  bool negative = false;
  std::string_view whole;
  std::string_view fraction;
  bool exponentNegative = false;
  std::string_view exponent;  // empty when there is no exponent part
};

class Scanner {
 public:
  explicit Scanner(std::string_view text) : text_(text) {}

  bool AtEnd() const { return position_ == text_.size(); }
  bool Take(char c) {
    if (AtEnd() || text_[position_] != c) return false;
    ++position_;
    return true;
  }
  bool Take(std::string_view word) {
    if (word.empty() || text_.substr(position_).substr(0, word.size()) != word) return false;
    position_ += word.size();
    return true;
  }
  std::string_view TakeDigits() {
    const std::size_t start = position_;
    while (!AtEnd() && text_[position_] >= '0' && text_[position_] <= '9') ++position_;
    return text_.substr(start, position_ - start);
  }
  bool TakeSign() {  // true for a minus
    if (Take('-')) return true;
    Take('+');
    return false;
  }

 private:
  std::string_view text_;
  std::size_t position_ = 0;
};

std::string_view TrimBlanks(std::string_view text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  const std::size_t last = text.find_last_not_of(' ');
  return text.substr(first, last - first + 1);
}

std::optional<RealShape> ScanReal(std::string_view text, std::string_view separator) {
  Scanner scanner(text);
  RealShape shape;
  shape.negative = scanner.TakeSign();
  shape.whole = scanner.TakeDigits();
  const bool hasSeparator = scanner.Take(separator);
  if (hasSeparator) shape.fraction = scanner.TakeDigits();
  if (shape.whole.empty() && shape.fraction.empty() && !hasSeparator) return std::nullopt;
  if (scanner.Take('E') || scanner.Take('e')) {
    shape.exponentNegative = scanner.TakeSign();
    shape.exponent = scanner.TakeDigits();
    if (shape.exponent.empty()) return std::nullopt;
  }
  if (!scanner.AtEnd()) return std::nullopt;
  return shape;
}

// The leading "0" and trailing "0" make "." and "5." well-formed for from_chars.
std::string PointForm(const RealShape& shape) {
  std::string result = shape.negative ? "-0" : "0";
  result.append(shape.whole).append(".").append(shape.fraction).append("0");
  if (!shape.exponent.empty()) result.append(shape.exponentNegative ? "e-" : "e").append(shape.exponent);
  return result;
}

// from_chars reports overflow and underflow alike; the magnitude of the first
// significant digit tells them apart (there is one: zero never leaves the range).
bool IsBelowOne(const RealShape& shape) {
  const std::string digits = std::string(shape.whole) + std::string(shape.fraction);
  const std::size_t firstSignificant = digits.find_first_not_of('0');
  long long exponent = 0;
  for (char c : shape.exponent) {
    exponent = exponent * 10 + (c - '0');
    if (exponent > 1'000'000'000) break;  // far beyond any double already
  }
  if (shape.exponentNegative) exponent = -exponent;
  const long long wholeDigits = static_cast<long long>(shape.whole.size());
  return exponent + wholeDigits - 1 - static_cast<long long>(firstSignificant) < 0;
}

std::optional<double> Convert(const RealShape& shape) {
  const std::string text = PointForm(shape);
  double value = 0.0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error == std::errc() && end == text.data() + text.size()) return value;
  if (error == std::errc::result_out_of_range && IsBelowOne(shape)) return shape.negative ? -0.0 : 0.0;
  return std::nullopt;
}

}  // namespace

std::optional<double> ParseRealNumber(const std::string& text, const std::string& decimalSeparator) {
  const std::optional<RealShape> shape = ScanReal(TrimBlanks(text), decimalSeparator);
  if (!shape) return std::nullopt;
  return Convert(*shape);
}

bool ReadRealNumber(const std::string& text, double& value, const std::string& decimalSeparator,
                    Prompts& prompts) {
  const std::optional<double> parsed = ParseRealNumber(text, decimalSeparator);
  if (!parsed) {
    prompts.Inform("Must be a real number");
    return false;
  }
  value = *parsed;
  return true;
}

}  // namespace nimbra
