#pragma once
// nimbra._nimbra.RunOptions: the repetition settings, adjustment, log detail and seed of a
// run, refused outside the ranges nimbra-cli disaggregate accepts.

#include <pybind11/pybind11.h>

namespace nimbra {

void BindRunOptions(pybind11::module_& module);

}  // namespace nimbra
