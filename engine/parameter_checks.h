#pragma once
// Which model parameters the storm generator can draw with, and which make a run search
// far longer than a user expects. Both are decided from closed forms before the first
// draw, so that a bad value is named at once instead of failing every step.

#include <string>
#include <vector>

#include "errors.h"
#include "model_parameters.h"

namespace nimbra {

// A refusal of the checks below, with the name of the parameter it is about ("Lambda",
// "Kappa", ... "SigmaX"), so that a file of parameter sets can name its column.
class UnworkableParameter : public InvalidArgument {
 public:
  UnworkableParameter(std::string parameter, const std::string& message)
      : InvalidArgument(message), parameter_(std::move(parameter)) {}
  const std::string& Parameter() const { return parameter_; }

 private:
  std::string parameter_;
};

// Throws UnworkableParameter naming Lambda and the range that works.
void RefuseUnworkableLambda(double lambda);

// Throws UnworkableParameter naming the first parameter outside the range the generator can
// draw with and saying what range works; SigmaX counts only with gamma intensities.
void RefuseUnworkableParameters(const ModelParameters& p, bool gammaIntensity);

// Why the step that drew a storm of more cells than a storm holds ends.
std::string OverfullStormMessage(const ModelParameters& p);

// Why the step whose split parts together need more storms than a sequence holds ends.
std::string OverfullSplitMessage(int storms);

// One text for each way the parameters put more storms or cells in a day than a run
// can search in reasonable time, or make steps likely to fail, saying what and why; none
// for workable parameters.
std::vector<std::string> ParameterWarnings(const ModelParameters& p);

}  // namespace nimbra
