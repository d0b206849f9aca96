#include "calibration_job.h"

#include <algorithm>
#include <limits>
#include <map>
#include <utility>

#include "atomic_file.h"
#include "format.h"
#include "table_calibration.h"

namespace nimbra {

namespace {

// Each candidate reported with its season's best so far, and the share of the job done.
class CalibrationReporter {
 public:
  CalibrationReporter(const CalibrationRequest& request, const ParameterTable& table,
                      const JobControl& control, const CalibrationSteps& steps)
      : table_(table), control_(control), steps_(steps), perSeason_(CandidatesPerSeason(request)) {
    const auto& rows = table.Rows();
    seasons_ =
        request.Seasons.empty() ? static_cast<int>(rows.size()) : static_cast<int>(request.Seasons.size());
  }

  // Seasons may report in turns, as they are calibrated at once: each keeps its own best
  // and its own share of the work.
  void operator()(const std::string& season, const CalibrationEvaluation& e) {
    auto& [best, done] =
        seasonsSoFar_.try_emplace(season, std::numeric_limits<double>::infinity(), 0.0).first->second;
    best = std::min(best, e.Score);
    done = std::min(1.0, e.Number / perSeason_);
    if (steps_) steps_({RowOf(season), e, best});
    double share = 0;
    for (const auto& [name, entry] : seasonsSoFar_) share += entry.second;
    control_.Report({"season " + season + ": candidate " + std::to_string(e.Number) + " of " +
                         std::to_string(static_cast<int>(perSeason_)) + ", best objective so far " +
                         FormatSignificant(best, 5),
                     share / std::max(seasons_, 1)});
    control_.Check();
  }

 private:
  const SeasonParameters* RowOf(const std::string& season) const {
    const auto& rows = table_.Rows();
    const auto found = std::find_if(rows.begin(), rows.end(),
                                    [&](const SeasonParameters& row) { return row.Season.Name == season; });
    return found == rows.end() ? nullptr : &*found;
  }

  const ParameterTable& table_;
  const JobControl& control_;
  const CalibrationSteps& steps_;
  double perSeason_;
  int seasons_ = 1;
  std::map<std::string, std::pair<double, double>> seasonsSoFar_;  // best objective, share done
};

void Write(const std::string& path, const std::vector<RowCalibration>& rows,
           void (*write)(const std::vector<RowCalibration>&, std::ostream&)) {
  AtomicFile file(path);
  write(rows, file.Stream());
  file.Commit();
}

}  // namespace

int CandidatesPerSeason(const CalibrationRequest& request) {
  return kFirstStageCandidates + request.Evaluations + 1 + CalibrationSettings{}.Confirmed;
}

std::vector<RowCalibration> RunCalibrationJob(const CalibrationRequest& r, const JobControl& control,
                                              const CalibrationSteps& steps) {
  const ParameterTable table = ParameterTable::Read(r.Parameters);
  for (const std::string& warning : table.Warnings()) control.Tell("Warning: " + warning);
  const CalibrationPeriod period{r.Daily, r.Observed, ReadDailyCsv(r.Daily, DailyCsvOptions{}),
                                 ReadHourlyCsv(r.Observed, HourlyCsvOptions{})};
  TableCalibrationSettings settings{r.Seasons, r.Seeds, r.Seed,           r.Evaluations,
                                    r.Threads, r.Run,   r.SlowdownAllowed};
  settings.Run.Stop = control.Flag();
  CalibrationReporter reporter(r, table, control, steps);
  std::vector<RowCalibration> rows;
  try {
    rows = CalibrateTable(table, period, settings, std::ref(reporter));
  } catch (...) {
    // The optimiser turns an error raised in a candidate into its own failure: a cancel is
    // told by the flag.
    control.Check();
    throw;
  }
  control.Check();
  for (const RowCalibration& row : rows) {
    if (!row.Warning.empty()) control.Tell("Warning: " + row.Warning);
  }
  Write(r.Output, rows, WriteCalibratedParameters);
  if (!r.Report.empty()) Write(r.Report, rows, WriteCalibrationReport);
  return rows;
}

}  // namespace nimbra
