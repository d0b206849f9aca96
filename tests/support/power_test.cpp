#include "power.h"

#include <gtest/gtest.h>

#include <cmath>

#include "errors.h"

namespace nimbra {
namespace {

TEST(IntegerPower, ZeroOneAndSigns) {
  EXPECT_EQ(IntegerPower(0.0, 0), 1.0);
  EXPECT_EQ(IntegerPower(0.0, 5), 0.0);
  EXPECT_EQ(IntegerPower(-2.0, 3), -8.0);
  EXPECT_EQ(IntegerPower(-2.0, 4), 16.0);
  EXPECT_EQ(IntegerPower(2.0, -2), 0.25);
  EXPECT_EQ(IntegerPower(1.5, 10), 57.6650390625);
  EXPECT_THROW(IntegerPower(0.0, -1), FloatingPointError);
}

TEST(RealPower, RuleOrderAndUnderflowToZero) {
  EXPECT_EQ(RealPower(0.0, 0.0), 1.0);
  EXPECT_EQ(RealPower(0.0, 1.5), 0.0);
  EXPECT_DOUBLE_EQ(RealPower(10.0, 1.5), std::pow(10.0, 1.5));
  EXPECT_DOUBLE_EQ(RealPower(4.0, -0.5), 0.5);
  EXPECT_EQ(RealPower(1e-40, 2.0), 0.0);  // 2 ln 1e-40 < -80
  EXPECT_GT(RealPower(1e-17, 2.0), 0.0);  // 2 ln 1e-17 > -80
  EXPECT_THROW(RealPower(-1.0, 0.5), FloatingPointError);
  EXPECT_THROW(RealPower(1e300, 3.0), FloatingPointError);
}

}  // namespace
}  // namespace nimbra
