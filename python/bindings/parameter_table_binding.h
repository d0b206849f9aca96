#pragma once
// nimbra._nimbra.ParameterTable: a parameters CSV (a file, or the text of a DataFrame) read
// by the same reader as nimbra-cli disaggregate, giving each station its twelve monthly sets.

#include <pybind11/pybind11.h>

namespace nimbra {

void BindParameterTable(pybind11::module_& module);

}  // namespace nimbra
