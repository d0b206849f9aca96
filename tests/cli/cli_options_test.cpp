#include "cli_options.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

namespace nimbra {
namespace {

struct Parsed {
  std::optional<CliOptions> options;
  int exitCode;
  std::string err;
};

Parsed Parse(std::vector<std::string> arguments) {
  arguments.insert(arguments.begin(), "nimbra-cli");
  std::vector<const char*> argv;
  for (const std::string& a : arguments) argv.push_back(a.c_str());
  int exitCode = -1;
  testing::internal::CaptureStderr();
  auto options = ParseOptions(static_cast<int>(argv.size()), argv.data(), exitCode);
  return {std::move(options), exitCode, testing::internal::GetCapturedStderr()};
}

TEST(CliOptions, IntegersAreDecimalWhateverTheirLeadingZeros) {
  const Parsed p =
      Parse({"-s", "010", "--days-per-month", "031", "-n", "09", "--rep-allowed", "+0050", "-l", "-0"});
  ASSERT_TRUE(p.options) << p.err;
  EXPECT_EQ(p.options->seed, 10);
  EXPECT_EQ(p.options->daysPerMonth, 31);
  EXPECT_EQ(p.options->sequences, 9);
  EXPECT_EQ(p.options->repAllowed, 50);
  EXPECT_EQ(p.options->level, 0);
}

TEST(CliOptions, BadValuesAreRefusedWithReadableLimits) {
  const struct {
    std::vector<std::string> arguments;
    std::string message;
  } cases[] = {
      {{"-n", "-1"}, "nimbra-cli: --sequences: Value -1 not in range 0 to 2147483647\n"},
      {{"-n", "0x10"}, "nimbra-cli: --sequences: expected a decimal integer such as 12, not 0x10\n"},
      {{"-s", "99999999999"},
       "nimbra-cli: --seed: expected an integer from -2147483648 to 2147483647, not 99999999999\n"},
      {{"--rep-min", "1e3"}, "nimbra-cli: --rep-min: expected a decimal integer such as 12, not 1e3\n"},
      {{"--distance", "nan"}, "nimbra-cli: --distance: expected a number such as 0.1, not nan\n"},
  };
  for (const auto& c : cases) {
    const Parsed p = Parse(c.arguments);
    EXPECT_FALSE(p.options);
    EXPECT_EQ(p.exitCode, 2);
    EXPECT_EQ(p.err, c.message);
  }
}

TEST(CliOptions, DistanceOutsideItsFieldIsClamped) {
  for (const auto& [text, applied] : std::vector<std::pair<std::string, double>>{
           {"-5", 0.0}, {"inf", std::numeric_limits<double>::max()}, {"0.25", 0.25}}) {
    const Parsed p = Parse({"--distance", text});
    ASSERT_TRUE(p.options) << p.err;
    EXPECT_EQ(ApplyOptions(*p.options, RunOptions{}).RepDistanceAllowed, applied) << text;
  }
}

}  // namespace
}  // namespace nimbra
