#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include "cli_process.h"

namespace nimbra_test {
namespace {

const std::string kExamples = NIMBRA_EXAMPLES_DIR;

class CalibrateCommand : public CliTest {
 protected:
  // The lines of an example file dated 2000 or 2001, under its header.
  std::string TwoJulys(const std::string& example, const std::string& name) {
    std::ifstream in(kExamples + "/" + example);
    std::string line, text;
    std::getline(in, line);
    text = line + '\n';
    while (std::getline(in, line)) {
      if (line.find(",2000-") != std::string::npos || line.find(",2001-") != std::string::npos)
        text += line + '\n';
    }
    std::ofstream(dir / name) << text;
    return (dir / name).string();
  }

  std::string Calibrate(const std::string& output, const std::string& more) {
    const std::string daily = TwoJulys("berlin_tempelhof_july_daily.csv", "daily.csv");
    const std::string hourly = TwoJulys("berlin_tempelhof_july_hourly.csv", "hourly.csv");
    const CliResult r = Run("calibrate --daily " + daily + " --observed-hourly " + hourly + " -p " +
                            kExamples + "/berlin_tempelhof_july_params.csv -o " + (dir / output).string() +
                            " --seeds 2 --evaluations 3 " + more);
    EXPECT_EQ(r.status, 0) << r.err;
    return ReadFile(dir / output);
  }

