#include "fit_output.h"

#include <algorithm>
#include <cstdio>
#include <ostream>
#include <string>

#include "csv_row.h"
#include "format.h"

namespace nimbra {

void WriteFittedParameters(const std::vector<SeasonFit>& fits, bool named, std::ostream& out) {
  out << (named ? "season,months," : "season,") << "lambda,kappa,phi,alpha,nu,mu_x,sigma_x\n";
  for (const SeasonFit& fit : fits) {
    const ModelParameters& p = fit.Result.Parameters;
    out << CsvField(fit.Season.Name) << ',';
    if (named) out << MonthList(fit.Season.Months) << ',';
    for (const double v : {p.Lambda, p.Kappa, p.Phi, p.Alpha, p.Nu, p.MuX})
      out << FormatSignificant(v, 10) << ',';
    out << FormatSignificant(p.SigmaX, 10) << '\n';
  }
}

namespace {

// The objective each start of the search ended at, as rows whose fitted column holds it.
void WriteSpread(const std::string& season, const FitSpread& spread, std::ostream& out) {
  const std::pair<const char*, double> rows[] = {{"objective", spread.Best},
                                                 {"objective_median", spread.Median},
                                                 {"objective_worst", spread.Worst},
                                                 {"starts", spread.Starts},
                                                 {"starts_within_2_percent", spread.WithinTwoPercent}};
  for (const auto& [item, value] : rows)
    out << season << ',' << item << ",," << FormatSignificant(value, 10) << ",,,,,\n";
}

}  // namespace

void WriteFitReport(const std::vector<SeasonFit>& fits, const FitSpace& space, std::ostream& out) {
  out << "season,item,observed,fitted,weight,relative_error,low,high,bound\n";
  for (const SeasonFit& fit : fits) {
    for (const FittedTarget& t : fit.Result.Targets) {
      out << CsvField(fit.Season.Name) << ',' << TargetName(t.Target.Target) << ','
          << FormatSignificant(t.Target.Observed, 10) << ',' << FormatSignificant(t.Fitted, 10) << ','
          << FormatSignificant(t.Target.Weight, 10) << ',' << FormatSignificant(t.RelativeError, 10)
          << ",,,\n";
    }
    const auto& coordinates = space.Coordinates();
    const auto free = space.Free();
    for (std::size_t i = 0; i < coordinates.size(); ++i) {
      const Coordinate& c = coordinates[i];
      const bool searched = std::find(free.begin(), free.end(), i) != free.end();
      const char* bound = searched ? (fit.Result.OnBound[i] ? "on bound" : "inside") : "fixed";
      out << CsvField(fit.Season.Name) << ',' << c.Name << ",," << FormatSignificant(fit.Result.Values[i], 10)
          << ",,,"
          << (searched ? FormatSignificant(c.Low, 10) + ',' + FormatSignificant(c.High, 10)
                       : std::string(","))
          << ',' << bound << '\n';
    }
    WriteSpread(CsvField(fit.Season.Name), fit.Result.Spread, out);
  }
}

}  // namespace nimbra
