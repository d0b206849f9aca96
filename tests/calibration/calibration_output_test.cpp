#include "calibration_output.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace nimbra {
namespace {

RowCalibration CalibratedJuly() {
  RowCalibration entry;
  entry.Row.Season = {"7", MonthBit(7)};
  entry.Row.Parameters = {0.4547, 0.0747, 0.0259, 3.94, 0.029, 143.3, 143.3};
  CalibrationResult result;
  result.Best = {0.8, 1.25, 2, 5, 1, 1.5};
  result.Parameters = ApplyKnobs(entry.Row.Parameters, result.Best);
  result.ObjectiveBefore = 0.5;
  result.ObjectiveAfter = 0.25;
  result.Evaluations = 12;
  entry.Result = result;
  return entry;
}

// The calibrated set goes out with the repetitions it was calibrated with; the continuous
// knobs are in its parameters.
TEST(CalibrationOutput, ParametersFileCarriesTheKnobsAsParametersAndRepetitions) {
  std::ostringstream out;
  WriteCalibratedParameters({CalibratedJuly()}, out);
  EXPECT_EQ(out.str(),
            "season,lambda,kappa,phi,alpha,nu,mu_x,sigma_x,calibrated,rep_factor,rep_min\n"
            "7,0.9094,0.03984,0.01381333333,3.94,0.0232,89.5625,111.953125,yes,5,1\n");
}

// Every knob the calibration turns has its line, before and after.
TEST(CalibrationOutput, ReportListsEachKnobBeforeAndAfter) {
  std::ostringstream out;
  WriteCalibrationReport({CalibratedJuly()}, out);
  const std::string report = out.str();
  const std::string knobs = report.substr(report.find("7,cell_duration_factor"));
  EXPECT_EQ(knobs,
            "7,cell_duration_factor,,1,0.8,,,\n"
            "7,intensity_spread_factor,,1,1.25,,,\n"
            "7,storm_frequency_factor,,1,2,,,\n"
            "7,storm_duration_factor,,1,1.5,,,\n"
            "7,rep_factor,,20,5,,,\n"
            "7,rep_min,,50,1,,,\n"
            "7,objective,,0.5,0.25,,,\n"
            "7,run_work,,0,0,,,\n"
            "7,evaluations,,0,12,,,\n");
}

}  // namespace
}  // namespace nimbra
