#include <algorithm>
#include <csignal>
#include <fstream>
#include <string>
#include <vector>

#include "cli_process.h"

namespace {

using namespace nimbra_test;

const std::string kJuly = NIMBRA_EXAMPLES_DIR "/berlin_tempelhof_july_hourly.txt";

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

// With 28 days per period, 29 July lies outside its period: the option beats the
// file's own 31, and the file's records no longer fit it.
TEST_F(CliTest, OptionsWinOverTheParametersLine) {
  const auto r = Run("-i " + kJuly + " -n 40 --rep-allowed 5 --distance 1e9 --no-adjust --days-per-month 28");
  EXPECT_NE(r.err.find("Day 29 in line 31 of the input file " + kJuly +
                       " is outside 1 to 28, the days per month: the input ends there.\n"),
            std::string::npos);
  const auto plain = Run("-i " + kJuly + " -n 40 --rep-allowed 5 --distance 1e9 --no-adjust");
  EXPECT_EQ(plain.status, 0) << plain.err;
  EXPECT_EQ(plain.err.find("the days per month"), std::string::npos) << plain.err;
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

// A search gives up after ten attempts per repetition allowed: --rep-allowed 0 is clamped
// to 1, so a twelve-day wet spell is sought in exactly ten attempts, never more and not one.
TEST_F(CliTest, TheRepetitionsAllowedClampedBoundTheSearchesAttempts) {
  std::string spell = "D 0\r\n";
  for (int day = 1; day <= 12; ++day)
    spell += std::to_string(day) + " 7 2000 " + std::to_string(day % 5 + 1) + "\r\n";
  std::ofstream(dir / "spell.txt") << spell;
  for (const auto& [given, attempts] : {std::pair{"0", 10}, std::pair{"2", 20}}) {
    const auto r = Run("-i " + (dir / "spell.txt").string() + " -n 1 -l 1 --rep-allowed " + given);
    EXPECT_NE(r.out.find("\n@ Attempt No. " + std::to_string(attempts) + "\n"), std::string::npos) << given;
    EXPECT_EQ(r.out.find("\n@ Attempt No. " + std::to_string(attempts + 1) + "\n"), std::string::npos)
        << given;
  }
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

void WriteFile(const fs::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

// Nothing is opened, and so nothing truncated, when the files cannot work.
TEST_F(CliTest, InputAndOutputThatCannotWorkAreRefusedBeforeAnythingIsOpened) {
  const std::string input = (dir / "rain.txt").string();
  WriteFile(input, "1 1 5 2\r\n");
  fs::create_symlink(input, dir / "link.txt");
  fs::create_directory(dir / "folder");
  const std::string link = (dir / "link.txt").string();
  const std::string folder = (dir / "folder").string();
  const std::string destroy = ": writing it would destroy the input before it is read\n";
  const struct {
    std::string arguments;
    std::string err;
  } cases[] = {
      {"-i " + input + " -o " + input,
       "nimbra-cli: the output file " + input + " is the input file " + input + destroy},
      {"-i " + input + " -o " + link,
       "nimbra-cli: the output file " + link + " is the input file " + input + destroy},
      {"-i " + folder, "nimbra-cli: the input file " + folder + " is a directory\n"},
      {"-n 1 -o " + folder, "nimbra-cli: the output file " + folder + " is a directory\n"},
  };
  for (const auto& c : cases) {
    const auto r = Run(c.arguments);
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, c.err);
    EXPECT_TRUE(r.out.empty());
    EXPECT_EQ(ReadFile(input), "1 1 5 2\r\n");
  }
}

const std::string kFastRun = " --rep-allowed 5 --distance 1e9 --no-adjust -s 3";

// The output holds the sequences before the bad record, and the status says that the
// rest is missing.
TEST_F(CliTest, InputEndedByABadRecordExitsWithStatusOne) {
  const std::string input = (dir / "rain.txt").string();
  WriteFile(input, "D 0\r\n1 1 5 2\r\n2 1 5 1e400\r\n4 1 5 2\r\n");
  const auto r = Run("-i " + input + kFastRun + " -o " + (dir / "hourly.txt").string());
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err,
            "Invalid number \"1e400\" for Depth in line 3 of the input file " + input +
                ": a real number such as 2.5 is expected; the input ends there.\n"
                "Error: the input file was not read to its end (see the message above): its later records "
                "are missing from the output.\n");
  const std::string hourly = ReadFile(dir / "hourly.txt");
  EXPECT_EQ(hourly.rfind("\r\n  1  1    5", 0), 0u);
  EXPECT_EQ(std::count(hourly.begin(), hourly.end(), '\n'), 2);
}

TEST_F(CliTest, SequencesMissingFromTheOutputAreListedAtTheEnd) {
  const std::string input = (dir / "rain.txt").string();
  WriteFile(input, "1 1 5 2\r\n5 1 5 2\r\n6 1 5 2\r\n3 1 5 2\r\n9 1 5 2\r\n");
  const auto r = Run("-i " + input + kFastRun + " -o " + (dir / "hourly.txt").string());
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, std::string("Error: The records in input file are not in increasing order of date\n"
                               "Please correct the error and try again\n"
                               "Error: 1 sequence is missing from the output:\n"
                               "  day 3, tag 1, period 5, 1 day\n"));
  const std::string hourly = ReadFile(dir / "hourly.txt");
  EXPECT_EQ(std::count(hourly.begin(), hourly.end(), '\n'), 2 * 4);
  EXPECT_EQ(hourly.find("\r\n  3  1    5"), std::string::npos);
}

// An observed hour of -1 would pass for the statistics' record separator.
TEST_F(CliTest, NegativeObservedHoursCountAsDryHoursInTheStatistics) {
  std::string text = "H 0\r\n";
  for (int day = 1; day <= 25; ++day) {
    text += std::to_string(2 * day) + " 1 5 1 -1";
    for (int h = 2; h <= 24; ++h) text += h == 12 ? " 1" : " 0";
    text += "\r\n";
  }
  const std::string input = (dir / "rain.txt").string();
  WriteFile(input, text);
  const auto r = Run("-i " + input + kFastRun + " --days-per-month 60 --stats");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("\nWet days\nCount     600  600\n"), std::string::npos) << r.out;
  EXPECT_EQ(r.err,
            "Negative observed hours are read as dry hours (0 mm), as negative depths are read as dry days; "
            "the first is in line 2 of the input file " +
                input + ".\n");
}

