// The compiled core of the nimbra package. Errors of the engine reach Python with their own
// texts: bad input as ValueError, failed reads and writes as OSError, the rest as
// RuntimeError.

#include <pybind11/pybind11.h>

#include <exception>

#include "calibration_binding.h"
#include "errors.h"
#include "hourly_csv_binding.h"
#include "model_binding.h"
#include "parameter_table_binding.h"
#include "run_options_binding.h"
#include "station_binding.h"
#include "station_seed.h"

namespace py = pybind11;
using namespace pybind11::literals;

namespace nimbra {

namespace {

void TranslateErrors(std::exception_ptr error) {
  try {
    if (error) std::rethrow_exception(error);
  } catch (const Stopped&) {
    PyErr_SetNone(PyExc_KeyboardInterrupt);
  } catch (const InvalidArgument& e) {
    PyErr_SetString(PyExc_ValueError, e.what());
  } catch (const InputError& e) {
    PyErr_SetString(PyExc_ValueError, e.what());
  } catch (const InOutError& e) {
    PyErr_SetString(PyExc_OSError, e.what());
  } catch (const NimbraError& e) {
    PyErr_SetString(PyExc_RuntimeError, e.what());
  }
}

}  // namespace

}  // namespace nimbra

PYBIND11_MODULE(_nimbra, module) {
  module.doc() = "Compiled core of nimbra: one station's daily rainfall disaggregated into hours";
  py::register_exception_translator(&nimbra::TranslateErrors);
  nimbra::BindRunOptions(module);
  nimbra::BindStationRun(module);
  nimbra::BindParameterTable(module);
  nimbra::BindHourlyCsv(module);
  nimbra::BindModel(module);
  nimbra::BindCalibration(module);
  module.attr("__version__") = NIMBRA_VERSION;
  module.def("station_seed", &nimbra::StationSeed, "seed"_a, "station"_a,
             "The random seed of a station in a run with this seed, derived from its name.");
}
