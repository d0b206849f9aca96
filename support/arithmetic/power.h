#pragma once
// Powers used by the statistics and the gamma variates.

namespace nimbra {

// x to the integer power k by repeated squaring, each step rounded to double.
double IntegerPower(double x, int k);

// b to the real power a as exp(a ln b); 0 when a ln b < -80.
double RealPower(double b, double a);

// The run-time power of the variate routines: exponent 0 gives 1, base 0 with a
// positive exponent gives 0, otherwise exp(exponent ln base), in extended precision.
long double RuntimePower(long double base, long double exponent);

}  // namespace nimbra
