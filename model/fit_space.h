#pragma once
// The coordinates a fit searches, with their bounds: the model's parameters by the
// names of the parameters file (lambda, kappa, phi, alpha, nu, mu_x, sigma_x) in days
// and millimetres. Unless nu is fixed or bounded by name, the search runs over the mean
// cell duration nu / (alpha - 1) instead (cell_hours, in hours), which is what physical
// bounds are known for.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model_parameters.h"

namespace nimbra {

struct Coordinate {
  std::string Name;
  double Low = 0;
  double High = 0;
  std::optional<double> Fixed;
};

struct FitSpaceOptions {
  bool GammaIntensity = false;                                            // else sigma_x = mu_x
  std::vector<std::pair<std::string, double>> Fixed;                      // --fix NAME=VALUE
  std::vector<std::pair<std::string, std::pair<double, double>>> Bounds;  // --bounds NAME=LOW:HIGH
};

class FitSpace {
 public:
  // Throws InvalidArgument for an unknown name, a value outside (0, inf), LOW >= HIGH,
  // alpha bounds reaching 100 (where eta stops being random) or sigma_x with
  // exponential intensities.
  explicit FitSpace(const FitSpaceOptions& options);

  // sigma_x is a coordinate with gamma intensities only.
  const std::vector<Coordinate>& Coordinates() const { return coordinates_; }
  // The indices of the coordinates searched (not fixed).
  std::vector<std::size_t> Free() const;
  // Parameters from a value for every coordinate.
  ModelParameters Parameters(const std::vector<double>& values) const;

 private:
  Coordinate& Named(std::string_view name);

  std::vector<Coordinate> coordinates_;
  bool gamma_;
  bool cellHours_;
};

// "NAME=VALUE" and "NAME=LOW:HIGH"; throw InvalidArgument saying what is expected.
std::pair<std::string, double> ParseFixed(std::string_view text);
std::pair<std::string, std::pair<double, double>> ParseBounds(std::string_view text);

}  // namespace nimbra