  std::string Disaggregate(const std::string& params, const std::string& more) {
    const CliResult r =
        Run("disaggregate -q -i " + (dir / "daily.csv").string() + " -p " + (dir / params).string() + " -o " +
            (dir / "hours.csv").string() + " --seed 3 " + more);
    EXPECT_EQ(r.status, 0) << r.err;
    return ReadFile(dir / "hours.csv");
  }
};

// Two runs, on one thread and on two, write the same file; disaggregate runs its sets with
// the repetition settings it holds, unless options say otherwise.
TEST_F(CalibrateCommand, ReproducibleFromItsSeedAndAppliedByDisaggregate) {
  const std::string calibrated = Calibrate("a.csv", "--threads 1 --report " + (dir / "report.csv").string());
  EXPECT_EQ(Calibrate("b.csv", "--threads 2"), calibrated);
  const std::string header = "season,lambda,kappa,phi,alpha,nu,mu_x,sigma_x";
  ASSERT_EQ(calibrated.substr(0, calibrated.find('\n')), header + ",calibrated,rep_factor,rep_min");
  // The set, then yes and the repetition settings.
  const std::string row = calibrated.substr(calibrated.find('\n') + 1);
  const auto yes = row.find(",yes,");
  ASSERT_NE(yes, std::string::npos) << row;
  const std::string set = row.substr(0, yes);
  const std::string repFactor = row.substr(yes + 5, row.rfind(',') - yes - 5);
  const std::string repMin = row.substr(row.rfind(',') + 1, row.size() - row.rfind(',') - 2);
  ASSERT_EQ(std::count(set.begin(), set.end(), ','), 7) << row;
  ASSERT_EQ(row.back(), '\n');
  const std::string report = ReadFile(dir / "report.csv");
  EXPECT_EQ(report.substr(0, report.find('\n')),
            "season,item,observed,before,after,model_before,model_after,weight");
  EXPECT_NE(report.find("\n7,variance@1,"), std::string::npos);
  EXPECT_NE(report.find("\n7,rep_factor,,20," + repFactor + ",,,\n"), std::string::npos) << report;

  std::ofstream(dir / "plain.csv") << header << '\n' << set << '\n';
  std::ofstream(dir / "ones.csv") << header << ",calibrated,rep_factor,rep_min\n" << set << ",yes,1,1\n";
  EXPECT_EQ(Disaggregate("plain.csv", "--rep-factor " + repFactor + " --rep-min " + repMin),
            Disaggregate("a.csv", ""));
  const std::string ones = Disaggregate("ones.csv", "");
  EXPECT_EQ(Disaggregate("plain.csv", "--rep-factor 1 --rep-min 1"), ones);
  EXPECT_NE(Disaggregate("plain.csv", ""), ones);
  EXPECT_EQ(Disaggregate("ones.csv", "--rep-factor 20 --rep-min 50"), Disaggregate("plain.csv", ""));
}

TEST_F(CalibrateCommand, BadInputExitsWithStatusTwoAndSaysWhy) {
  std::ofstream(dir / "august.csv") << "season,lambda,kappa,phi,alpha,nu,mu_x,sigma_x\n8,1,1,1,3,1,1,1\n";
  std::ofstream(dir / "dahlem.csv") << "station,date,precip_mm\nDahlem,2000-07-01,1.5\n";
  const std::string d = dir.string() + "/";
  const std::string hourly = kExamples + "/berlin_tempelhof_july_hourly.csv";
  const std::string july = kExamples + "/berlin_tempelhof_july_params.csv";
  const std::string inputs = "--daily " + kExamples + "/berlin_tempelhof_july_daily.csv --observed-hourly " +
                             kExamples + "/berlin_tempelhof_july_hourly.csv -o " + d + "out.csv ";
  const std::vector<std::pair<std::string, std::string>> cases = {
      {inputs + "-p " + july + " --seasons 8", "--seasons: " + july + " has no season '8'"},
      {inputs + "-p " + july + " --slowdown 0.5",
       "--slowdown: expected a number from 1 to 100 such as 2.5, not 0.5"},
      {inputs + "-p " + july + " --slowdown nan",
       "--slowdown: expected a number from 1 to 100 such as 2.5, not nan"},
      {inputs + "-p " + d + "august.csv --seasons 8",
       d + "august.csv, line 2: season '8': expected days with both a daily depth and 24 observed hours, "
           "found none"},
      {"--daily " + d + "dahlem.csv --observed-hourly " + hourly + " -o " + d + "out.csv -p " + july,
       hourly + ": has no hours of any station of " + d +
           "dahlem.csv: its stations are 'Tempelhof', those of " + d + "dahlem.csv 'Dahlem'"},
      {inputs + "-p " + d + "august.csv", d + "august.csv: no season has days with both a daily depth in " +
                                              kExamples +
                                              "/berlin_tempelhof_july_daily.csv and observed hours in " +
                                              kExamples + "/berlin_tempelhof_july_hourly.csv"},
  };
  for (const auto& [arguments, message] : cases) {
    const CliResult r = Run("calibrate " + arguments);
    EXPECT_EQ(r.status, 2) << arguments;
    EXPECT_EQ(r.err, "nimbra-cli calibrate: " + message + "\n") << arguments;
    EXPECT_FALSE(fs::exists(dir / "out.csv")) << arguments;
  }
}

// Twice the storms take more than the fitted set's run time on these Julys, and less than
// twice it: refused after their first seed at --slowdown 1, scored on both by default.
TEST_F(CalibrateCommand, SlowdownBoundsTheRunTimeOfTheCandidates) {
  const std::string twice =
      "candidate 4, cell duration x1.000, intensity spread x1.000, storms x2.000, "
      "storm duration x1.000, repetitions 20/50, objective ";
  const struct {
    const char* Option;
    bool Refused;
  } cases[] = {{" --slowdown 1", true}, {"", false}};
  for (const auto& c : cases) {
    const CliResult r =
        Run("calibrate --daily " + TwoJulys("berlin_tempelhof_july_daily.csv", "daily.csv") +
            " --observed-hourly " + TwoJulys("berlin_tempelhof_july_hourly.csv", "hourly.csv") + " -p " +
            kExamples + "/berlin_tempelhof_july_params.csv -o " + (dir / "out.csv").string() +
            " --seeds 2 --evaluations 1" + c.Option);
    EXPECT_EQ(r.status, 0) << r.err;
    const auto line = r.err.find(twice);
    ASSERT_NE(line, std::string::npos) << r.err;
    const auto from = line + twice.size();
    const std::string score = r.err.substr(from, r.err.find('\n', from) - from);
    EXPECT_EQ(score == "inf on 1 seeds", c.Refused) << c.Option << ": " << score;
    EXPECT_EQ(score.ends_with(" on 2 seeds") && !score.starts_with("inf"), !c.Refused)
        << c.Option << ": " << score;
  }
}

// Storms of 201 cells fail every wet sequence whatever the knobs, as no knob changes the
// cells per storm: the season is left as it was, said so, and the run ends with status 1.
TEST_F(CalibrateCommand, ASeasonNoCandidateCanRunIsLeftAsItWasWithStatusOne) {
  const std::string set = "7,0.454678781,0.2,0.001,3.9419622,0.02895838123,143.2772408,143.2772408";
  const fs::path params = dir / "big_storms.csv";
  std::ofstream(params) << "season,lambda,kappa,phi,alpha,nu,mu_x,sigma_x\n" << set << '\n';
  const CliResult r = Run("calibrate --daily " + TwoJulys("berlin_tempelhof_july_daily.csv", "daily.csv") +
                          " --observed-hourly " + TwoJulys("berlin_tempelhof_july_hourly.csv", "hourly.csv") +
                          " -p " + params.string() + " -o " + (dir / "out.csv").string() + " --seeds 2");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(
      r.err.find("Warning: " + params.string() +
                 ", line 2: season '7': no candidate disaggregated every wet sequence of the period (see "
                 "the set's warnings); the set is left as it was\n"),
      std::string::npos)
      << r.err;
  EXPECT_EQ(
      ReadFile(dir / "out.csv"),
      "season,lambda,kappa,phi,alpha,nu,mu_x,sigma_x,calibrated,rep_factor,rep_min\n" + set + ",no,,\n");
}

}  // namespace
}  // namespace nimbra_test
