#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "berlin_july_set.h"
#include "cli_process.h"

namespace nimbra_test {
namespace {

using SeriesCli = CliTest;

const std::string kJuly = NIMBRA_EXAMPLES_DIR "/berlin_tempelhof_july_hourly.txt";
const std::string kParams =
    "season,lambda,kappa,phi,alpha,nu,mu_x,sigma_x\nall," + std::string(nimbra::kBerlinJulyValues) + "\n";

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::vector<std::string> Field(const std::string& line, char separator = ',') {
  std::vector<std::string> fields;
  std::istringstream in(line);
  for (std::string field; std::getline(in, field, separator);) fields.push_back(field);
  if (!line.empty() && line.back() == separator) fields.emplace_back();
  return fields;
}

// Per station and date of an hourly output: the hundredths written, or -1 per empty hour.
std::map<std::string, std::pair<long, int>> DailySums(const std::string& hourly) {
  std::map<std::string, std::pair<long, int>> sums;
  const auto lines = Lines(hourly);
  for (std::size_t i = 1; i < lines.size(); ++i) {
    const auto f = Field(lines[i]);
    auto& [hundredths, empty] = sums[f[0] + " " + f[1].substr(0, 10)];
    if (f[2].empty()) {
      ++empty;
    } else {
      hundredths += std::lround(std::stod(f[2]) * 100);
    }
  }
  return sums;
}

// Every day of the daily CSV: its depth reproduced to the hundredth, or 24 empty hours.
void ExpectTotalsReproduced(const std::string& daily, const std::string& hourly) {
  const auto sums = DailySums(hourly);
  const auto lines = Lines(daily);
  for (std::size_t i = 1; i < lines.size(); ++i) {
    const auto f = Field(lines[i]);
    const auto& [hundredths, empty] = sums.at(f[0] + " " + f[1]);
    if (f[2] == "NA") {
      EXPECT_EQ(empty, 24) << lines[i];
    } else {
      EXPECT_EQ(empty, 0) << lines[i];
      EXPECT_EQ(hundredths, std::lround(std::stod(f[2]) * 100)) << lines[i];
    }
  }
}

TEST_F(SeriesCli, AMissingDayInAWetSpellGivesTwoSequencesAndEmptyHours) {
  const std::string daily =
      "station,date,precip_mm\nX,2010-07-01,0\nX,2010-07-02,3.2\nX,2010-07-03,5.1\nX,2010-07-04,NA\n"
      "X,2010-07-05,7.4\nX,2010-07-06,2.2\nX,2010-07-07,0\n";
  std::ofstream(dir / "daily.csv") << daily;
  std::ofstream(dir / "params.csv") << kParams;
  const auto r = Run("disaggregate -i " + (dir / "daily.csv").string() + " -p " +
                     (dir / "params.csv").string() + " -o " + (dir / "hourly.csv").string() + " --seed 3");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "X: 7 days, 4 wet, 1 missing, 2 sequences, 0 failed\n");
  const std::string hourly = ReadFile(dir / "hourly.csv");
  EXPECT_EQ(Lines(hourly).size(), 1 + 7 * 24u);
  ExpectTotalsReproduced(daily, hourly);
  EXPECT_NE(ReadFile(dir / "hourly.csv.json").find("\"sequences\": 2, \"failed_sequences\": []"),
            std::string::npos);
}

TEST_F(SeriesCli, EachStationGetsTheHoursOfARunWithItAlone) {
  std::string a = "station,date,precip_mm\n", b = a, both = a;
  for (int d = 1; d <= 20; ++d) {
    const std::string date = "2010-07-" + std::string(d < 10 ? "0" : "") + std::to_string(d);
    a += "A," + date + "," + std::to_string(d % 3 == 0 ? 0 : d) + "\n";
    b += "B," + date + "," + std::to_string(d % 4 == 0 ? 0 : 25 - d) + "\n";
  }
  both += b.substr(b.find('\n') + 1) + a.substr(a.find('\n') + 1);
  std::ofstream(dir / "params.csv") << kParams;
  std::map<std::string, std::string> outputs;
  // Seeds are decimal whatever their leading zeros: 011 is 11, not octal 9.
  for (const auto& [name, text, seed] :
       {std::tuple{"a", a, "11"}, std::tuple{"b", b, "11"}, std::tuple{"both", both, "011"}}) {
    std::ofstream(dir / (std::string(name) + ".csv")) << text;
    const auto r =
        Run("disaggregate -i " + (dir / name).string() + ".csv -p " + (dir / "params.csv").string() + " -o " +
            (dir / name).string() + "_hourly.csv --seed " + seed);
    ASSERT_EQ(r.status, 0) << r.err;
    outputs[name] = ReadFile(dir / (std::string(name) + "_hourly.csv"));
  }
  const std::string header = "station,time,precip_mm\n";
  EXPECT_EQ(outputs["both"], outputs["a"] + outputs["b"].substr(header.size()));
  EXPECT_NE(outputs["a"].substr(header.size()), outputs["b"].substr(header.size()));
  ExpectTotalsReproduced(both, outputs["both"]);
}

TEST_F(SeriesCli, ThreadsAndShardsGiveTheBytesOfOneSerialRun) {
  std::string daily = "station,date,precip_mm\n";
  for (const char* station : {"Aachen", "Bonn", "Celle", "Dessau", "Essen", "Fulda"}) {
    for (int d = 1; d <= 20; ++d) {
      daily += std::string(station) + ",2010-07-" + (d < 10 ? "0" : "") + std::to_string(d) + "," +
               std::to_string((d * station[0]) % 7 < 3 ? 0 : (d * station[1]) % 17) + "\n";
    }
  }
  std::ofstream(dir / "daily.csv") << daily;
  std::ofstream(dir / "params.csv") << kParams;
  const std::string run =
      "disaggregate -q -i " + (dir / "daily.csv").string() + " -p " + (dir / "params.csv").string();
  const auto output = [&](const std::string& name) { return " -o " + (dir / name).string(); };
  ASSERT_EQ(Run(run + " -t 1" + output("serial.csv")).status, 0);
  ASSERT_EQ(Run(run + " -t 3" + output("threads.csv")).status, 0);
  std::string shards;
  for (int k = 0; k < 3; ++k) {
    const std::string shard = "shard" + std::to_string(k) + ".csv";
    ASSERT_EQ(Run(run + " --shard " + std::to_string(k) + "/3" + output(shard)).status, 0);
    shards += " " + (dir / shard).string();
  }
  const auto merge = Run("merge" + output("merged.csv") + shards);
  ASSERT_EQ(merge.status, 0) << merge.err;
  const std::string serial = ReadFile(dir / "serial.csv");
  EXPECT_EQ(Lines(serial).size(), 1 + 6 * 20 * 24u);
  EXPECT_TRUE(ReadFile(dir / "threads.csv") == serial);
  EXPECT_TRUE(ReadFile(dir / "merged.csv") == serial);
  EXPECT_NE(Run(run + " --shard 3/3" + output("bad.csv")).err.find("--shard must be K/N with 0 <= K < N"),
            std::string::npos);
}

TEST_F(SeriesCli, BadInputStopsTheRunBeforeAnyFileIsWritten) {
  std::ofstream(dir / "daily.csv") << "station,date,precip_mm\nX,2010-06-30,1\nX,2010-07-01,2\n";
  std::ofstream(dir / "bad.csv") << "station,date,precip_mm\nX,2010-06-30,1\nX,2010-07-01,-2\n";
  std::ofstream(dir / "july.csv") << "season,lambda,kappa,phi,alpha,nu,mu_x,sigma_x\n7,1,1,1,1,1,1,1\n";
  std::ofstream(dir / "params.csv") << kParams;
  std::ofstream(dir / "other.csv") << "station," + kParams.substr(0, kParams.find('\n') + 1) + "Y," +
                                          kParams.substr(kParams.find('\n') + 1);
  std::ofstream(dir / "fast.csv") << "season,lambda,kappa,phi,alpha,nu,mu_x,sigma_x\nall,60,1,1,3,1,1,1\n";
  const std::string d = dir.string() + "/";
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"-i " + d + "daily.csv -p " + d + "other.csv",
       "nimbra-cli disaggregate: " + d + "other.csv, line 2: station 'Y' is not in " + d + "daily.csv\n"},
      {"-i " + d + "daily.csv -p " + d + "fast.csv",
       "nimbra-cli disaggregate: " + d +
           "fast.csv, line 2, column 2 (lambda): The model parameter Lambda must lie between 1E-6 and 50 "
           "storms per day: below, the first storm's day is beyond any day number; above, one day needs more "
           "storms than an attempt holds; it is 60\n"},
      {"-i " + d + "daily.csv -p " + d + "params.csv --distance nan",
       "--distance: expected a finite number 0 or more such as 0.1, not nan\nRun with --help for more "
       "information.\n"},
      {"-i " + d + "daily.csv -p " + d + "july.csv",
       "nimbra-cli disaggregate: " + d +
           "july.csv: station 'X' has days in months 6, which no parameter set covers\n"},
      {"-i " + d + "bad.csv -p " + d + "params.csv",
       "nimbra-cli disaggregate: " + d +
           "bad.csv, line 3, column 3 (precip_mm): expected a depth in mm (0 to 10000) or "
           "a missing value, found '-2'\n"},
      {"-i " + d + "daily.csv -p " + d + "none.csv",
       "nimbra-cli disaggregate: " + d + "none.csv: cannot open the file\n"},
      {"-i " + d + "daily.csv -p " + d + "params.csv --missing -999,x",
       "nimbra-cli: --missing: expected numbers separated by commas, found 'x'\n"},
      {"-i " + d + "daily.csv -p " + d + "params.csv --station-column id",
       "nimbra-cli disaggregate: " + d +
           "daily.csv, line 1: expected a column 'id' in the header, found "
           "'station,date,precip_mm'\n"},
  };
  for (const auto& [arguments, message] : cases) {
    const auto r = Run("disaggregate " + arguments + " -o " + d + "hourly.csv --report " + d + "report.csv");
    EXPECT_EQ(r.status, 2) << arguments;
    EXPECT_EQ(r.err, message);
    std::set<std::string> files;
    for (const auto& entry : fs::directory_iterator(dir)) files.insert(entry.path().filename().string());
    EXPECT_EQ(files, (std::set<std::string>{"bad.csv", "daily.csv", "fast.csv", "july.csv", "other.csv",
                                            "params.csv", "stdout.txt", "stderr.txt"}));
  }
  EXPECT_EQ(Run("disaggregate -i " + d + "daily.csv -p " + d + "params.csv -o " + d + "h.csv --day-start 24")
                .status,
            2);
}

