#include "parameter_table_binding.h"

#include <pybind11/numpy.h>

#include <string>

#include "csv_reader.h"
#include "parameter_table.h"

namespace py = pybind11;
using namespace pybind11::literals;

namespace nimbra {

namespace {

using Doubles = py::array_t<double, py::array::c_style | py::array::forcecast>;

ParameterTable FromText(std::string name, std::string text) {
  CsvReader reader(std::move(name), std::move(text));
  return ParameterTable::Read(reader);
}

// The sets of the months in which the station's daily depths hold a value, as a 12 x 7
// array of lambda, kappa, phi, alpha, nu, mu_x, sigma_x with January first.
py::array_t<double> ForStation(const ParameterTable& table, const std::string& station, std::int64_t firstDay,
                               const Doubles& daily) {
  const StationSeries series{firstDay, std::vector<double>(daily.data(), daily.data() + daily.size()), {}};
  const ParametersByMonth months = table.For(station, MonthsWithValues(series));
  py::array_t<double> rows({12, 7});
  auto out = rows.mutable_unchecked<2>();
  for (py::ssize_t m = 0; m < 12; ++m) {
    const ModelParameters& p = months[static_cast<std::size_t>(m)];
    const double values[] = {p.Lambda, p.Kappa, p.Phi, p.Alpha, p.Nu, p.MuX, p.SigmaX};
    for (py::ssize_t k = 0; k < 7; ++k) out(m, k) = values[k];
  }
  return rows;
}

}  // namespace

void BindParameterTable(py::module_& module) {
  py::class_<ParameterTable>(module, "ParameterTable")
      .def_static("read", py::overload_cast<const std::string&>(&ParameterTable::Read), "path"_a)
      .def_static("from_text", &FromText, "name"_a, "text"_a,
                  "Reads CSV text; name stands for the file in messages.")
      .def_property_readonly("path", &ParameterTable::Path)
      .def("for_station", &ForStation, "station"_a, "first_day"_a, "daily"_a);
}

}  // namespace nimbra
