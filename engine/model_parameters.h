#pragma once
// The seven parameters of the randomised Bartlett-Lewis model, in days and millimetres.

namespace nimbra {

inline constexpr int kHoursPerDay = 24;
// A day with at least this depth (mm) is wet.
inline constexpr double kWetDayDepth = 1e-5;
// From this shape on, eta's gamma distribution is taken as a point mass: Nu holds eta itself.
inline constexpr double kFixedEtaShape = 100;

struct ModelParameters {
  double Lambda = 0;  // storm arrival rate, 1/d
  double Kappa = 0;   // beta/eta
  double Phi = 0;     // gamma/eta
  double Alpha = 0;   // shape of eta's gamma distribution
  double Nu = 0;      // rate of eta's gamma distribution, d; eta itself (1/d) when Alpha >= kFixedEtaShape
  double MuX = 0;     // mean cell intensity, mm/d
  double SigmaX = 0;  // standard deviation of cell intensity, mm/d

  // Intensities are gamma-distributed exactly when SigmaX differs from MuX.
  bool GammaIntensity() const;
  bool FixedEta() const { return Alpha >= kFixedEtaShape; }
  // The parameters with a new Alpha. Across kFixedEtaShape Nu changes meaning, and it
  // is converted so that the mean of eta, Alpha / Nu, stays.
  ModelParameters WithAlpha(double alpha) const;
  // Throws InvalidArgument naming the first parameter the generator cannot draw with and
  // the range that works.
  void Validate() const;

  bool operator==(const ModelParameters&) const = default;
};

}  // namespace nimbra
