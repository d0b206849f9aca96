#include "model_stats_command.h"

#include <CLI/CLI.hpp>
#include <array>
#include <cmath>
#include <cstdio>
#include <optional>
#include <ostream>
#include <string>

#include "cli_options.h"
#include "errors.h"
#include "format.h"
#include "model_statistics.h"
#include "option_values.h"
#include "subcommand_run.h"

namespace nimbra {

namespace {

constexpr std::array<const char*, 7> kStatisticNames = {"mean",
                                                        "variance",
                                                        "lag-1 autocorrelation",
                                                        "lag-2 autocorrelation",
                                                        "lag-3 autocorrelation",
                                                        "dry probability",
                                                        "skewness"};
constexpr std::array<const char*, 7> kParameterNames = {"Lambda", "Kappa", "Phi",   "Alpha",
                                                        "Nu",     "MuX",   "SigmaX"};
// A set fitted to a real gauge: each of its values keeps every statistic finite.
constexpr std::array<double, 7> kOrdinarySet = {0.4547, 0.07466, 0.02589, 3.942, 0.02896, 143.28, 143.28};

using StatisticsRow = std::array<double, kStatisticNames.size()>;

std::vector<StatisticsRow> StatisticsTable(const ModelParameters& parameters,
                                           const std::vector<int>& scaleHours) {
  const ModelStatistics model(parameters);
  std::vector<StatisticsRow> rows;
  for (const int scale : scaleHours) {
    const double h = static_cast<double>(scale) / kHoursPerDay;
    rows.push_back({model.Mean(h), model.Variance(h), model.Autocorrelation(h, 1),
                    model.Autocorrelation(h, 2), model.Autocorrelation(h, 3), model.DryProbability(h),
                    model.Skewness(h)});
  }
  return rows;
}

// The first statistic that is not finite, as (row, column).
std::optional<std::pair<std::size_t, std::size_t>> FirstNonFinite(const std::vector<StatisticsRow>& rows) {
  for (std::size_t r = 0; r < rows.size(); ++r) {
    for (std::size_t c = 0; c < rows[r].size(); ++c) {
      if (!std::isfinite(rows[r][c])) return std::pair{r, c};
    }
  }
  return std::nullopt;
}

std::array<double, 7> ValuesOf(const ModelParameters& p) {
  return {p.Lambda, p.Kappa, p.Phi, p.Alpha, p.Nu, p.MuX, p.SigmaX};
}

// The parameter whose ordinary value alone makes every statistic finite, if one does.
// Exponential intensities stay exponential: SigmaX follows MuX.
std::optional<std::size_t> CulpritParameter(const ModelParameters& parameters,
                                            const std::vector<int>& scaleHours) {
  constexpr std::size_t kMuX = 5, kSigmaX = 6;
  for (std::size_t i = 0; i < kParameterNames.size(); ++i) {
    std::array<double, 7> values = ValuesOf(parameters);
    values[i] = kOrdinarySet[i];
    if (i == kMuX && !parameters.GammaIntensity()) values[kSigmaX] = values[kMuX];
    try {
      if (!FirstNonFinite(StatisticsTable(ParametersFrom(values), scaleHours))) return i;
    } catch (const InvalidArgument&) {
    }
  }
  return std::nullopt;
}

void RefuseNonFinite(const ModelParameters& parameters, const std::vector<int>& scaleHours,
                     const std::vector<StatisticsRow>& rows) {
  const auto bad = FirstNonFinite(rows);
  if (!bad) return;
  const auto [row, column] = *bad;
  std::string message = "--params: the model's " + std::string(kStatisticNames[column]) + " at " +
                        std::to_string(scaleHours[row]) + " h is not a finite number with these parameters";
  const auto culprit = CulpritParameter(parameters, scaleHours);
  if (culprit) {
    message += ": " + std::string(kParameterNames[*culprit]) + " = " +
               FormatGeneral(ValuesOf(parameters)[*culprit], ".") +
               " lies beyond what its closed forms compute";
  }
  throw InvalidArgument(message);
}

}  // namespace

void WriteModelStatistics(const ModelParameters& parameters, const std::vector<int>& scaleHours,
                          std::ostream& out) {
  const std::vector<StatisticsRow> rows = StatisticsTable(parameters, scaleHours);
  RefuseNonFinite(parameters, scaleHours, rows);
  out << "scale_hours,mean,variance,autocorrelation_lag1,autocorrelation_lag2,autocorrelation_lag3,"
         "dry_probability,skewness\n";
  for (std::size_t r = 0; r < rows.size(); ++r) {
    out << scaleHours[r];
    for (const double value : rows[r]) out << ',' << FormatSignificant(value, 9);
    out << '\n';
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
      ->transform(DecimalInteger())
      ->check(CLI::Range(1, 8784));
  return ParseAndRun(
      app, "model-stats", argc, argv,
      [&] {
        WriteModelStatistics(ParametersFrom(ParseParams(params)), scales, out);
        return 0;
      },
      out, err);
}

}  // namespace nimbra
