#pragma once
// nimbra._nimbra.calibrate_table: the seasons of a parameters table calibrated as nimbra-cli
// calibrate calibrates them, its two files returned as text, progress handed to a Python
// callable on the calling thread and Ctrl-C stopping the work; read_daily_csv and
// read_hourly_csv: the command line's readers, for files given by path.

#include <pybind11/pybind11.h>

namespace nimbra {

void BindCalibration(pybind11::module_& module);

}  // namespace nimbra
