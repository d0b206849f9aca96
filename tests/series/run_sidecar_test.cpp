#include "run_sidecar.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "date_time_text.h"

namespace nimbra {
namespace {

TEST(RunSidecar, StationsCarryTheirCountsAndFailedSequences) {
  const double kNaN = std::nan("");
  StationSeries series{*ParseDate("2010-07-01"), {0, 0.00001, 5, kNaN, 0.0000099, kNaN}, {}};
  StationSummary summary = SummariseSeries("Tempel \"hof\"", series);
  EXPECT_EQ(summary.Days, 6);
  EXPECT_EQ(summary.WetDays, 2);
  EXPECT_EQ(summary.MissingDays, 2);
  summary.Seed = -12;
  summary.Sequences = 1;
  summary.Failed = {{*ParseDate("2010-07-02"), 2, "Too many repetitions"}};
  summary.Warnings = {{*ParseDate("2010-07-05"), 1, "Kept"}};

  RunSidecar run;
  run.CommandLine = {"nimbra-cli", "disaggregate", "--input", "a\\b.csv"};
  run.Stations = {summary};
  std::ostringstream out;
  WriteSidecar(out, run);
  const std::string json = out.str();
  EXPECT_NE(json.find("\"command_line\": [\"nimbra-cli\", \"disaggregate\", \"--input\", \"a\\\\b.csv\"],"),
            std::string::npos)
      << json;
  EXPECT_NE(
      json.find("{\"station\": \"Tempel \\\"hof\\\"\", \"seed\": -12, \"first_date\": \"2010-07-01\", "
                "\"days\": 6, \"wet_days\": 2, \"missing_days\": 2, \"sequences\": 1, \"failed_sequences\": "
                "[{\"first_date\": \"2010-07-02\", \"days\": 2, \"message\": \"Too many repetitions\"}], "
                "\"warnings\": [{\"first_date\": \"2010-07-05\", \"days\": 1, \"message\": \"Kept\"}]}"),
      std::string::npos)
      << json;
  EXPECT_EQ(JsonString("tab\there\n"), "\"tab\\u0009here\\u000a\"");
}

}  // namespace
}  // namespace nimbra
