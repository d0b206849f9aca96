#include <cmath>
#include <fstream>

#include "engine_fixture.h"

namespace nimbra {
namespace {

struct ExpectedSummary {
  int Count;
  double Mean, StDev, Variation, Skewness;
  std::array<double, 11> Autoc;
};

struct ExpectedReport {
  const char* file;
  int sequences;
  ExpectedSummary all, wetDays, wetHours;
};

// Statistics of the observed hours of Berlin-Tempelhof, worked out independently of
// this program from the same records (the data's own documentation lists them).
const ExpectedReport kJuly{
    NIMBRA_EXAMPLES_DIR "/berlin_tempelhof_july_hourly.txt",
    112,
    {14880,
     0.10187500000000003,
     0.7380327663716484,
     7.244493412237037,
     16.552282135535982,
     {1.0, 0.31653867067410246, 0.1441955874535331, 0.09387149898355128, 0.06414957831303063,
      0.05797044721990867, 0.04091991763406872, 0.033869124202214676, 0.03380690535256173,
      0.03141119006922174, 0.03275791352851712}},
    {6456,
     0.23480483271375466,
     1.106488808440983,
     4.712376639154948,
     10.959667893691597,
     {1.0, 0.2987252211060954, 0.12187200028688115, 0.07102709602227697, 0.039956624338733406,
      0.03424432507191451, 0.01739478421800649, 0.010700598148383283, 0.010985442204478498,
      0.008606657197747718, 0.010353047781487016}},
    {1164,
     1.302319587628866,
     2.324626790211506,
     1.7849895004988408,
     5.091566956600256,
     {1.0, 0.2305613699831933, 0.11202295696603269, 0.06850555789319626, 0.03230423160411808,
      0.06993337856528571, -0.02419763484103825, -0.04628460557491465, -0.012481988869883743,
      -0.003187137296689319, 0.041577984563614716}},
};

const ExpectedReport kYears{
    NIMBRA_TEST_DATA_DIR "/berlin_tempelhof_years_2010_2014.txt",
    314,
    {43896,
     0.06329506105339891,
     0.4241754865974856,
     6.701557428621954,
     22.0723559932313,
     {1.0, 0.3527813088838947, 0.19629549517726438, 0.15051040488789064, 0.08875262020385072,
      0.0769133305570874, 0.07943383744452599, 0.07295128699702051, 0.059144319496553445, 0.05625313703091607,
      0.05089114593178259}},
    {19560,
     0.14204498977505112,
     0.6265836707880568,
     4.411163475602645,
     14.99028290249807,
     {1.0, 0.3349305885035108, 0.17528852944137718, 0.12947574706438117, 0.06736320577223741,
      0.05457195239787257, 0.05918183308635356, 0.0524790064665214, 0.03751879359096922, 0.03545154145109614,
      0.02991763888312709}},
    {4067,
     0.6831571182689944,
     1.232409556899568,
     1.803991386377247,
     8.08141917853832,
     {1.0, 0.300215236756942, 0.2130621607339735, 0.17167566295154085, 0.06809183590356715,
      0.09392899056403298, 0.15518468440362942, 0.15677801509123926, 0.14657081023804439, 0.19442119722700285,
      0.12557217391369507}},
};

void ExpectClose(double actual, double expected, const char* what) {
  EXPECT_NEAR(actual, expected, 1e-11 * std::max(1.0, std::fabs(expected)))
      << what << ": expected " << expected << ", actual " << actual << ", difference " << actual - expected;
}

void ExpectSummary(const StatisticsSummary& actual, const ExpectedSummary& expected) {
  EXPECT_EQ(actual.Count, expected.Count);
  ExpectClose(actual.Mean, expected.Mean, "Mean");
  ExpectClose(actual.StDev, expected.StDev, "StDev");
  ExpectClose(actual.Variation, expected.Variation, "Variation");
  ExpectClose(actual.Skewness, expected.Skewness, "Skewness");
  for (std::size_t k = 0; k < 11; ++k) ExpectClose(actual.Autoc[k], expected.Autoc[k], "Autoc");
}

class ReferenceReport : public testing::WithParamInterface<const ExpectedReport*>, public EngineTest {};

// The whole file run in file mode: the original column of the report reproduces the
// observed statistics.
TEST_P(ReferenceReport, OriginalStatisticsOfTheWholeFile) {
  const ExpectedReport& expected = *GetParam();
  std::ifstream file(expected.file, std::ios::binary);
  ASSERT_TRUE(file) << expected.file;
  S().InputFile = &file;
  S().ReadFromFile = true;
  // The disaggregated column is not looked at here: any storm set will do.
  S().Options.RepAllowed = 5;
  S().Options.RepDistanceAllowed = 1e9;
  S().Options.PerformAdjustment = false;
  engine.InitialiseRun();
  engine.ReadInputHeader();
  while (!S().EndOfInput) engine.NextSequence();
  EXPECT_EQ(S().SequenceNumber - 1, expected.sequences);
  EXPECT_EQ(log.LastLine(), "End of input file");
  engine.ComputeStatistics();
  ExpectSummary(S().AllStatsOriginal, expected.all);
  ExpectSummary(S().WetDayStatsOriginal, expected.wetDays);
  ExpectSummary(S().WetHourStatsOriginal, expected.wetHours);
  for (const auto& message : ui.messages) {
    EXPECT_EQ(message.rfind("Impossible to construct a storm", 0), 0u) << message;
  }
}

INSTANTIATE_TEST_SUITE_P(BerlinTempelhof, ReferenceReport, testing::Values(&kJuly, &kYears));

}  // namespace
}  // namespace nimbra
