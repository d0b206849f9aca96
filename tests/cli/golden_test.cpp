// Seeded runs compared with runs of an independent implementation of the method: every
// storm, search attempt, repetition count and distance is in the logs, so a change in
// the order of the random draws shows at once.

#include <cmath>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "cli_process.h"

namespace {

using namespace nimbra_test;

const std::string kGolden = NIMBRA_GOLDEN_DIR;
const std::string kData = NIMBRA_TEST_DATA_DIR;

struct GoldenCase {
  const char* name;
  std::string arguments;
};

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::vector<std::string> Words(const std::string& line) {
  std::vector<std::string> words;
  std::istringstream in(line);
  for (std::string word; in >> word;) words.push_back(word);
  return words;
}

// The statistics report's moments are sums in another order: their 15th digit may differ.
bool SameNumber(const std::string& expected, const std::string& actual) {
  char* end = nullptr;
  const double e = std::strtod(expected.c_str(), &end);
  if (*end != '\0') return false;
  const double a = std::strtod(actual.c_str(), &end);
  if (*end != '\0') return false;
  return std::fabs(a - e) <= 1e-12 * std::fabs(e);
}

bool SameLine(const std::string& expected, const std::string& actual) {
  if (expected == actual) return true;
  const auto e = Words(expected);
  const auto a = Words(actual);
  if (e.size() != a.size()) return false;
  for (std::size_t i = 0; i < e.size(); ++i) {
    if (e[i] != a[i] && !SameNumber(e[i], a[i])) return false;
  }
  return true;
}

class GoldenRun : public CliTest, public testing::WithParamInterface<GoldenCase> {};

TEST_P(GoldenRun, LogAndHourlyFileMatch) {
  const GoldenCase& golden = GetParam();
  const auto hourly = dir / "hourly.txt";
  const auto r = Run(golden.arguments + " -o " + hourly.string());
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(ReadFile(hourly) == ReadFile(kGolden + "/" + golden.name + ".hourly.txt"))
      << "the hourly file differs from " << golden.name << ".hourly.txt";
  const auto expected = Lines(ReadFile(kGolden + "/" + golden.name + ".log"));
  const auto actual = Lines(r.out);
  ASSERT_EQ(actual.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    ASSERT_TRUE(SameLine(expected[i], actual[i]))
        << "line " << i + 1 << "\nexpected: " << expected[i] << "\nactual:   " << actual[i];
  }
}

INSTANTIATE_TEST_SUITE_P(
    Runs, GoldenRun,
    testing::Values(
        GoldenCase{"test_seed0", "-s 0 -n 25"}, GoldenCase{"test_seed2_level2", "-s 2 -n 2 -l 2 --stats"},
        GoldenCase{"test_seed3_level3", "-s 3 -n 1 -l 3"},
        GoldenCase{"test_seed13_level3", "-s 13 -n 1 -l 3"},
        GoldenCase{"test_gamma_noadjust",
                   "-s 11 -n 10 --params \"0.9396 1.05819 0.0586 2.69569 0.006282916666666667 24.33408 12\" "
                   "--no-adjust --stats"},
        GoldenCase{"berlin_july", "-i " + kData + "/berlin_tempelhof_july_2000_2019.txt -s 4 --stats"},
        GoldenCase{"berlin_years", "-i " + kData + "/berlin_tempelhof_years_2010_2014.txt -s 5 -l 0 --stats"},
        GoldenCase{"berlin_years_level1",
                   "-i " + kData + "/berlin_tempelhof_years_2010_2014.txt -s 6 -l 1 -n 12"}),
    [](const testing::TestParamInfo<GoldenCase>& info) { return std::string(info.param.name); });

}  // namespace
