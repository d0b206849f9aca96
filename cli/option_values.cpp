#include "option_values.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace nimbra {

namespace {

std::string ToDecimal(std::string& text) {
  int value = 0;
  const char* first = text.data() + (text.starts_with('+') ? 1 : 0);
  const char* last = text.data() + text.size();
  const auto [end, error] = std::from_chars(first, last, value);
  if (error == std::errc::result_out_of_range) {
    return "expected an integer from " + std::to_string(std::numeric_limits<int>::min()) + " to " +
           std::to_string(std::numeric_limits<int>::max()) + ", not " + text;
  }
  if (error != std::errc() || end != last || first == last || *first == '+') {
    return "expected a decimal integer such as 12, not " + text;
  }
  text = std::to_string(value);
  return {};
}

// The finite number text holds, or nan.
double FiniteReal(const std::string& text) {
  double value = 0;
  const char* first = text.data() + (text.starts_with('+') ? 1 : 0);
  const char* last = text.data() + text.size();
  const auto [end, error] = std::from_chars(first, last, value);
  return error != std::errc() || end != last || !std::isfinite(value) ? std::nan("") : value;
}

// A sidecar records the value in JSON, which has no nan and no infinity.
std::string CheckNonNegativeReal(const std::string& text) {
  if (!(FiniteReal(text) >= 0)) return "expected a finite number 0 or more such as 0.1, not " + text;
  return {};
}

}  // namespace

const CLI::Validator& DecimalInteger() {
  static const CLI::Validator validator(ToDecimal, "");
  return validator;
}

const CLI::Validator& NonNegativeReal() {
  static const CLI::Validator validator(CheckNonNegativeReal, "");
  return validator;
}

CLI::Validator RealFromOneTo(int most) {
  return CLI::Validator(
      [most](const std::string& text) -> std::string {
        const double value = FiniteReal(text);
        if (value >= 1 && value <= most) return {};
        return "expected a number from 1 to " + std::to_string(most) + " such as 2.5, not " + text;
      },
      "");
}

}  // namespace nimbra
