#include "model_parameters.h"

#include <cmath>
#include <string>

#include "checked.h"
#include "errors.h"
#include "format.h"

namespace nimbra {

void RequirePositiveRate(const char* name, double value) {
  if (!(value > 0) || std::isinf(value)) {
    throw InvalidArgument("The model parameter " + std::string(name) +
                          " must be a positive finite number; it is " + FormatGeneral(value, "."));
  }
}

bool ModelParameters::GammaIntensity() const { return std::fabs(MuX - SigmaX) > 1e-6; }

ModelParameters ModelParameters::WithAlpha(double alpha) const {
  ModelParameters changed = *this;
  changed.Alpha = alpha;
  if (FixedEta() && !changed.FixedEta()) changed.Nu = Divide(alpha, Nu);
  if (!FixedEta() && changed.FixedEta()) changed.Nu = Divide(Alpha, Nu);
  return changed;
}

void ModelParameters::Validate() const {
  RequirePositiveRate("Lambda", Lambda);
  RequirePositiveRate("Kappa", Kappa);
  RequirePositiveRate("Phi", Phi);
  RequirePositiveRate("Alpha", Alpha);
  RequirePositiveRate("Nu", Nu);
  RequirePositiveRate("MuX", MuX);
  if (GammaIntensity()) RequirePositiveRate("SigmaX", SigmaX);
}

}  // namespace nimbra