// The July example through the CSV path: its observed hours in the report agree with the
// classic report's wet-day and wet-hour statistics of the same record.
TEST_F(SeriesCli, TheJulyRecordConvertedRunsAndReportsAsTheClassicReport) {
  const std::string d = dir.string() + "/";
  const auto converted = Run("convert -i " + kJuly + " -o " + d + "daily.csv --hourly-output " + d +
                             "observed.csv --station Tempelhof");
  ASSERT_EQ(converted.status, 0) << converted.err;
  EXPECT_EQ(converted.out,
            kJuly + ": 620 days of station Tempelhof, 12 with a negative depth written as missing\n");
  std::ofstream(dir / "params.csv") << kParams;
  const auto r = Run("disaggregate -i " + d + "daily.csv -p " + d + "params.csv -o " + d +
                     "hourly.csv --report " + d + "report.csv --observed-hourly " + d + "observed.csv");
  ASSERT_EQ(r.status, 0) << r.err;
  ExpectTotalsReproduced(ReadFile(dir / "daily.csv"), ReadFile(dir / "hourly.csv"));

  struct Reference {
    std::string view;
    int count;
    double mean, stdev, autoc1;
  };
  const std::vector<Reference> references = {
      {"wet_days", 6456, 0.23480483271375466, 1.106488808440983, 0.2987252211060954},
      {"wet_hours", 1164, 1.302319587628866, 2.324626790211506, 0.2305613699831933}};
  std::map<std::string, std::vector<std::string>> observed;
  for (const auto& line : Lines(ReadFile(dir / "report.csv"))) {
    const auto f = Field(line);
    if (f[2] == "observed_hourly") observed[f[3]] = f;
  }
  for (const Reference& ref : references) {
    const auto& f = observed[ref.view];
    ASSERT_EQ(f.size(), 19u) << ref.view;
    EXPECT_EQ(std::stoi(f[4]), ref.count) << ref.view;
    EXPECT_NEAR(std::stod(f[5]), ref.mean, 1e-9 * ref.mean) << ref.view;
    EXPECT_NEAR(std::stod(f[6]), ref.stdev, 1e-9 * ref.stdev) << ref.view;
    EXPECT_NEAR(std::stod(f[9]), ref.autoc1, 1e-9) << ref.view;
  }

  const auto back = Run("convert -i " + d + "hourly.csv -o " + d + "classic.txt");
  ASSERT_EQ(back.status, 0) << back.err;
  EXPECT_EQ(
      back.out,
      d + "hourly.csv: 269 wet days of station Tempelhof written, 6362 days with a missing hour left out\n");
  const std::string classic = ReadFile(dir / "classic.txt");
  EXPECT_EQ(std::count(classic.begin(), classic.end(), '\n'), 2 * 269);
}

