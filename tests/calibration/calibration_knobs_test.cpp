#include "calibration_knobs.h"

#include <gtest/gtest.h>

#include "model_statistics.h"

namespace nimbra {
namespace {

constexpr double kHour = 1.0 / 24;

// Longer cells at a lower intensity keep the mean depth, the cells per storm and the storm
// length, and smooth the hours; a wider intensity spread roughens them at the same mean;
// more and lighter storms keep the mean and wet more hours.
TEST(Knobs, KeepTheMeanDepthAndTheStormWhileMovingTheHourlyVariance) {
  const ModelParameters gammaEta{0.4547, 0.0747, 0.0259, 3.94, 0.029, 143.3, 143.3};
  const ModelParameters fixedEta = gammaEta.WithAlpha(kFixedEtaShape);
  for (const ModelParameters& fitted : {gammaEta, fixedEta}) {
    const ModelParameters longer = ApplyKnobs(fitted, {2.0, 1.0, 1.0, 20, 50});
    const ModelParameters wider = ApplyKnobs(fitted, {1.0, 1.5, 1.0, 20, 50});
    const ModelParameters moreStorms = ApplyKnobs(fitted, {1.0, 1.0, 2.0, 20, 50});
    const ModelStatistics before(fitted), afterLonger(longer), afterWider(wider), afterMore(moreStorms);
    for (const ModelStatistics* after : {&afterLonger, &afterWider, &afterMore}) {
      EXPECT_NEAR(after->Mean(1), before.Mean(1), 1e-12 * before.Mean(1));
    }
    EXPECT_NEAR(longer.Kappa / longer.Phi, fitted.Kappa / fitted.Phi, 1e-12);
    // The mean of eta halves, so beta = kappa eta and gamma = phi eta stay.
    const double etaBefore = fitted.FixedEta() ? fitted.Nu : fitted.Alpha / fitted.Nu;
    const double etaAfter = longer.FixedEta() ? longer.Nu : longer.Alpha / longer.Nu;
    EXPECT_NEAR(etaAfter, etaBefore / 2, 1e-12 * etaBefore);
    EXPECT_NEAR(longer.Phi * etaAfter, fitted.Phi * etaBefore, 1e-12);
    EXPECT_LT(afterLonger.Variance(kHour), 0.9 * before.Variance(kHour));
    EXPECT_GT(afterWider.Variance(kHour), 1.1 * before.Variance(kHour));
    EXPECT_TRUE(wider.GammaIntensity());
    EXPECT_NEAR(moreStorms.Lambda, 2 * fitted.Lambda, 1e-12 * fitted.Lambda);
    EXPECT_LT(afterMore.DryProbability(kHour), before.DryProbability(kHour) - 0.01);
  }
  const RunOptions run = ApplyKnobs(RunOptions{}, {1, 1, 1, 3, 7});
  EXPECT_EQ(run.RepLevel1Factor, 3);
  EXPECT_EQ(run.RepLevel1Min, 7);
}

}  // namespace
}  // namespace nimbra
