#pragma once
// Formatting of log and report lines: %d, %s, %f (two decimals), %g (general form)
// and %%, with the decimal separator given by the caller. The desktop program
// passes its locale's separator; data files always use the point.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <variant>

namespace nimbra {

using FormatArg = std::variant<std::int64_t, double, std::string>;

// Fixed-point with exactly two decimals; an exact half is rounded away from zero.
std::string FormatFixed2(double value, std::string_view decimalSeparator);

// General form: at most 15 significant digits, fixed-point for magnitudes from
// 1e-4 up to below 1e15, otherwise as 1E100 or 2.5E-5.
std::string FormatGeneral(double value, std::string_view decimalSeparator);

// The shortest text of at most digits significant digits (printf's %.Ng), for data
// files such as CSV; always with the point.
std::string FormatSignificant(double value, int digits);

// Fills the directives of format with args in order; throws InvalidArgument when a
// directive has no argument or one of the wrong kind.
std::string FormatText(std::string_view format, std::span<const FormatArg> args,
                       std::string_view decimalSeparator);

template <class T>
FormatArg ToFormatArg(const T& value) {
  if constexpr (std::is_integral_v<T>) {
    return static_cast<std::int64_t>(value);
  } else if constexpr (std::is_floating_point_v<T>) {
    return static_cast<double>(value);
  } else {
    return std::string(value);
  }
}

}  // namespace nimbra
