#include "station_binding.h"

#include <pybind11/numpy.h>
#include <pybind11/stl.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

#include "date_time_text.h"
#include "errors.h"
#include "interruptible_call.h"
#include "parameter_table.h"
#include "station_batch.h"
#include "station_run.h"
#include "station_runner.h"

namespace py = pybind11;
using namespace pybind11::literals;

namespace nimbra {

namespace {

using Doubles = py::array_t<double, py::array::c_style | py::array::forcecast>;

constexpr py::ssize_t kParameterCount = 7;

// Rows of lambda, kappa, phi, alpha, nu, mu_x, sigma_x; row 0 is January.
ParametersByMonth MonthlyParameters(const Doubles& table) {
  if (table.ndim() != 2 || table.shape(0) != 12 || table.shape(1) != kParameterCount) {
    throw InvalidArgument("parameters: expected 12 months of 7 values, found an array of shape " +
                          std::string(py::str(table.attr("shape"))));
  }
  ParametersByMonth months;
  const auto v = table.unchecked<2>();
  for (py::ssize_t m = 0; m < 12; ++m) {
    months[static_cast<std::size_t>(m)] = {v(m, 0), v(m, 1), v(m, 2), v(m, 3), v(m, 4), v(m, 5), v(m, 6)};
  }
  return months;
}

// Booleans would count as 1 mm and text as nothing: only numbers are depths.
StationSeries SeriesFrom(std::int64_t firstDay, const py::array& given) {
  const char kind = given.dtype().kind();
  if (kind != 'f' && kind != 'i' && kind != 'u') {
    throw py::type_error("daily: expected numbers of mm per day, found an array of " +
                         std::string(py::str(given.dtype())));
  }
  const auto daily = Doubles::ensure(given);
  if (daily.ndim() != 1) {
    throw InvalidArgument("daily: expected a one-dimensional array, found " + std::to_string(daily.ndim()) +
                          " dimensions");
  }
  StationSeries series{firstDay, std::vector<double>(daily.data(), daily.data() + daily.size()), {}};
  for (std::size_t day = 0; day < series.Daily.size(); ++day) {
    const double depth = series.Daily[day];
    if (std::isinf(depth) || depth < 0) {
      throw InvalidArgument("daily: " + FormatDate(firstDay + static_cast<std::int64_t>(day)) +
                            ": expected a depth >= 0 mm or NaN, found " +
                            py::str(py::float_(depth)).cast<std::string>());
    }
  }
  return series;
}

StationJob JobOf(std::int64_t firstDay, const py::array& daily, const Doubles& parameters,
                 const RunOptions& options) {
  return {{"", SeriesFrom(firstDay, daily)}, MonthlyParameters(parameters), options, {}};
}

// As nimbra-cli disaggregate plans a station of a parameters table: the seed derived from
// the run's and the station's name, and each set with its own repetition settings unless
// the caller gave them.
StationJob JobOfTable(const ParameterTable& table, const std::string& station, std::int64_t firstDay,
                      const py::array& daily, const RunOptions& options, bool repFactorGiven,
                      bool repMinGiven) {
  const std::vector<NamedSeries> stations{{station, SeriesFrom(firstDay, daily)}};
  return PlanStations(stations, table, options, {repFactorGiven, repMinGiven}).front();
}

// The stations through the station runner that nimbra-cli disaggregate uses, on a thread of
// their own, ended by Ctrl-C on the calling thread or by the flag.
std::vector<StationResult> RunJobs(const std::vector<StationJob>& jobs, int threads, StopFlag* flag) {
  std::atomic<bool> own{false};
  std::atomic<bool>& stop = flag ? flag->Value : own;
  std::vector<StationResult> results(jobs.size());
  RunInterruptibly(stop, [&] {
    RunStations(
        jobs.size(), std::max(1, threads),
        [&](std::size_t i) {
          StationJob job = jobs[i];
          job.Options.Stop = &stop;
          for (StationPart& part : job.Parts) part.Options.Stop = &stop;
          return job;
        },
        [&](std::size_t i, const StationJob&, StationOutcome& outcome) {
          results[i] = std::move(outcome.Result);
        });
  });
  return results;
}

StationResult RunStation(std::int64_t firstDay, const py::array& daily, const Doubles& parameters,
                         const RunOptions& options, StopFlag* stop) {
  return RunJobs({JobOf(firstDay, daily, parameters, options)}, 1, stop).front();
}

// A read-only view of the hours that keeps the result alive.
py::array HoursOf(py::object self) {
  const auto& result = self.cast<const StationResult&>();
  py::array_t<double> hours(static_cast<py::ssize_t>(result.Hourly.size()), result.Hourly.data(), self);
  py::detail::array_proxy(hours.ptr())->flags &= ~py::detail::npy_api::NPY_ARRAY_WRITEABLE_;
  return hours;
}

}  // namespace

void BindStationRun(py::module_& module) {
  py::class_<StopFlag>(module, "StopFlag",
                       "Set it to end the calls that were given it at their next wet sequence.")
      .def(py::init<>())
      .def("set", [](StopFlag& flag) { flag.Value = true; });
  py::class_<FailedSequence>(module, "FailedSequence")
      .def_readonly("first_day", &FailedSequence::FirstDay)
      .def_readonly("days", &FailedSequence::Days)
      .def_readonly("message", &FailedSequence::Message);
  py::class_<StationResult>(module, "StationResult")
      .def_property_readonly("hourly", &HoursOf)
      .def_readonly("log", &StationResult::Log)
      .def_readonly("messages", &StationResult::Messages)
      .def_readonly("sequences", &StationResult::Sequences)
      .def_readonly("failed", &StationResult::Failed)
      .def_readonly("warnings", &StationResult::Warnings);
  module.def("run_station", &RunStation, "first_day"_a, "daily"_a, "parameters"_a, "options"_a,
             "stop"_a = nullptr,
             "Disaggregates one station: daily depths from the serial day first_day (days since "
             "1970-01-01, NaN for a missing day) with a 12 x 7 table of monthly parameters.");
  py::class_<StationJob>(module, "StationJob", "A station planned for run_stations.");
  module.def("station_job", &JobOf, "first_day"_a, "daily"_a, "parameters"_a, "options"_a,
             "A station for run_stations: daily depths from the serial day first_day with a 12 x 7 "
             "table of monthly parameters and options holding its own seed.");
  module.def("station_job_of_table", &JobOfTable, "table"_a, "station"_a, "first_day"_a, "daily"_a,
             "options"_a, "rep_factor_given"_a, "rep_min_given"_a,
             "A station of a parameters table as nimbra-cli disaggregate plans it: options hold the "
             "run's seed, and the table's rep_factor and rep_min apply unless given.");
  module.def("run_stations", &RunJobs, "jobs"_a, "threads"_a, "stop"_a = nullptr,
             "Disaggregates the stations on up to threads threads, as nimbra-cli disaggregate does; "
             "the results in the jobs' order. Ctrl-C or the stop flag ends the call within a sequence.");
}

}  // namespace nimbra
