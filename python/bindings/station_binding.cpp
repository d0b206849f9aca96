#include "station_binding.h"

#include <pybind11/numpy.h>
#include <pybind11/stl.h>

#include <array>
#include <cmath>
#include <functional>
#include <string>

#include "date_time_text.h"
#include "errors.h"
#include "interruptible_call.h"
#include "parameter_table.h"
#include "station_batch.h"
#include "station_run.h"

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

// The call on a thread of its own, ended by Ctrl-C on the calling thread or by the flag.
StationResult RunStoppably(StopFlag* flag, RunOptions options,
                           const std::function<StationResult(const RunOptions&)>& run) {
  std::atomic<bool> own{false};
  std::atomic<bool>& stop = flag ? flag->Value : own;
  options.Stop = &stop;
  StationResult result;
  RunInterruptibly(stop, [&] { result = run(options); });
  return result;
}

StationResult RunStation(std::int64_t firstDay, const py::array& daily, const Doubles& parameters,
                         const RunOptions& options, StopFlag* stop) {
  const StationSeries series = SeriesFrom(firstDay, daily);
  const ParametersByMonth months = MonthlyParameters(parameters);
  return RunStoppably(stop, options,
                      [&](const RunOptions& run) { return DisaggregateStation(series, months, run); });
}

// As nimbra-cli disaggregate runs a station of a parameters table: the seed derived from
// the run's and the station's name, and each set with its own repetition settings unless
// the caller gave them.
StationResult RunStationOfTable(const ParameterTable& table, const std::string& station,
                                std::int64_t firstDay, const py::array& daily, const RunOptions& options,
                                bool repFactorGiven, bool repMinGiven, StopFlag* stop) {
  const std::vector<NamedSeries> stations{{station, SeriesFrom(firstDay, daily)}};
  return RunStoppably(stop, options, [&](const RunOptions& run) {
    return RunStationJob(PlanStations(stations, table, run, {repFactorGiven, repMinGiven}).front()).Result;
  });
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
      .def_readonly("failed", &StationResult::Failed);
  module.def("run_station", &RunStation, "first_day"_a, "daily"_a, "parameters"_a, "options"_a,
             "stop"_a = nullptr,
             "Disaggregates one station: daily depths from the serial day first_day (days since "
             "1970-01-01, NaN for a missing day) with a 12 x 7 table of monthly parameters.");
  module.def("run_station_of_table", &RunStationOfTable, "table"_a, "station"_a, "first_day"_a, "daily"_a,
             "options"_a, "rep_factor_given"_a, "rep_min_given"_a, "stop"_a = nullptr,
             "Disaggregates one station of a parameters table as nimbra-cli disaggregate does: options "
             "hold the run's seed, and the table's rep_factor and rep_min apply unless given.");
}

}  // namespace nimbra
