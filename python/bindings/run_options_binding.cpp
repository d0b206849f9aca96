#include "run_options_binding.h"

#include <cmath>
#include <string>

#include "errors.h"
#include "field_ranges.h"
#include "run_options.h"

namespace py = pybind11;
using namespace pybind11::literals;

namespace nimbra {

namespace {

int InRange(const char* name, int value, FieldRange range) {
  if (value < range.min || value > range.max) {
    throw InvalidArgument(std::string(name) + ": expected an integer from " + std::to_string(range.min) +
                          " to " + std::to_string(range.max) + ", found " + std::to_string(value));
  }
  return value;
}

double NonNegative(const char* name, double value) {
  if (!std::isfinite(value) || value < 0) {
    throw InvalidArgument(std::string(name) + ": expected a number >= 0, found " + std::to_string(value));
  }
  return value;
}

RunOptions MakeRunOptions(int seed, int level, bool adjust, int repFactor, int repMin, int repAllowed,
                          double distance) {
  RunOptions options;
  options.RandomSeed = seed;
  options.DetailLevel = InRange("level", level, kDetailLevelRange);
  options.PerformAdjustment = adjust;
  options.RepLevel1Factor = InRange("rep_factor", repFactor, kRepLevel1FactorRange);
  options.RepLevel1Min = InRange("rep_min", repMin, kRepLevel1MinRange);
  options.RepAllowed = InRange("rep_allowed", repAllowed, kRepAllowedRange);
  options.RepDistanceAllowed = NonNegative("distance", distance);
  return options;
}

}  // namespace

void BindRunOptions(py::module_& module) {
  const RunOptions defaults;
  py::class_<RunOptions>(module, "RunOptions")
      .def(py::init(&MakeRunOptions), py::kw_only(), "seed"_a = defaults.RandomSeed,
           "level"_a = defaults.DetailLevel, "adjust"_a = defaults.PerformAdjustment,
           "rep_factor"_a = defaults.RepLevel1Factor, "rep_min"_a = defaults.RepLevel1Min,
           "rep_allowed"_a = defaults.RepAllowed, "distance"_a = defaults.RepDistanceAllowed)
      .def_readonly("seed", &RunOptions::RandomSeed)
      .def_readonly("level", &RunOptions::DetailLevel)
      .def_readonly("adjust", &RunOptions::PerformAdjustment)
      .def_readonly("rep_factor", &RunOptions::RepLevel1Factor)
      .def_readonly("rep_min", &RunOptions::RepLevel1Min)
      .def_readonly("rep_allowed", &RunOptions::RepAllowed)
      .def_readonly("distance", &RunOptions::RepDistanceAllowed);
}

}  // namespace nimbra
