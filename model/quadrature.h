#pragma once
// Adaptive Gauss-Kronrod quadrature of smooth functions over a finite interval.

#include <functional>

namespace nimbra {

// Integral of f over [a, b] to about the relative tolerance given; not finite, and found
// at once, where f is not finite.
double IntegrateAdaptive(const std::function<double(double)>& f, double a, double b,
                         double relativeTolerance = 1e-12);

}  // namespace nimbra
