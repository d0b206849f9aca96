#include "calibration_binding.h"

#include <pybind11/numpy.h>
#include <pybind11/stl.h>

#include <deque>
#include <mutex>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "interruptible_call.h"
#include "table_calibration.h"

namespace py = pybind11;
using namespace pybind11::literals;

namespace nimbra {

namespace {

using Doubles = py::array_t<double, py::array::c_style | py::array::forcecast>;
using NamedValues = std::tuple<std::string, std::int64_t, Doubles>;  // name, first serial day, values

std::vector<double> CopyOf(const Doubles& values) { return {values.data(), values.data() + values.size()}; }

std::vector<NamedSeries> DailyOf(const std::vector<NamedValues>& stations) {
  std::vector<NamedSeries> daily;
  for (const auto& [name, firstDay, depths] : stations)
    daily.push_back({name, {firstDay, CopyOf(depths), {}}});
  return daily;
}

std::vector<StationHours> ObservedOf(const std::vector<NamedValues>& stations) {
  std::vector<StationHours> observed;
  for (const auto& [name, firstDay, hours] : stations) observed.push_back({name, firstDay, CopyOf(hours)});
  return observed;
}

py::array_t<double> ArrayOf(const std::vector<double>& values) {
  return py::array_t<double>(static_cast<py::ssize_t>(values.size()), values.data());
}

std::vector<py::tuple> ReadDaily(const std::string& path) {
  std::vector<NamedSeries> stations;
  {
    py::gil_scoped_release release;
    stations = ReadDailyCsv(path, DailyCsvOptions{});
  }
  std::vector<py::tuple> rows;
  for (const NamedSeries& s : stations)
    rows.push_back(py::make_tuple(s.Station, s.Series.FirstDay, ArrayOf(s.Series.Daily)));
  return rows;
}

std::vector<py::tuple> ReadHourly(const std::string& path) {
  std::vector<StationHours> stations;
  {
    py::gil_scoped_release release;
    stations = ReadHourlyCsv(path, HourlyCsvOptions{});
  }
  std::vector<py::tuple> rows;
  for (const StationHours& s : stations)
    rows.push_back(py::make_tuple(s.Station, s.FirstDay, ArrayOf(s.Hours)));
  return rows;
}

// Candidates reported by the work's threads, handed on to Python on the calling thread.
class ProgressQueue {
 public:
  void Push(const std::string& season, const CalibrationEvaluation& e) {
    std::lock_guard lock(mutex_);
    queue_.emplace_back(season, e);
  }
  void HandOn(const py::object& callback) {
    std::deque<std::pair<std::string, CalibrationEvaluation>> taken;
    {
      std::lock_guard lock(mutex_);
      taken.swap(queue_);
    }
    for (const auto& [season, e] : taken) {
      const Knobs& k = e.Candidate;
      callback(py::dict("season"_a = season, "candidate"_a = e.Number, "cell_duration"_a = k.CellDuration,
                        "intensity_spread"_a = k.IntensitySpread, "storm_frequency"_a = k.StormFrequency,
                        "storm_duration"_a = k.StormDuration, "rep_factor"_a = k.RepFactor,
                        "rep_min"_a = k.RepMin, "objective"_a = e.Score, "seeds"_a = e.Seeds));
    }
  }

 private:
  std::mutex mutex_;
  std::deque<std::pair<std::string, CalibrationEvaluation>> queue_;
};

// The calibrated table and the report, in the bytes nimbra-cli calibrate writes them, and
// the warnings of seasons left as they were.
py::tuple CalibrateTableText(const ParameterTable& table, const std::vector<NamedValues>& daily,
                             const std::vector<NamedValues>& observed, const std::string& dailyName,
                             const std::string& observedName, TableCalibrationSettings settings,
                             const py::object& progress) {
  const CalibrationPeriod period{dailyName, observedName, DailyOf(daily), ObservedOf(observed)};
  ProgressQueue queue;
  std::vector<RowCalibration> rows;
  std::atomic<bool> stop{false};
  settings.Run.Stop = &stop;
  RunInterruptibly(
      stop,
      [&] {
        rows = CalibrateTable(
            table, period, settings,
            [&](const std::string& season, const CalibrationEvaluation& e) { queue.Push(season, e); });
      },
      [&] {
        if (!progress.is_none()) queue.HandOn(progress);
      });
  std::ostringstream calibrated, report;
  WriteCalibratedParameters(rows, calibrated);
  WriteCalibrationReport(rows, report);
  std::vector<std::string> warnings;
  for (const RowCalibration& row : rows) {
    if (!row.Warning.empty()) warnings.push_back(row.Warning);
  }
  return py::make_tuple(calibrated.str(), report.str(), warnings);
}

TableCalibrationSettings MakeSettings(std::vector<std::string> seasons, int seeds, int seed, int evaluations,
                                      int threads, const RunOptions& run, double slowdown) {
  TableCalibrationSettings settings;
  settings.Seasons = std::move(seasons);
  settings.Seeds = seeds;
  settings.Seed = seed;
  settings.Evaluations = evaluations;
  settings.Threads = threads;
  settings.Run = run;
  settings.SlowdownAllowed = slowdown;
  return settings;
}

}  // namespace

void BindCalibration(py::module_& module) {
  py::class_<TableCalibrationSettings>(module, "TableCalibrationSettings")
      .def(py::init(&MakeSettings), "seasons"_a, "seeds"_a, "seed"_a, "evaluations"_a, "threads"_a, "run"_a,
           "slowdown"_a);
  module.def("calibrate_table", &CalibrateTableText, "table"_a, "daily"_a, "observed"_a, "daily_name"_a,
             "observed_name"_a, "settings"_a, "progress"_a,
             "Calibrates the table's seasons on (name, first serial day, values) stations; returns the "
             "calibrated table and the report as CSV text.");
  module.def("read_daily_csv", &ReadDaily, "path"_a,
             "The stations of a daily CSV file as (name, first serial day, depths), sorted by name.");
  module.def("read_hourly_csv", &ReadHourly, "path"_a,
             "The stations of an hourly CSV file as (name, first serial day, hours), sorted by name.");
}

}  // namespace nimbra
