#pragma once
// nimbra._nimbra.run_station: one station's daily depths through the one-station call, the
// GIL released while it runs, and its result with the hours as a NumPy array;
// run_station_of_table: the same for a station of a parameters table.

#include <pybind11/pybind11.h>

namespace nimbra {

void BindStationRun(pybind11::module_& module);

}  // namespace nimbra
