#include "disaggregation_command_line.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include "series_commands.h"

namespace nimbra {
namespace {

namespace fs = std::filesystem;

std::string Bytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

struct Case {
  const char* Name;
  std::function<void(DisaggregationRequest&)> Change;
};

// The command a sidecar records, run by nimbra-cli, writes the bytes the job wrote: every
// setting the command line renders reads back as the same setting.
TEST(DisaggregationCommandLine, NimbraCliRepeatsTheRunItRecords) {
  const Case cases[] = {
      {"defaults", [](DisaggregationRequest&) {}},
      {"format",
       [](DisaggregationRequest& r) {
         r.Format = {6, true, 3};
       }},
      {"run options",
       [](DisaggregationRequest& r) {
         r.Run.RandomSeed = -5;
         r.Run.PerformAdjustment = false;
         r.Run.RepLevel1Factor = 3;
         r.Given.Factor = true;
         r.Run.RepDistanceAllowed = 0.25;
         r.Run.DetailLevel = 1;
       }},
      {"input options",
       [](DisaggregationRequest& r) {
         r.Daily.MissingSentinels = {-1, -99.5};
         r.Stations = {"Tempelhof"};
       }},
  };
  const fs::path folder = fs::temp_directory_path() / "nimbra_command_line_test";
  fs::create_directories(folder);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    DisaggregationRequest request;
    request.Input = std::string(NIMBRA_EXAMPLES_DIR) + "/berlin_tempelhof_july_daily.csv";
    request.Parameters = std::string(NIMBRA_EXAMPLES_DIR) + "/berlin_tempelhof_july_params.csv";
    request.Output = (folder / "hourly.csv").string();
    request.Report = (folder / "report.csv").string();
    c.Change(request);
    request.CommandLine = DisaggregationCommandLine(request);
    std::ostringstream log, messages;
    RunDisaggregationJob(request, JobControl{}, {log, messages});
    const std::string hours = Bytes(request.Output), sidecar = Bytes(request.Output + ".json"),
                      report = Bytes(request.Report);
    std::vector<const char*> argv;
    for (const std::string& argument : request.CommandLine) argv.push_back(argument.c_str());
    std::ostringstream out, err;
    ASSERT_EQ(RunSeriesCommand(static_cast<int>(argv.size()), argv.data(), out, err), 0) << err.str();
    EXPECT_EQ(Bytes(request.Output), hours);
    EXPECT_EQ(Bytes(request.Output + ".json"), sidecar);
    EXPECT_EQ(Bytes(request.Report), report);
    EXPECT_EQ(out.str(), log.str());
  }
  fs::remove_all(folder);
}

}  // namespace
}  // namespace nimbra
