// The compiled core of the nimbra package. Errors of the engine reach Python with their own
// texts: bad input as ValueError, failed reads and writes as OSError, the rest as
// RuntimeError.

#include <pybind11/pybind11.h>

#include <cstdint>
#include <exception>
#include <string_view>

#include "errors.h"
#include "run_options_binding.h"
#include "station_binding.h"

namespace py = pybind11;
using namespace pybind11::literals;

namespace nimbra {

namespace {

void TranslateErrors(std::exception_ptr error) {
  try {
    if (error) std::rethrow_exception(error);
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

// The seed of one station in a run of many: the FNV-1a 64-bit hash of the name folded to
// 32 bits, xor the run's seed. To be replaced by the series layer's StationSeed once it
// is in main, which documents the same rule.
int StationSeedOf(int runSeed, std::string_view station) {
  std::uint64_t hash = 14695981039346656037ull;
  for (const char c : station) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 1099511628211ull;
  }
  return static_cast<int>(static_cast<std::uint32_t>(hash ^ (hash >> 32)) ^
                          static_cast<std::uint32_t>(runSeed));
}

}  // namespace

}  // namespace nimbra

PYBIND11_MODULE(_nimbra, module) {
  module.doc() = "Compiled core of nimbra: one station's daily rainfall disaggregated into hours";
  py::register_exception_translator(&nimbra::TranslateErrors);
  nimbra::BindRunOptions(module);
  nimbra::BindStationRun(module);
  module.def("station_seed", &nimbra::StationSeedOf, "seed"_a, "station"_a,
             "The random seed of a station in a run with this seed, derived from its name.");
}
