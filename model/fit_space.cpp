#include "fit_space.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "errors.h"

namespace nimbra {

namespace {

bool Mentions(const std::vector<std::pair<std::string, double>>& fixed, std::string_view name) {
  return std::any_of(fixed.begin(), fixed.end(), [&](const auto& f) { return f.first == name; });
}

double ParsePositive(std::string_view text, std::string_view item) {
  double value = 0;
  const auto parsed = std::from_chars(text.data(), text.data() + text.size(), value);
  if (parsed.ec != std::errc() || parsed.ptr != text.data() + text.size() || !(value > 0) ||
      std::isinf(value)) {
    throw InvalidArgument("'" + std::string(item) + "': expected a positive number, not '" +
                          std::string(text) + "'");
  }
  return value;
}

}  // namespace

FitSpace::FitSpace(const FitSpaceOptions& options) : gamma_(options.GammaIntensity) {
  const bool nuByName =
      Mentions(options.Fixed, "nu") || std::any_of(options.Bounds.begin(), options.Bounds.end(),
                                                   [](const auto& b) { return b.first == "nu"; });
  cellHours_ = !nuByName;
  coordinates_ = {{"lambda", 0.001, 10, {}},
                  {"kappa", 0.001, 20, {}},
                  {"phi", 0.001, 1, {}},
                  {"alpha", 2.1, 20, {}},
                  cellHours_ ? Coordinate{"cell_hours", 5 / 60.0, 12, {}} : Coordinate{"nu", 1e-4, 100, {}},
                  {"mu_x", 2.4, 2400, {}},
                  {"sigma_x", 2.4, 4800, {}}};
  if (!gamma_) coordinates_.pop_back();
  for (const auto& [name, range] : options.Bounds) {
    Coordinate& c = Named(name);
    c.Low = range.first;
    c.High = range.second;
  }
  for (const auto& [name, value] : options.Fixed) Named(name).Fixed = value;
  if (Named("alpha").High >= kFixedEtaShape) {
    throw InvalidArgument("The bounds of alpha must stay below 100, where eta is no longer random");
  }
}

Coordinate& FitSpace::Named(std::string_view name) {
  if (name == "sigma_x" && !gamma_) {
    throw InvalidArgument(
        "sigma_x equals mu_x with exponential intensities; choose --intensity gamma to fit it");
  }
  for (Coordinate& c : coordinates_) {
    if (c.Name == name) return c;
  }
  throw InvalidArgument("Unknown parameter '" + std::string(name) +
                        "': expected lambda, kappa, phi, alpha, nu, cell_hours, mu_x or sigma_x");
}

std::vector<std::size_t> FitSpace::Free() const {
  std::vector<std::size_t> free;
  for (std::size_t i = 0; i < coordinates_.size(); ++i) {
    if (!coordinates_[i].Fixed) free.push_back(i);
  }
  return free;
}

ModelParameters FitSpace::Parameters(const std::vector<double>& v) const {
  const double nu = cellHours_ ? v[4] / 24 * (v[3] - 1) : v[4];
  return {v[0], v[1], v[2], v[3], nu, v[5], gamma_ ? v[6] : v[5]};
}

std::pair<std::string, double> ParseFixed(std::string_view text) {
  const auto equals = text.find('=');
  if (equals == std::string_view::npos) {
    throw InvalidArgument("'" + std::string(text) + "': expected NAME=VALUE, such as alpha=4");
  }
  return {std::string(text.substr(0, equals)), ParsePositive(text.substr(equals + 1), text)};
}

std::pair<std::string, std::pair<double, double>> ParseBounds(std::string_view text) {
  const auto equals = text.find('=');
  const auto colon = text.find(':', equals == std::string_view::npos ? 0 : equals);
  if (equals == std::string_view::npos || colon == std::string_view::npos) {
    throw InvalidArgument("'" + std::string(text) + "': expected NAME=LOW:HIGH, such as phi=0.01:0.5");
  }
  const double low = ParsePositive(text.substr(equals + 1, colon - equals - 1), text);
  const double high = ParsePositive(text.substr(colon + 1), text);
  if (!(low < high)) {
    throw InvalidArgument("'" + std::string(text) + "': expected LOW below HIGH");
  }
  return {std::string(text.substr(0, equals)), {low, high}};
}

}  // namespace nimbra
