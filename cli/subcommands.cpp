#include "subcommands.h"

#include <string_view>

#include "calibrate_command.h"
#include "fit_command.h"
#include "model_stats_command.h"
#include "series_commands.h"

namespace nimbra {

std::optional<int> RunSubcommand(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
  if (argc < 2) return std::nullopt;
  const std::string_view name = argv[1];
  if (name == "calibrate") return RunCalibrateCommand(argc - 1, argv + 1, out, err);
  if (name == "fit") return RunFitCommand(argc - 1, argv + 1, out, err);
  if (name == "model-stats") return RunModelStatsCommand(argc - 1, argv + 1, out, err);
  if (IsSeriesCommand(argc, argv)) return RunSeriesCommand(argc, argv, out, err);
  return std::nullopt;
}

}  // namespace nimbra
