#include "fit_job.h"

#include <cmath>

#include "atomic_file.h"
#include "civil_date.h"
#include "hourly_csv_input.h"

namespace nimbra {

namespace {

FitSpace MakeSpace(const FitRequest& r) {
  FitSpaceOptions options;
  options.GammaIntensity = r.Intensity == "gamma";
  for (const std::string& text : r.Fixed) options.Fixed.push_back(ParseFixed(text));
  for (const std::string& text : r.Bounds) options.Bounds.push_back(ParseBounds(text));
  return FitSpace(options);
}

std::vector<StatisticTarget> ChooseTargets(const FitRequest& r) {
  if (!r.Statistics.empty()) return ParseTargets(r.Statistics);
  return r.Scales.empty() ? DefaultTargets() : TargetsAtScales(r.Scales);
}

// The months with at least one value; the others have no data at all.
MonthMask MonthsWithValues(const HourlyRecord& record) {
  MonthMask months = 0;
  for (std::size_t hour = 0; hour < record.Hours.size(); ++hour) {
    if (std::isnan(record.Hours[hour])) continue;
    const auto day = record.FirstDay + static_cast<std::int64_t>(hour / 24);
    months |= static_cast<MonthMask>(1u << (CivilFromDays(day).Month - 1));
  }
  return months;
}

SeasonFit FitOneSeason(const HourlyRecord& record, const FitSeason& season, const FitSpace& space,
                       const std::vector<StatisticTarget>& targets, const FitRequest& r,
                       const JobControl& control) {
  const SeasonSample sample = TakeSeason(record, season.Months, season.Name);
  std::vector<ObservedTarget> observed;
  for (const StatisticTarget& target : targets) {
    const double value = ObservedValue(sample, target);
    observed.push_back({target, value, r.Weights == "years" ? YearsWeight(sample, target, value) : 1});
  }
  FitSettings settings = r.Search;
  settings.Seed = r.Seed;
  settings.Stop = control.Flag();
  return {season, FitParameters(space, observed, settings)};
}

std::vector<FitSeason> SeasonsWithData(const SeasonChoice& choice, const HourlyRecord& record) {
  const MonthMask present = MonthsWithValues(record);
  std::vector<FitSeason> seasons;
  for (const FitSeason& season : choice.Seasons) {
    if (!choice.Monthly || (season.Months & present) != 0) seasons.push_back(season);
  }
  return seasons;
}

}  // namespace

FitOutcome RunFitJob(const FitRequest& request, const JobControl& control) {
  FitOutcome outcome{{}, MakeSpace(request)};
  const std::vector<StatisticTarget> targets = ChooseTargets(request);
  const SeasonChoice choice = ChooseSeasons(request.Seasons);
  const HourlyRecord record = ReadHourlyRecord(request.Input);
  const std::vector<FitSeason> seasons = SeasonsWithData(choice, record);
  for (const FitSeason& season : seasons) {
    control.Check();
    control.Report({"season " + season.Name + " (" + std::to_string(outcome.Fits.size() + 1) + " of " +
                        std::to_string(seasons.size()) + ")",
                    static_cast<double>(outcome.Fits.size()) / static_cast<double>(seasons.size())});
    try {
      outcome.Fits.push_back(FitOneSeason(record, season, outcome.Space, targets, request, control));
    } catch (const InvalidArgument& e) {
      throw InvalidArgument(request.Input + ": " + e.what());
    }
  }
  control.Check();
  AtomicFile parameters(request.Output);
  WriteFittedParameters(outcome.Fits, choice.Named, parameters.Stream());
  if (!request.Report.empty()) {
    AtomicFile report(request.Report);
    WriteFitReport(outcome.Fits, outcome.Space, report.Stream());
    report.Commit();
  }
  parameters.Commit();
  return outcome;
}

}  // namespace nimbra
