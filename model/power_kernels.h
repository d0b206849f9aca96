#pragma once
// Integrals of (1 + t)^-p against triangular weights. Averaging the exponential
// kernels of the fixed-eta model over eta ~ Gamma(alpha, nu) gives exactly these, with
// p = alpha - 1 and t in units of nu. Written as integrals they have no singularity in
// p; the closed forms have removable ones at p = 1 and p = 2 (alpha = 2 and 3), which
// these functions evaluate without cancellation.

namespace nimbra {

// Integral over [0, y] of (y - t)(1 + t)^-p, for p > 0 and y >= 0.
double TriangleIntegral(double p, double y);

// Integral over [-y, y] of (y - |t|)(1 + k y + t)^-p, for p > 0, y >= 0 and lag k >= 1:
// the second difference of TriangleIntegral at k y with step y.
double TriangleSecondDifference(double p, double y, int k);

}  // namespace nimbra
