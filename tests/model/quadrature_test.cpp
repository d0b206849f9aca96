#include "quadrature.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace nimbra {
namespace {

TEST(IntegrateAdaptive, MeetsItsToleranceOnAPeakedIntegrand) {
  // A narrow peak forces refinement: 1/(1 + 10^4 x^2) over [-1, 1] is 2 atan(100) / 100.
  const double value = IntegrateAdaptive([](double x) { return 1 / (1 + 1e4 * x * x); }, -1, 1);
  EXPECT_NEAR(value, 2 * std::atan(100.0) / 100, 1e-13);
}

// A value that is no number would never meet the tolerance: without a stop the halving
// goes on to 2^40 rules, which model-stats met with MuX of 1e150.
TEST(IntegrateAdaptive, ANonFiniteIntegrandEndsAfterOneRule) {
  for (const double bad :
       {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()}) {
    int calls = 0;
    const double value = IntegrateAdaptive(
        [&](double x) {
          ++calls;
          return x > 0.3 ? bad : 1.0;
        },
        0, 1);
    EXPECT_FALSE(std::isfinite(value)) << bad;
    EXPECT_EQ(calls, 16) << bad;  // the 15 nodes of one rule, its centre asked twice
  }
}

}  // namespace
}  // namespace nimbra
