#include "model_parameters.h"

#include <cmath>
#include <string>

#include "checked.h"
#include "errors.h"
#include "parameter_checks.h"

namespace nimbra {

bool ModelParameters::GammaIntensity() const { return std::fabs(MuX - SigmaX) > 1e-6; }

ModelParameters ModelParameters::WithAlpha(double alpha) const {
  ModelParameters changed = *this;
  changed.Alpha = alpha;
  if (FixedEta() && !changed.FixedEta()) changed.Nu = Divide(alpha, Nu);
  if (!FixedEta() && changed.FixedEta()) changed.Nu = Divide(Alpha, Nu);
  return changed;
}

void ModelParameters::Validate() const { RefuseUnworkableParameters(*this, GammaIntensity()); }

}  // namespace nimbra
