#include "model_stats_command.h"

#include <CLI/CLI.hpp>
#include <cstdio>
#include <ostream>
#include <string>

#include "cli_options.h"
#include "errors.h"
#include "model_statistics.h"

namespace nimbra {

namespace {

std::string Number(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.9g", value);
  return text;
}

ModelParameters FromArray(const std::array<double, 7>& v) {
  return {v[0], v[1], v[2], v[3], v[4], v[5], v[6]};
}

}  // namespace

void WriteModelStatistics(const ModelParameters& parameters, const std::vector<int>& scaleHours,
                          std::ostream& out) {
  const ModelStatistics model(parameters);
  out << "scale_hours,mean,variance,autocorrelation_lag1,autocorrelation_lag2,autocorrelation_lag3,"
         "dry_probability,skewness\n";
  for (const int scale : scaleHours) {
    const double h = static_cast<double>(scale) / kHoursPerDay;
    out << scale << ',' << Number(model.Mean(h)) << ',' << Number(model.Variance(h));
    for (int lag = 1; lag <= 3; ++lag) out << ',' << Number(model.Autocorrelation(h, lag));
    out << ',' << Number(model.DryProbability(h)) << ',' << Number(model.Skewness(h)) << '\n';
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
  try {
    app.parse(argc, argv);
    WriteModelStatistics(FromArray(ParseParams(params)), scales, out);
  } catch (const CLI::ParseError& e) {
    if (e.get_exit_code() == 0) return app.exit(e, out, err);
    err << "nimbra-cli model-stats: " << e.what() << '\n';
    return 2;
  } catch (const NimbraError& e) {
    err << "nimbra-cli model-stats: " << e.what() << '\n';
    return 2;
  }
  return 0;
}

}  // namespace nimbra
