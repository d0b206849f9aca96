#include "model_stats_command.h"

#include <CLI/CLI.hpp>
#include <cstdio>
#include <ostream>
#include <string>

#include "cli_options.h"
#include "errors.h"
#include "format.h"
#include "model_statistics.h"
#include "subcommand_run.h"

namespace nimbra {

void WriteModelStatistics(const ModelParameters& parameters, const std::vector<int>& scaleHours,
                          std::ostream& out) {
  const ModelStatistics model(parameters);
  out << "scale_hours,mean,variance,autocorrelation_lag1,autocorrelation_lag2,autocorrelation_lag3,"
         "dry_probability,skewness\n";
  for (const int scale : scaleHours) {
    const double h = static_cast<double>(scale) / kHoursPerDay;
    out << scale << ',' << FormatSignificant(model.Mean(h), 9) << ','
        << FormatSignificant(model.Variance(h), 9);
    for (int lag = 1; lag <= 3; ++lag) out << ',' << FormatSignificant(model.Autocorrelation(h, lag), 9);
    out << ',' << FormatSignificant(model.DryProbability(h), 9) << ','
        << FormatSignificant(model.Skewness(h), 9) << '\n';
  }
}

int RunModelStatsCommand(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
  CLI::App app{"The model's mean, variance, autocorrelations, dry probability and skewness per scale",
               "nimbra-cli model-stats"};
  std::string params;
  std::vector<int> scales = {1, 3, 6, 24};
  app.add_option("--params", params, "\"LAMBDA KAPPA PHI ALPHA NU MUX SIGMAX\" in days and mm")->required();
  app.add_option("--scales", scales, "Aggregation scales in hours")
      ->delimiter(',')
      ->check(CLI::Range(1, 8784));
  return ParseAndRun(
      app, "model-stats", argc, argv,
      [&] { WriteModelStatistics(ParametersFrom(ParseParams(params)), scales, out); }, out, err);
}

}  // namespace nimbra
