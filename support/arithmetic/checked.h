#pragma once
// Checked arithmetic and indexing. Real arithmetic here raises an error where the
// hardware would quietly produce an infinity or a NaN, so that a bad value ends the
// step with a clear message instead of spreading through a run.

#include <cmath>
#include <cstddef>
#include <span>
#include <string>

#include "errors.h"

namespace nimbra {

template <class Real>
Real Divide(Real numerator, Real denominator) {
  if (denominator == 0) {
    throw FloatingPointError(numerator == 0 || std::isnan(numerator) ? kInvalidOperation : kDivisionByZero);
  }
  return numerator / denominator;
}

// Natural logarithm in extended precision; the logarithm of 0 or of a negative
// number is an error rather than an infinity or a NaN.
inline long double CheckedLog(long double x) {
  if (x == 0) throw FloatingPointError("Floating point division by zero (logarithm of 0)");
  if (!(x > 0)) throw FloatingPointError("Invalid floating point operation (logarithm of a negative number)");
  return logl(x);
}

inline long double CheckedExp(long double x) {
  const long double result = expl(x);
  if (std::isinf(result)) throw FloatingPointError(kOverflow);
  return result;
}

inline double CheckedSqrt(double x) {
  if (x < 0 || std::isnan(x)) throw FloatingPointError(kInvalidOperation);
  return std::sqrt(x);
}

[[noreturn]] inline void ThrowRangeError(long long index, long long first, long long last) {
  throw RangeError(std::string(kRangeCheck) + ": index " + std::to_string(index) + " outside " +
                   std::to_string(first) + ".." + std::to_string(last));
}

// Truncation towards zero of a real that must fit an int; NaN and infinities are errors.
inline int TruncToInt(double x) {
  if (!(x > -2147483649.0 && x < 2147483648.0)) {
    throw RangeError(std::string(kRangeCheck) + ": " + std::to_string(x) + " does not fit an integer");
  }
  return static_cast<int>(x);
}

template <class T>
T& At(std::span<T> data, long long index) {
  if (index < 0 || static_cast<unsigned long long>(index) >= data.size()) {
    ThrowRangeError(index, 0, static_cast<long long>(data.size()) - 1);
  }
  return data[static_cast<std::size_t>(index)];
}

}  // namespace nimbra
