#include "engine_fixture.h"

namespace nimbra {
namespace {

TEST_F(EngineTest, DefaultsAreTheActiveParameterSet) {
  EXPECT_EQ(S().Lambda, 0.9396);
  EXPECT_EQ(S().Kappa, 1.05819);
  EXPECT_EQ(S().Phi, 0.0586);
  EXPECT_EQ(S().Alpha, 2.69569);
  EXPECT_EQ(S().Nu, 0.006282916666666667);
  EXPECT_EQ(S().MuX, 24.33408);
  EXPECT_EQ(S().SigmaX, S().MuX);
  EXPECT_EQ(S().DaysPerMonth, 31);
  EXPECT_FALSE(S().GammaIntensity);
  EXPECT_EQ(S().RepLevel1Factor, 20);
  EXPECT_EQ(S().RepLevel1Min, 50);
  EXPECT_EQ(S().RepAllowed, 5000);
  EXPECT_EQ(S().RepDistanceAllowed, 0.1);
  EXPECT_TRUE(S().PerformAdjustment);
  EXPECT_EQ(S().ConstLength, 1);
  EXPECT_FALSE(S().UseConstLength || S().PrintProgress || S().PrintStormNumbers || S().PrintCellDetails);
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
  S().RandomSeed = 1234;
  engine.InitialiseRun();
  const double first = engine.Random().RandomUniform();
  engine.InitialiseRun();
  EXPECT_EQ(engine.Random().RandomUniform(), first);
}

TEST_F(EngineTest, EtaIsFixedFromAlphaOneHundred) {
  S().Alpha = 100;
  S().Nu = 30;
  const auto before = engine.Random().State();
  engine.UpdateStormRates();
  EXPECT_EQ(S().Eta, 30);
  EXPECT_EQ(S().Beta, S().Kappa * 30);
  EXPECT_EQ(S().Gamma, S().Phi * 30);
  EXPECT_EQ(engine.Random().State(), before);

  S().Alpha = 99.999;
  engine.UpdateStormRates();
  EXPECT_NE(engine.Random().State(), before);
  EXPECT_NE(S().Eta, 30);
}

TEST_F(EngineTest, BadRatesStopBeforeTheFirstDraw) {
  const struct {
    double EngineState::*field;
    double value;
    const char* name;
  } cases[] = {
      {&EngineState::Lambda, 0, "Lambda"},      {&EngineState::Kappa, -1, "Kappa"},
      {&EngineState::Phi, std::nan(""), "Phi"}, {&EngineState::Alpha, 0, "Alpha"},
      {&EngineState::Nu, INFINITY, "Nu"},       {&EngineState::MuX, 0, "MuX"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    engine.SetDefaults();
    S().*c.field = c.value;
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
  engine.SetDefaults();
  S().SigmaX = 0;
  int n = 1;
  EXPECT_NO_THROW(engine.SeekWetDrySequence(n, false));  // exponential intensities ignore SigmaX
  S().GammaIntensity = true;
  EXPECT_THROW(engine.SeekWetDrySequence(n, false), InvalidArgument);
}

TEST_F(EngineTest, InitialiseRunRefusesABadLambdaAndKeepsTheRun) {
  S().SequenceNumber = 4;
  S().Lambda = -1;
  EXPECT_THROW(engine.InitialiseRun(), InvalidArgument);
  EXPECT_EQ(S().SequenceNumber, 4);
}

}  // namespace
}  // namespace nimbra
