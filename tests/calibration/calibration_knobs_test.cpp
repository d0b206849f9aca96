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

// Knobs left at 1 give the fitted set bit for bit, whatever the repetitions: a set the
// calibration does not move runs as the fitted one.
TEST(Knobs, AtOneLeaveTheFittedSetExact) {
  const ModelParameters fitted{0.6060591733, 0.1893771202, 0.032192381, 2.56647711,
                               0.0166876283, 33.74484862,  33.74484862};
  const ModelParameters same = ApplyKnobs(fitted, {1, 1, 1, 5, 10, 1});
  for (const auto member :
       {&ModelParameters::Lambda, &ModelParameters::Kappa, &ModelParameters::Phi, &ModelParameters::Alpha,
        &ModelParameters::Nu, &ModelParameters::MuX, &ModelParameters::SigmaX}) {
    EXPECT_EQ(same.*member, fitted.*member);
  }
}

// The Berlin-Tempelhof January set (fitted on 1995-2024): storms twice or half as long with
// the same cells. Longer storms spread their cells so they overlap less, which lowers the
// hourly lag-1 autocorrelation and breaks wet spells up at nearly the same variance; the
// mean depth does not move. Values from the model's closed forms at 1 h.
TEST(Knobs, StormDurationMovesThePersistenceAtTheSameMeanDepth) {
  const ModelParameters january{0.6060591733, 0.1893771202, 0.032192381, 2.56647711,
                                0.0166876283, 33.74484862,  33.74484862};
  const ModelStatistics fitted(january);
  struct Expected {
    double Duration, Variance, Lag1, Dry;
  };
  for (const Expected& e : {Expected{1, 0.09876932202, 0.4599606608, 0.8741145303},
                            Expected{2, 0.09112068126, 0.4230105337, 0.847622014},
                            Expected{0.5, 0.1128837674, 0.5048626424, 0.9038253552}}) {
    const ModelParameters p = ApplyKnobs(january, {1, 1, 1, 20, 50, e.Duration});
    const ModelStatistics model(p);
    EXPECT_NEAR(model.Mean(kHour), fitted.Mean(kHour), 1e-12 * fitted.Mean(kHour)) << e.Duration;
    EXPECT_NEAR(model.Variance(kHour), e.Variance, 1e-9) << e.Duration;
    EXPECT_NEAR(model.Autocorrelation(kHour, 1), e.Lag1, 1e-9) << e.Duration;
    EXPECT_NEAR(model.DryProbability(kHour), e.Dry, 1e-9) << e.Duration;
    EXPECT_NEAR(p.Kappa / p.Phi, january.Kappa / january.Phi, 1e-12);
    EXPECT_EQ(p.Nu, january.Nu);
    EXPECT_EQ(p.MuX, january.MuX);
  }
}

// With the cell duration, the storm's rates move by both factors: beta = kappa eta and
// gamma = phi eta fall by the storm duration's factor alone, as eta falls by the cell's.
TEST(Knobs, StormDurationComposesWithTheCellDuration) {
  const ModelParameters fitted{0.4547, 0.0747, 0.0259, 3.94, 0.029, 143.3, 143.3};
  const ModelParameters both = ApplyKnobs(fitted, {2, 1, 1, 20, 50, 3});
  const ModelParameters cellsOnly = ApplyKnobs(fitted, {2, 1, 1, 20, 50, 1});
  EXPECT_NEAR(both.Phi, cellsOnly.Phi / 3, 1e-15);
  EXPECT_NEAR(both.Kappa, cellsOnly.Kappa / 3, 1e-15);
  EXPECT_EQ(both.Nu, cellsOnly.Nu);
  EXPECT_EQ(both.MuX, cellsOnly.MuX);
  EXPECT_NEAR(ModelStatistics(both).Mean(kHour), ModelStatistics(fitted).Mean(kHour),
              1e-12 * ModelStatistics(fitted).Mean(kHour));
}

}  // namespace
}  // namespace nimbra
