#include "hourly_csv_binding.h"

#include <pybind11/numpy.h>
#include <pybind11/stl.h>

#include <string>
#include <tuple>
#include <vector>

#include "atomic_file.h"
#include "hourly_csv_writer.h"

namespace py = pybind11;
using namespace pybind11::literals;

namespace nimbra {

namespace {

using Doubles = py::array_t<double, py::array::c_style | py::array::forcecast>;
using StationHours = std::tuple<std::string, std::int64_t, Doubles>;

// Stations in the order given, each as (name, serial day of its first hour's date, hours).
void WriteHourlyCsv(const std::string& path, const std::vector<StationHours>& stations, int decimals,
                    bool labelsAtHourEnd) {
  AtomicFile file(path);
  HourlyCsvWriter writer(file.Stream(), {0, labelsAtHourEnd, decimals});
  for (const auto& [name, firstDay, hours] : stations) {
    writer.WriteStation(name, firstDay, {hours.data(), static_cast<std::size_t>(hours.size())});
  }
  writer.Flush();
  file.Commit();
}

}  // namespace

void BindHourlyCsv(py::module_& module) {
  module.def("write_hourly_csv", &WriteHourlyCsv, "path"_a, "stations"_a, "decimals"_a,
             "labels_at_hour_end"_a,
             "Writes station,time,precip_mm rows; the file appears only when complete.");
}

}  // namespace nimbra
