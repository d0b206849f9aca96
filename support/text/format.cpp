#include "format.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "errors.h"

namespace nimbra {

namespace {

std::string SpecialValue(double value) {
  if (std::isnan(value)) return "NAN";
  return value < 0 ? "-INF" : "INF";
}

std::string WithSeparator(std::string text, std::string_view decimalSeparator) {
  const auto point = text.find('.');
  if (point != std::string::npos) text.replace(point, 1, decimalSeparator);
  return text;
}

// Digits of |value| rounded to 15 significant digits, trailing zeros dropped,
// and the decimal exponent of the first digit.
struct Decimal {
  std::string digits;
  int exponent;
};

Decimal RoundTo15Digits(double value) {
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "%.14e", std::fabs(value));
  const std::string text(buffer);
  const auto e = text.find('e');
  std::string digits(1, text[0]);
  digits.append(text, 2, e - 2);
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
  return {digits, std::atoi(text.c_str() + e + 1)};
}

std::string FixedFromDigits(const Decimal& d) {
  if (d.exponent < 0) {
    std::string text("0.");
    text.append(static_cast<std::size_t>(-d.exponent - 1), '0');
    return text.append(d.digits);
  }
  const auto integerDigits = static_cast<std::size_t>(d.exponent) + 1;
  if (d.digits.size() <= integerDigits) return d.digits + std::string(integerDigits - d.digits.size(), '0');
  return d.digits.substr(0, integerDigits) + "." + d.digits.substr(integerDigits);
}

std::string ExponentFromDigits(const Decimal& d) {
  std::string text(1, d.digits[0]);
  if (d.digits.size() > 1) text.append(".").append(d.digits, 1);
  return text.append("E").append(std::to_string(d.exponent));
}

[[noreturn]] void ThrowBadFormat(std::string_view format) {
  throw InvalidArgument("Format '" + std::string(format) + "' invalid or incompatible with argument");
}

template <class T>
const T& ArgumentAs(std::span<const FormatArg> args, std::size_t index, std::string_view format) {
  if (index >= args.size() || !std::holds_alternative<T>(args[index])) ThrowBadFormat(format);
  return std::get<T>(args[index]);
}

}  // namespace

std::string FormatFixed2(double value, std::string_view decimalSeparator) {
  if (!std::isfinite(value)) return SpecialValue(value);
  if (std::fabs(value) >= 0x1p53) {
    char buffer[400];
    std::snprintf(buffer, sizeof buffer, "%.2f", value);
    return WithSeparator(buffer, decimalSeparator);
  }
  // Below 2^53 a double times 100 is exact in the 64-bit mantissa, so ties are seen exactly.
  const long double scaled = std::fabs(static_cast<long double>(value) * 100);
  const long double whole = std::floor(scaled);
  const auto cents = static_cast<unsigned long long>(scaled - whole >= 0.5L ? whole + 1 : whole);
  const bool negative = value < 0 && cents != 0;
  char fraction[3];
  std::snprintf(fraction, sizeof fraction, "%02llu", cents % 100);
  std::string text(negative ? "-" : "");
  return text.append(std::to_string(cents / 100)).append(decimalSeparator).append(fraction);
}

std::string FormatGeneral(double value, std::string_view decimalSeparator) {
  if (!std::isfinite(value)) return SpecialValue(value);
  if (value == 0) return "0";
  const Decimal d = RoundTo15Digits(value);
  const bool fixed = d.exponent >= -4 && d.exponent < 15;
  std::string text(value < 0 ? "-" : "");
  text.append(fixed ? FixedFromDigits(d) : ExponentFromDigits(d));
  return WithSeparator(text, decimalSeparator);
}

std::string FormatText(std::string_view format, std::span<const FormatArg> args,
                       std::string_view decimalSeparator) {
  std::string out;
  std::size_t next = 0;
  for (std::size_t i = 0; i < format.size(); ++i) {
    if (format[i] != '%') {
      out += format[i];
      continue;
    }
    if (++i == format.size()) ThrowBadFormat(format);
    switch (format[i]) {
      case '%':
        out += '%';
        break;
      case 'd':
        out += std::to_string(ArgumentAs<std::int64_t>(args, next++, format));
        break;
      case 's':
        out += ArgumentAs<std::string>(args, next++, format);
        break;
      case 'f':
        out += FormatFixed2(ArgumentAs<double>(args, next++, format), decimalSeparator);
        break;
      case 'g':
        out += FormatGeneral(ArgumentAs<double>(args, next++, format), decimalSeparator);
        break;
      default:
        ThrowBadFormat(format);
    }
  }
  return out;
}

std::string FormatSignificant(double value, int digits) {
  char text[40];
  std::snprintf(text, sizeof text, "%.*g", digits, value);
  return text;
}

}  // namespace nimbra
