#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "run_subcommand.h"

namespace {

SubcommandOutput RunModelStats(const std::string& arguments) {
  return RunSubcommand("model-stats", arguments);
}

// Set A of the published table: hourly variance 0.646427 and lag-1 covariance
// 0.546139 (autocorrelation 0.844858), skewness 4.28394; daily 143.857, 49.6164, 3.05176.
TEST(ModelStatsCommand, PrintsOneRowPerScale) {
  // Integers are decimal: 024 is 24, not octal 20.
  const SubcommandOutput r = RunModelStats("--params \"0.4 0.5 0.1 6 0.6 24 24\" --scales 1,024");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.text,
            "scale_hours,mean,variance,autocorrelation_lag1,autocorrelation_lag2,autocorrelation_lag3,"
            "dry_probability,skewness\n"
            "1,0.288,0.646426697,0.84485803,0.667588318,0.54297566,0.748082177,4.2839442\n"
            "24,6.912,143.856644,0.34490143,0.145977018,0.0794711717,0.426972394,3.05175836\n");
}

TEST(ModelStatsCommand, BadArgumentsExitWithStatusTwoAndSayWhy) {
  struct Case {
    std::string arguments;
    std::string message;
  };
  const std::vector<Case> cases = {
      {"--params \"0.4 0.5 0.1 1 0.6 24 24\"",
       "nimbra-cli model-stats: Alpha must be greater than 1 for the model to have a finite mean; it is 1\n"},
      {"--params \"0.4 0.5 0.1 6 -0.6 24 24\"",
       "nimbra-cli model-stats: The model parameter Nu must be a positive finite number; it is -0.6\n"},
      {"--params \"1 2 3\"",
       "nimbra-cli model-stats: --params: needs seven numbers: LAMBDA KAPPA PHI ALPHA NU MUX SIGMAX\n"},
      {"--params \"0.4 0.5 0.1 6 0.6 24 24\" --scales 0",
       "nimbra-cli model-stats: --scales: Value 0 not in range 1 to 8784\n"},
      {"", "nimbra-cli model-stats: --params is required\n"},
      {"--params \"0.4 0.5 0.1 6 0.6 1e150 1e150\"",
       "nimbra-cli model-stats: --params: the model's skewness at 1 h is not a finite number with these "
       "parameters: MuX = 1E150 lies beyond what its closed forms compute\n"},
  };
  for (const Case& c : cases) {
    const SubcommandOutput r = RunModelStats(c.arguments);
    EXPECT_EQ(r.status, 2) << c.arguments;
    EXPECT_EQ(r.text, c.message);
  }
}

}  // namespace
