#pragma once
// nimbra._nimbra.write_hourly_csv: stations' hours written by the writer of nimbra-cli
// disaggregate, so that the same hours give the same bytes.

#include <pybind11/pybind11.h>

namespace nimbra {

void BindHourlyCsv(pybind11::module_& module);

}  // namespace nimbra
