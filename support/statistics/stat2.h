#pragma once
// Sample statistics of the first N values of one unbroken array: mean, variance,
// central moments, coefficient of variation, skewness and lag autocorrelation, plus
// Mean1 and CentralMoment1 over a stretch of 1-based positions First..Last.
//
// Sums are formed in blocks of 100 terms, each block kept in double and added to a
// double total, so that a long hourly series does not lose its small terms against a
// large running total. Every array access is index-checked (RangeError); a division
// by zero raises FloatingPointError.

#include <span>

namespace nimbra {

double ArrayMean(std::span<const double> data, int n);
// Denominator n - 1.
double ArrayVariance(std::span<const double> data, int n);
// Denominator n.
double ArrayCentralMoment(int k, std::span<const double> data, int n);
// No guard against a zero mean: the division raises FloatingPointError.
double ArrayVariation(std::span<const double> data, int n);
double ArraySkewness(std::span<const double> data, int n);

// Positions are 1-based: position p is data[p - 1]. First < 1, Last < First or
// n < Last raise InvalidArgument before anything is computed.
double Mean1(std::span<const double> data, int n, int first, int last);
double CentralMoment1(int k, std::span<const double> data, int n, int first, int last);

// Covariance of the leading and the trailing n - lag values, each about its own mean.
double ArrayLagCovariance(int lag, std::span<const double> data, int n);
// Correlation of the leading and the trailing n - lag values. A zero spread or an
// overflowing quotient gives 0; a lag of n or more raises the position error.
double ArrayAutocorrelation(int lag, std::span<const double> data, int n);

// Shared with the record statistics.

// The skewness coefficient from the central moments m2 and m3, with the small-sample
// correction sizeForCorrection^2 / ((sizeForCorrection - 1)(sizeForCorrection - 2)).
// A zero m2 gives 1e100 when m3 is not zero, else 0.
double SkewnessCoefficient(double m2, double m3, long long sizeForCorrection);

// (x - mean)^k, the difference rounded to double before the power, as every central
// moment of the system takes it.
double DeviationPower(double x, double mean, int k);

}  // namespace nimbra
