#include "stat2.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "errors.h"

namespace nimbra {
namespace {

const std::vector<double> kOneToFive{1, 2, 3, 4, 5};
const std::vector<double> kSkewed{1, 2, 3, 4, 10};  // deviations -3 -2 -1 0 6 about 4

TEST(ArrayStatistics, OneToFive) {
  EXPECT_EQ(ArrayMean(kOneToFive, 5), 3.0);
  EXPECT_EQ(ArrayVariance(kOneToFive, 5), 2.5);
  EXPECT_EQ(ArrayCentralMoment(2, kOneToFive, 5), 2.0);
  EXPECT_EQ(ArrayCentralMoment(4, kOneToFive, 5), 6.8);  // (16 + 1 + 0 + 1 + 16) / 5
  EXPECT_EQ(ArraySkewness(kOneToFive, 5), 0.0);
  EXPECT_DOUBLE_EQ(ArrayVariation(kOneToFive, 5), std::sqrt(2.5) / 3);
  EXPECT_EQ(ArrayMean(kOneToFive, 3), 2.0);  // only the leading N values count
}

TEST(ArrayStatistics, SkewnessUsesSampleSizeCorrection) {
  EXPECT_EQ(ArrayCentralMoment(2, kSkewed, 5), 10.0);  // 50 / 5
  EXPECT_EQ(ArrayCentralMoment(3, kSkewed, 5), 36.0);  // 180 / 5
  // 36 / 10^1.5 * 5/4 * 5/3
  EXPECT_NEAR(ArraySkewness(kSkewed, 5), 2.371708, 5e-7);
  EXPECT_NEAR(SkewnessCoefficient(10, 36, 5), 2.371708, 5e-7);
  EXPECT_EQ(SkewnessCoefficient(0, 5, 5), 1e100);
  EXPECT_EQ(SkewnessCoefficient(0, 0, 5), 0.0);
}

TEST(ArrayStatistics, ConstantSeries) {
  const std::vector<double> sevens(6, 7.0);
  EXPECT_EQ(ArrayVariance(sevens, 6), 0.0);
  EXPECT_EQ(ArraySkewness(sevens, 6), 0.0);
  EXPECT_EQ(ArrayVariation(sevens, 6), 0.0);
  for (int lag = 1; lag <= 4; ++lag) EXPECT_EQ(ArrayAutocorrelation(lag, sevens, 6), 0.0) << lag;
}

TEST(ArrayStatistics, DivisionsByZeroAreNotGuarded) {
  const std::vector<double> pair{1, 2}, equalPair{3, 3}, zeroMean{-1, 1};
  EXPECT_THROW(ArrayMean(kOneToFive, 0), FloatingPointError);
  EXPECT_THROW(ArrayVariance(kOneToFive, 1), FloatingPointError);
  EXPECT_THROW(ArraySkewness(pair, 2), FloatingPointError);  // N / (N - 2)
  EXPECT_EQ(ArraySkewness(equalPair, 2), 0.0);               // m2 = m3 = 0: no correction
  EXPECT_THROW(ArrayVariation(zeroMean, 2), FloatingPointError);
}

TEST(ArrayStatistics, IndexBeyondArrayIsRangeError) {
  EXPECT_THROW(ArrayMean(kOneToFive, 6), RangeError);
  EXPECT_THROW(Mean1(kOneToFive, 7, 4, 6), RangeError);  // positions valid for N, not the array
}

TEST(Mean1, StretchesAndPositionErrors) {
  EXPECT_EQ(Mean1(kSkewed, 5, 1, 5), ArrayMean(kSkewed, 5));
  EXPECT_EQ(Mean1(kSkewed, 5, 2, 4), 3.0);
  EXPECT_EQ(Mean1(kSkewed, 5, 5, 5), 10.0);
  EXPECT_DOUBLE_EQ(CentralMoment1(2, kSkewed, 5, 2, 4), 2.0 / 3);
  for (auto [first, last] : {std::pair{0, 3}, {3, 2}, {1, 6}}) {
    try {
      Mean1(kSkewed, 5, first, last);
      ADD_FAILURE() << first << ".." << last << " accepted";
    } catch (const InvalidArgument& e) {
      EXPECT_STREQ(e.what(), "Mean1: Error in Array position");
    }
  }
  try {
    CentralMoment1(2, kSkewed, 4, 1, 5);
    ADD_FAILURE() << "Last > N accepted";
  } catch (const InvalidArgument& e) {
    EXPECT_STREQ(e.what(), "CentralMoment1: Error in Array position");
  }
}

TEST(ArrayAutocorrelation, SeparateMeansAndSpreadsPerPart) {
  const std::vector<double> data{1, 3, 2, 5, 4};
  // Leading 1 3 2 5 about 2.75, trailing 3 2 5 4 about 3.5: products sum to 0.5.
  EXPECT_DOUBLE_EQ(ArrayLagCovariance(1, data, 5), 0.125);
  // 0.125 / sqrt(2.1875) / sqrt(1.25)
  EXPECT_NEAR(ArrayAutocorrelation(1, data, 5), 0.075593, 5e-7);
  EXPECT_NEAR(ArrayAutocorrelation(1, kOneToFive, 5), 1.0, 1e-12);
  EXPECT_NEAR(ArrayAutocorrelation(0, data, 5), 1.0, 1e-12);
}

TEST(ArrayAutocorrelation, StepTwoErrorsGiveZeroStepOneErrorsPropagate) {
  // One value per part: no spread, so the quotient is undefined.
  EXPECT_EQ(ArrayAutocorrelation(4, kOneToFive, 5), 0.0);
  // Squares overflow: the spreads are infinite and the quotient undefined.
  const std::vector<double> huge{1e200, -1e200, 1e200, -1e200};
  EXPECT_EQ(ArrayAutocorrelation(1, huge, 4), 0.0);
  try {
    ArrayAutocorrelation(5, kOneToFive, 5);
    ADD_FAILURE() << "lag N accepted";
  } catch (const InvalidArgument& e) {
    EXPECT_STREQ(e.what(), "CentralMoment1: Error in Array position");
  }
}

TEST(ArrayStatistics, SumsAreFormedInBlocksOfHundred) {
  std::vector<double> counting(250);
  for (int i = 0; i < 250; ++i) counting[i] = i + 1;
  EXPECT_EQ(ArrayMean(counting, 250), 125.5);

  // 64 is a quarter of the spacing of doubles near 2^60, so the 99 terms sharing a
  // block with 2^60 are lost; the next blocks, 100 and 56 terms, are summed apart:
  // (2^60 + 156 * 64) / 256 = 2^52 + 39. One running sum would give 2^52, exact
  // summation 2^52 + 63.75, a lost last partial block 2^52 + 25.
  std::vector<double> data(256, 64.0);
  data[0] = 0x1p60;
  EXPECT_EQ(ArrayMean(data, 256), 0x1p52 + 39);
}

}  // namespace
}  // namespace nimbra
