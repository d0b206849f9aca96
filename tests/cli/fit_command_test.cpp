#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "run_subcommand.h"

namespace {

namespace fs = std::filesystem;

const std::string kJuly = NIMBRA_TEST_DATA_DIR "/berlin_tempelhof_july_2015_2019_hourly.csv";

class FitCommandTest : public testing::Test {
 protected:
  fs::path dir = fs::path(testing::TempDir()) / ("nimbra_fit_" + std::to_string(::getpid()));
  void SetUp() override { fs::create_directories(dir); }
  void TearDown() override { fs::remove_all(dir); }

  std::string Path(const std::string& name) const { return (dir / name).string(); }
  std::string Read(const std::string& name) const {
    std::ifstream in(dir / name, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }
  void Write(const std::string& name, const std::string& text) const {
    std::ofstream(dir / name, std::ios::binary) << text;
  }
};

// The report's value of an item of season 7.
double ReportValue(const std::string& report, const std::string& item, int column) {
  std::istringstream lines(report);
  for (std::string line; std::getline(lines, line);) {
    std::istringstream fields(line);
    std::vector<std::string> row;
    for (std::string field; std::getline(fields, field, ',');) row.push_back(field);
    if (row.size() > 1 && row[0] == "7" && row[1] == item)
      return std::stod(row[static_cast<std::size_t>(column)]);
  }
  ADD_FAILURE() << "no row " << item;
  return 0;
}

// Five Julys of Berlin-Tempelhof: the fit is pinned to the last digit written, and the
// report gives each target and each searched parameter with its bounds, then the spread of
// the search's starts, whose best is the objective of the targets' rows.
TEST_F(FitCommandTest, WritesTheParametersAndTheReport) {
  const auto r =
      RunSubcommand("fit", "-i " + kJuly + " -o " + Path("params.csv") + " --report " + Path("fit.csv"));
  ASSERT_EQ(r.status, 0) << r.text;
  EXPECT_EQ(r.text, "");
  EXPECT_EQ(Read("params.csv"),
            "season,lambda,kappa,phi,alpha,nu,mu_x,sigma_x\n"
            "7,0.04516694902,0.0243416715,0.001,5.850262823,0.07368119999,143.5414525,143.5414525\n");
  const std::string report = Read("fit.csv");
  EXPECT_EQ(report.substr(0, report.find('\n')),
            "season,item,observed,fitted,weight,relative_error,low,high,bound");
  EXPECT_NE(report.find("\n7,variance@1,0.640729408,0.6464548187,1,0.008935770027,,,\n"), std::string::npos);
  EXPECT_NE(report.find("\n7,phi,,0.001,,,0.001,1,on bound\n"), std::string::npos);
  EXPECT_NE(report.find("\n7,cell_hours,,0.3645882428,,,0.08333333333,12,inside\n"), std::string::npos);
  double objective = 0;
  for (const char* target : {"mean@24", "variance@1", "variance@6", "variance@24", "autocorrelation_lag1@1",
                             "autocorrelation_lag1@24", "dry_probability@1", "dry_probability@24"}) {
    objective += std::pow(ReportValue(report, target, 5), 2);
  }
  const double best = ReportValue(report, "objective", 3);
  EXPECT_NEAR(best, objective, 1e-8);
  EXPECT_LE(best, ReportValue(report, "objective_median", 3));
  EXPECT_LE(ReportValue(report, "objective_median", 3), ReportValue(report, "objective_worst", 3));
  EXPECT_EQ(ReportValue(report, "starts", 3), 24);
  EXPECT_GE(ReportValue(report, "starts_within_2_percent", 3), 1);
  EXPECT_LE(ReportValue(report, "starts_within_2_percent", 3), 24);
}

// A user with daily data only holds alpha, nu and phi from a nearby hourly gauge. A season's
// name that needs quotes keeps them in the parameters file.
TEST_F(FitCommandTest, HoldsFixedParametersAndNamesSeasonsFromAFile) {
  Write("seasons.csv", "season,months\n\"summer, hot\",6 7 8\n");
  const auto r =
      RunSubcommand("fit", "-i " + kJuly + " -o " + Path("params.csv") + " --seasons " + Path("seasons.csv") +
                               " --fix alpha=4 --fix nu=0.03 --fix phi=0.026 --scales 24,48,72");
  ASSERT_EQ(r.status, 0) << r.text;
  const std::string params = Read("params.csv");
  EXPECT_EQ(params.substr(0, params.find('\n')), "season,months,lambda,kappa,phi,alpha,nu,mu_x,sigma_x");
  EXPECT_NE(params.find("\n\"summer, hot\",6 7 8,"), std::string::npos);
  EXPECT_NE(params.find(",0.026,4,0.03,"), std::string::npos);
}

TEST_F(FitCommandTest, BadInputExitsWithStatusTwoAndSaysWhy) {
  Write("dry.csv", "station,time,precip_mm\nA,2020-07-01T00:00,0\nA,2020-07-01T01:00,0\n");
  Write("bad_time.csv", "station,time,precip_mm\nA,2020-07-01T00:00,0\nA,2020-07-01T01:30,0\n");
  Write("bad_depth.csv", "station,time,precip_mm\nA,2020-07-01T00:00,-3\n");
  Write("seasons.csv", "season,months\nwinter,12 1 13\n");
  Write("overlapping.csv", "season,months\nsummer,6 7 8\nwet,5 6 7\n");
  const std::string out = " -o " + Path("params.csv");
  struct Case {
    std::string arguments;
    std::string message;
  };
  const std::vector<Case> cases = {
      {"-i " + Path("dry.csv") + out + " --seasons all",
       "nimbra-cli fit: " + Path("dry.csv") +
           ": Season all: no complete day (a day with all 24 hours) in the input\n"},
      {"-i " + kJuly + out + " --statistics mean@24,kurtosis@24",
       "nimbra-cli fit: Unknown statistic 'kurtosis@24': expected mean, variance, autocorrelation_lag1, "
       "dry_probability or skewness, then @ and a scale in hours that divides 24 or is a multiple of 24\n"},
      {"-i " + Path("bad_time.csv") + out,
       "nimbra-cli fit: " + Path("bad_time.csv") +
           ", line 3, column 2 (time): expected a time YYYY-MM-DDThh:00, found '2020-07-01T01:30'\n"},
      {"-i " + Path("bad_depth.csv") + out,
       "nimbra-cli fit: " + Path("bad_depth.csv") +
           ", line 2, column 3 (precip_mm): expected a depth in mm (0 to "
           "10000) or a missing value, found '-3'\n"},
      {"-i " + kJuly + out + " --seasons " + Path("seasons.csv"),
       "nimbra-cli fit: " + Path("seasons.csv") +
           ", line 2, field months: expected month numbers 1 to 12 each once, such as \"6 7 8\", not '12 1 "
           "13'\n"},
      {"-i " + kJuly + out + " --seasons " + Path("overlapping.csv"),
       "nimbra-cli fit: " + Path("overlapping.csv") +
           ", line 3, field months: expected months of no other season, found 6 7 of season 'summer' as "
           "well\n"},
      {"-i " + kJuly + out + " --seed 0x10",
       "nimbra-cli fit: --seed: expected a decimal integer such as 12, not 0x10\n"},
      {"-i " + kJuly + out + " --starts 0", "nimbra-cli fit: --starts: Value 0 not in range 1 to 100000\n"},
      {"-i " + kJuly + out + " --threads 0", "nimbra-cli fit: --threads: Value 0 not in range 1 to 1024\n"},
      {"-i " + kJuly + out + " --evaluations 1.5",
       "nimbra-cli fit: --evaluations: expected a decimal integer such as 12, not 1.5\n"},
      {"-i " + kJuly + out + " --fix eta=3",
       "nimbra-cli fit: Unknown parameter 'eta': expected lambda, kappa, phi, alpha, nu, cell_hours, mu_x or "
       "sigma_x\n"},
      {"-i " + Path("missing.csv") + out,
       "nimbra-cli fit: " + Path("missing.csv") + ": cannot open the file\n"},
  };
  for (const Case& c : cases) {
    const auto r = RunSubcommand("fit", c.arguments);
    EXPECT_EQ(r.status, 2) << c.arguments;
    EXPECT_EQ(r.text, c.message);
  }
}

}  // namespace
