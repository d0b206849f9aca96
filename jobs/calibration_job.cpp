#include "calibration_job.h"

#include <algorithm>
#include <limits>

#include "atomic_file.h"
#include "format.h"
#include "table_calibration.h"

namespace nimbra {

namespace {

constexpr int kFirstStageCandidates = 5;

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

  void operator()(const std::string& season, const CalibrationEvaluation& e) {
    if (season != season_) {
      seasonsBefore_ += season_.empty() ? 0 : 1;
      season_ = season;
      best_ = std::numeric_limits<double>::infinity();
    }
    best_ = std::min(best_, e.Score);
    if (steps_) steps_({RowOf(season), e, best_});
    const double done = (seasonsBefore_ + std::min(1.0, e.Number / perSeason_)) / std::max(seasons_, 1);
    control_.Report({"season " + season + ": candidate " + std::to_string(e.Number) + " of " +
                         std::to_string(static_cast<int>(perSeason_)) + ", best objective so far " +
                         FormatSignificant(best_, 5),
                     done});
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
  int seasons_ = 1, seasonsBefore_ = 0;
  std::string season_;
  double best_ = std::numeric_limits<double>::infinity();
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
  TableCalibrationSettings settings{r.Seasons, r.Seeds, r.Seed, r.Evaluations, r.Threads, r.Run};
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
  Write(r.Output, rows, WriteCalibratedParameters);
  if (!r.Report.empty()) Write(r.Report, rows, WriteCalibrationReport);
  return rows;
}

}  // namespace nimbra
