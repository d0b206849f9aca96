#pragma once
// nimbra._nimbra.ModelStatistics and fit_season: the model's closed-form statistics, and
// the method-of-moments fit of one season of an hourly record, as nimbra-cli fit does it.

#include <pybind11/pybind11.h>

namespace nimbra {

void BindModel(pybind11::module_& module);

}  // namespace nimbra