// A Ctrl-C sends one SIGINT. Without --foreground, timeout signals the child and then its whole
// group, so a slow step would meet the second signal, which by design ends the program at once.
// A wide distance keeps every step short, even in the sanitizer builds.
TEST_F(CliTest, InterruptEndsTheRunAfterAStepWithTheOutputComplete) {
  const auto hourly = dir / "hourly.txt";
  const auto r = Run("-n 2000000000 --distance 1e9 -o " + hourly.string(),
                     "timeout --foreground --preserve-status -s INT 1 ");
  EXPECT_EQ(r.status, 130);
  const std::string last = "\nInterrupted after sequence #";
  const auto at = r.out.rfind(last);
  ASSERT_NE(at, std::string::npos) << r.out;
  const int sequences = std::stoi(r.out.substr(at + last.size()));
  EXPECT_EQ(r.out.substr(at), last + std::to_string(sequences) +
                                  ": the output holds every sequence up to it and none after.\n");
  EXPECT_NE(r.out.find("\nSequence #" + std::to_string(sequences) + "\n"), std::string::npos);
  EXPECT_EQ(r.out.find("\nSequence #" + std::to_string(sequences + 1) + "\n"), std::string::npos);
  // Each sequence ends its file on a whole day: 2 lines per day, 12 hours each.
  const std::string text = ReadFile(hourly);
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n') % 2, 0);
  EXPECT_EQ(text.substr(text.rfind('\n') + 1).size(), 17u + 12 * 6);
}

TEST_F(CliTest, AFullDiskEndsEachStepWithAnErrorAndStatusOne) {
  const auto r = Run("-n 2 -o /dev/full");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("Error: "), std::string::npos);
  EXPECT_NE(r.out.find("Sequence #2"), std::string::npos);
  EXPECT_NE(r.err.find("\nError: 2 sequences are missing from the output:\n"
                       "  sequence #1 of the test run\n  sequence #2 of the test run\n"),
            std::string::npos)
      << r.err;
}

}  // namespace
