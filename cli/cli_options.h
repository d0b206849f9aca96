#pragma once
// The command line of nimbra-cli and how its settings reach the engine: as the
// dialogs would apply them, with integers clamped to their fields' ranges.

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "model_parameters.h"
#include "run_options.h"

namespace nimbra {

// Every core of the machine, or 1 where their number is unknown.
int DefaultThreads();

struct CliOptions {
  std::string input;
  std::string output;
  std::optional<int> sequences;
  int seed = 0;
  int level = 0;
  bool stats = false;
  bool noAdjust = false;
  std::optional<int> constLength;
  std::optional<int> daysPerMonth;
  std::optional<std::array<double, 7>> params;
  std::optional<int> repFactor;
  std::optional<int> repMin;
  std::optional<int> repAllowed;
  std::optional<double> distance;
  int threads = DefaultThreads();
};

// Parses the arguments. Returns the options, or nothing after printing help (exit 0)
// or an error (exit 2) as exitCode says.
std::optional<CliOptions> ParseOptions(int argc, const char* const* argv, int& exitCode);

// The seven numbers of --params "LAMBDA KAPPA PHI ALPHA NU MUX SIGMAX"; throws
// CLI::ValidationError otherwise.
std::array<double, 7> ParseParams(const std::string& text);

// The engine's settings with those the command line gives put in; the others stay.
RunOptions ApplyOptions(const CliOptions& options, RunOptions run);
ModelParameters ApplyParameters(const CliOptions& options, const ModelParameters& parameters);

}  // namespace nimbra
