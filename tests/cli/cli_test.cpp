#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct Result {
  int status;
  std::string out;
  std::string err;
};

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

class CliTest : public testing::Test {
 protected:
  fs::path dir =
      fs::path(testing::TempDir()) / ("nimbra_cli_" + std::to_string(::getpid()) + "_" +
                                      testing::UnitTest::GetInstance()->current_test_info()->name());
  void SetUp() override { fs::create_directories(dir); }
  void TearDown() override { fs::remove_all(dir); }

  Result Run(const std::string& arguments) {
    const auto out = dir / "stdout.txt";
    const auto err = dir / "stderr.txt";
    const std::string command =
        std::string(NIMBRA_CLI_PATH) + " " + arguments + " >" + out.string() + " 2>" + err.string();
    const int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadFile(out), ReadFile(err)};
  }
};

const std::string kJuly = NIMBRA_EXAMPLES_DIR "/berlin_tempelhof_july_hourly.txt";

TEST_F(CliTest, SameSeedGivesTheSameLogAndFileDifferentSeedsDiffer) {
  const auto a = Run("-n 4 -s 5 -o " + (dir / "a.txt").string());
  const auto b = Run("-n 4 -s 5 --threads 1 -o " + (dir / "b.txt").string());
  const auto c = Run("-n 4 -s 6 -o " + (dir / "c.txt").string());
  ASSERT_EQ(a.status, 0) << a.err;
  EXPECT_EQ(a.out, b.out);
  EXPECT_EQ(ReadFile(dir / "a.txt"), ReadFile(dir / "b.txt"));
  EXPECT_NE(a.out, c.out);
  EXPECT_NE(ReadFile(dir / "a.txt"), ReadFile(dir / "c.txt"));
  EXPECT_EQ(a.out.rfind("Sequence #1\n* Wet day sequence length: ", 0), 0u);
  EXPECT_NE(a.out.find("\nSequence #4\n"), std::string::npos);
  EXPECT_EQ(ReadFile(dir / "a.txt").rfind("\r\n", 0), 0u);
}

// The first uniform after seed 649090867 is 0, which the first exponential draw passes
// over; the state after 0 is seed 0's first, so the two runs are one and the same.
TEST_F(CliTest, AUniformOfZeroIsPassedOverAndTheRunGoesOn) {
  const auto zero = Run("-n 3 -l 2 -s 649090867");
  ASSERT_EQ(zero.status, 0) << zero.err;
  EXPECT_TRUE(zero.err.empty());
  EXPECT_EQ(zero.out, Run("-n 3 -l 2 -s 0").out);
}

TEST_F(CliTest, FileModeRunsToTheEndAndReportsTheObservedStatistics) {
  const auto r = Run("-i " + kJuly + " --rep-allowed 5 --distance 1e9 --no-adjust --stats -o " +
                     (dir / "hourly.txt").string());
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("\nSequence #113\nEnd of input file\n"), std::string::npos);
  EXPECT_NE(r.out.find("\nSTATISTICS\nAll data values\nCount     14880  "), std::string::npos);
  EXPECT_NE(r.out.find("\nWet days\nCount     6456  "), std::string::npos);
  EXPECT_NE(r.out.find("\nWet hours\nCount     1164  "), std::string::npos);
  EXPECT_NE(r.out.find("\nMean      0.101875  "), std::string::npos);
  // Every wet day of the file, two lines each.
  const std::string hourly = ReadFile(dir / "hourly.txt");
  EXPECT_EQ(std::count(hourly.begin(), hourly.end(), '\n'), 2 * 269);
}

// With 28 days per period, 31 July of one year lies after 1 July of the next on the
// day axis: the option beats the file's own 31, and the file is then out of order.
TEST_F(CliTest, OptionsWinOverTheParametersLine) {
  const auto r = Run("-i " + kJuly + " -n 40 --rep-allowed 5 --distance 1e9 --no-adjust --days-per-month 28");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.err.find("Error: The records in input file are not in increasing order of date\n"
                       "Please correct the error and try again\n"),
            std::string::npos);
  const auto plain = Run("-i " + kJuly + " -n 40 --rep-allowed 5 --distance 1e9 --no-adjust");
  EXPECT_EQ(plain.err.find("increasing order"), std::string::npos);
}

TEST_F(CliTest, LevelOneShowsTheSearch) {
  const auto r = Run("-n 1 -l 1");
  ASSERT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("\n* Synthesising the \"original\" sequence ...\n"), std::string::npos);
  EXPECT_NE(r.out.find("\n@ Attempt No. 1\n"), std::string::npos);
  EXPECT_NE(r.out.find("\n$ Wet/dry day sequence: "), std::string::npos);
}

TEST_F(CliTest, OptionsOutsideTheirFieldsAreClamped) {
  const auto r = Run("-n 3 --rep-allowed 0 -l 9");
  ASSERT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("& Repetitions performed 1 - Distance "), std::string::npos);
  EXPECT_EQ(r.out.find("& Repetitions performed 2 "), std::string::npos);
  EXPECT_NE(r.out.find("# Cell Number 1, "), std::string::npos);  // level 3
}

TEST_F(CliTest, BadStartsExitWithStatusTwo) {
  for (const std::string& arguments : std::vector<std::string>{
           "--bogus", "-i /nonexistent/rain.txt", "--params \"1 2 3\"", "-i " + kJuly + " --const-length 3",
           "--params \"0 1 1 1 1 1 1\"", "--threads 0"}) {
    SCOPED_TRACE(arguments);
    const auto r = Run(arguments);
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    EXPECT_TRUE(r.out.empty());
  }
}

TEST_F(CliTest, AFullDiskEndsEachStepWithAnErrorAndStatusOne) {
  const auto r = Run("-n 2 -o /dev/full");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("Error: "), std::string::npos);
  EXPECT_NE(r.out.find("Sequence #2"), std::string::npos);
}

}  // namespace
