#include "engine_fixture.h"

namespace nimbra {
namespace {

TEST_F(EngineTest, DefaultsAreTheActiveParameterSet) {
  EXPECT_EQ(S().Parameters.Lambda, 0.9396);
  EXPECT_EQ(S().Parameters.Kappa, 1.05819);
  EXPECT_EQ(S().Parameters.Phi, 0.0586);
  EXPECT_EQ(S().Parameters.Alpha, 2.69569);
  EXPECT_EQ(S().Parameters.Nu, 0.006282916666666667);
  EXPECT_EQ(S().Parameters.MuX, 24.33408);
  EXPECT_EQ(S().Parameters.SigmaX, S().Parameters.MuX);
  EXPECT_EQ(S().Options.DaysPerMonth, 31);
  EXPECT_FALSE(S().GammaIntensity);
  EXPECT_EQ(S().Options.RepLevel1Factor, 20);
  EXPECT_EQ(S().Options.RepLevel1Min, 50);
  EXPECT_EQ(S().Options.RepAllowed, 5000);
  EXPECT_EQ(S().Options.RepDistanceAllowed, 0.1);
  EXPECT_TRUE(S().Options.PerformAdjustment);
  EXPECT_EQ(S().Options.ConstLength, 1);
  EXPECT_FALSE(S().Options.UseConstLength || S().PrintProgress || S().PrintStormNumbers ||
               S().PrintCellDetails);
}

TEST_F(EngineTest, InitialiseRunSeedsClearsAndPlacesTheFirstStart) {
  log.AddLine("old text");
  S().SequenceNumber = 9;
  S().EndOfInput = true;
  S().AllValuesCount = 100;
  S().WetValuesOriginal[0] = 3;
  engine.InitialiseRun();
  EXPECT_TRUE(log.Lines().empty());
  EXPECT_EQ(S().SequenceNumber, 0);
  EXPECT_FALSE(S().EndOfInput);
  EXPECT_EQ(S().AllValuesCount, 0);
  EXPECT_EQ(S().WetValuesOriginal[0], -1.0);
  EXPECT_EQ(S().WetValuesSynthetic[1], -1.0);
  // Seed 0: the first draw is -ln(2^-32) / 0.9396 = 23.6 days.
  EXPECT_EQ(S().NextStart, (SequenceDate{24, 0, 1}));
  EXPECT_EQ(S().SequenceStart, (SequenceDate{1, 0, 1}));
  EXPECT_EQ(engine.Random().State(), 1u);
}

TEST_F(EngineTest, SameSeedRestartsTheSameRandomSequence) {
  S().Options.RandomSeed = 1234;
  engine.InitialiseRun();
  const double first = engine.Random().RandomUniform();
  engine.InitialiseRun();
  EXPECT_EQ(engine.Random().RandomUniform(), first);
}

TEST_F(EngineTest, EtaIsFixedFromAlphaOneHundred) {
  S().Parameters.Alpha = 100;
  S().Parameters.Nu = 30;
  const auto before = engine.Random().State();
  engine.UpdateStormRates();
  EXPECT_EQ(S().Eta, 30);
  EXPECT_EQ(S().Beta, S().Parameters.Kappa * 30);
  EXPECT_EQ(S().Gamma, S().Parameters.Phi * 30);
  EXPECT_EQ(engine.Random().State(), before);

  S().Parameters.Alpha = 99.999;
  engine.UpdateStormRates();
  EXPECT_NE(engine.Random().State(), before);
  EXPECT_NE(S().Eta, 30);
}

TEST_F(EngineTest, BadRatesStopBeforeTheFirstDraw) {
  const struct {
    double ModelParameters::*field;
    double value;
    const char* name;
  } cases[] = {
      {&ModelParameters::Lambda, 0, "Lambda"},      {&ModelParameters::Kappa, -1, "Kappa"},
      {&ModelParameters::Phi, std::nan(""), "Phi"}, {&ModelParameters::Alpha, 0, "Alpha"},
      {&ModelParameters::Nu, INFINITY, "Nu"},       {&ModelParameters::MuX, 0, "MuX"},
      {&ModelParameters::SigmaX, 0, "SigmaX"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    engine.SetDefaults();
    ModelParameters parameters = S().Parameters;
    parameters.*c.field = c.value;
    engine.SetParameters(parameters);
    const auto before = engine.Random().State();
    int n = 2;
    try {
      engine.SeekWetDrySequence(n, false);
      ADD_FAILURE() << "no error";
    } catch (const InvalidArgument& e) {
      EXPECT_NE(std::string(e.what()).find(c.name), std::string::npos) << e.what();
    }
    EXPECT_EQ(engine.Random().State(), before);
    EXPECT_EQ(n, 2);
  }
}

TEST_F(EngineTest, InitialiseRunRefusesABadLambdaAndKeepsTheRun) {
  S().SequenceNumber = 4;
  S().Parameters.Lambda = -1;
  EXPECT_THROW(engine.InitialiseRun(), InvalidArgument);
  EXPECT_EQ(S().SequenceNumber, 4);
}

}  // namespace
}  // namespace nimbra
