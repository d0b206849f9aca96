#include "power.h"

#include <limits>

#include "checked.h"

namespace nimbra {

double IntegerPower(double x, int k) {
  if (k == 0) return 1.0;
  if (x == 0 && k > 0) return 0.0;
  if (k < 0) {
    if (k == std::numeric_limits<int>::min()) throw RangeError("Integer overflow in IntegerPower");
    return Divide(1.0, IntegerPower(x, -k));
  }
  if (k % 2 == 0) {
    const double half = IntegerPower(x, k / 2);
    return half * half;
  }
  return IntegerPower(x, k - 1) * x;
}

double RealPower(double b, double a) {
  if (a == 0) return 1.0;
  if (b == 0) return 0.0;
  if (a < 0) return Divide(1.0, RealPower(b, -a));
  const long double exponent = a * CheckedLog(b);
  if (exponent < -80) return 0.0;
  const double result = static_cast<double>(CheckedExp(exponent));
  if (std::isinf(result)) throw FloatingPointError(kOverflow);
  return result;
}

long double RuntimePower(long double base, long double exponent) {
  if (exponent == 0) return 1.0L;
  if (base == 0 && exponent > 0) return 0.0L;
  return CheckedExp(exponent * CheckedLog(base));
}

}  // namespace nimbra