// Golden run: with five repetitions allowed, run seed 1 fails the six-day spell from 26 August
// (the station seed derives from the name, so the name is part of the setting).
TEST_F(SeriesCli, AFailedSequenceLeavesEmptyHoursAndIsListedWithItsDate) {
  const std::vector<double> august = {0,    2.6, 9.2,  0,   0,   10.4, 0,   0,   3.6, 0, 0,
                                      10.1, 6.5, 40.2, 2.1, 9.6, 1.6,  4.8, 0.1, 0,   0, 1.7,
                                      10,   0,   0,    3,   6.7, 4.3,  7.9, 7,   0.3};
  std::string daily = "station,date,precip_mm\n";
  for (std::size_t d = 0; d < august.size(); ++d) {
    daily += "Tempelhof,2010-08-" + std::string(d < 9 ? "0" : "") + std::to_string(d + 1) + "," +
             std::to_string(august[d]) + "\n";
  }
  std::ofstream(dir / "daily.csv") << daily;
  std::ofstream(dir / "params.csv") << kParams;
  const auto r =
      Run("disaggregate -i " + (dir / "daily.csv").string() + " -p " + (dir / "params.csv").string() +
          " -o " + (dir / "hourly.csv").string() + " --rep-allowed 5 --distance 1e9 --seed 1");
  EXPECT_EQ(r.status, 1) << r.err;
  EXPECT_NE(r.err.find("Tempelhof: 31 days, 20 wet, 0 missing, 6 sequences, 1 failed\n"), std::string::npos)
      << r.err;
  EXPECT_NE(
      r.err.find("Tempelhof: The sequence of 6 days from 2010-08-26 failed, and its hours are missing: "),
      std::string::npos)
      << r.err;
  EXPECT_NE(ReadFile(dir / "hourly.csv.json")
                .find("\"failed_sequences\": [{\"first_date\": \"2010-08-26\", \"days\": 6,"),
            std::string::npos);
  const auto sums = DailySums(ReadFile(dir / "hourly.csv"));
  for (std::size_t d = 0; d < august.size(); ++d) {
    const auto& [hundredths, empty] =
        sums.at("Tempelhof 2010-08-" + std::string(d < 9 ? "0" : "") + std::to_string(d + 1));
    EXPECT_EQ(empty, d >= 25 && d <= 30 ? 24 : 0) << d + 1;
    if (empty == 0) {
      EXPECT_EQ(hundredths, std::lround(august[d] * 100)) << d + 1;
    }
  }
}

}  // namespace
}  // namespace nimbra_test
