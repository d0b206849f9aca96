#include "station_binding.h"

#include <pybind11/numpy.h>
#include <pybind11/stl.h>

#include <array>
#include <string>

#include "errors.h"
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

StationSeries SeriesFrom(std::int64_t firstDay, const Doubles& daily) {
  if (daily.ndim() != 1) {
    throw InvalidArgument("daily: expected a one-dimensional array, found " + std::to_string(daily.ndim()) +
                          " dimensions");
  }
  return {firstDay, std::vector<double>(daily.data(), daily.data() + daily.size()), {}};
}

StationResult RunStation(std::int64_t firstDay, const Doubles& daily, const Doubles& parameters,
                         const RunOptions& options) {
  const StationSeries series = SeriesFrom(firstDay, daily);
  const ParametersByMonth months = MonthlyParameters(parameters);
  py::gil_scoped_release release;
  return DisaggregateStation(series, months, options);
}

// As nimbra-cli disaggregate runs a station of a parameters table: the seed derived from
// the run's and the station's name, and each set with its own repetition settings unless
// the caller gave them.
StationResult RunStationOfTable(const ParameterTable& table, const std::string& station,
                                std::int64_t firstDay, const Doubles& daily, const RunOptions& options,
                                bool repFactorGiven, bool repMinGiven) {
  const std::vector<NamedSeries> stations{{station, SeriesFrom(firstDay, daily)}};
  const StationJob job = PlanStations(stations, table, options, {repFactorGiven, repMinGiven}).front();
  py::gil_scoped_release release;
  return RunStationJob(job).Result;
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
             "Disaggregates one station: daily depths from the serial day first_day (days since "
             "1970-01-01, NaN for a missing day) with a 12 x 7 table of monthly parameters.");
  module.def("run_station_of_table", &RunStationOfTable, "table"_a, "station"_a, "first_day"_a, "daily"_a,
             "options"_a, "rep_factor_given"_a, "rep_min_given"_a,
             "Disaggregates one station of a parameters table as nimbra-cli disaggregate does: options "
             "hold the run's seed, and the table's rep_factor and rep_min apply unless given.");
}

}  // namespace nimbra
