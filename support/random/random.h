#pragma once
// The model's random numbers: a linear congruential generator modulo 2^32 and the
// exponential, normal and gamma variates drawn from it. The order in which each
// variate consumes uniforms is fixed, so a seed reproduces a run to the last bit,
// whatever the number of threads that compute the logarithms of its uniforms.

#include <cstdint>
#include <memory>

#include "uniform_logarithms.h"

namespace nimbra {

class RandomGenerator {
 public:
  RandomGenerator() = default;
  // One generator per engine, passed by reference: a copy would silently replay draws.
  RandomGenerator(const RandomGenerator&) = delete;
  RandomGenerator& operator=(const RandomGenerator&) = delete;

  void SetRandomSeed(std::int32_t seed);
  // Where a stream stands, so that a run drawing from several streams in turn takes
  // each one up where it left it.
  struct Position {
    std::uint32_t State = 0;
    bool HaveSpare = false;
    double Spare = 0.0;
  };
  Position Tell() const { return {state_, HaveSpare, Spare}; }
  void Resume(const Position& position);
  void RandomizeFromClock();
  std::uint32_t State() const { return state_; }
  // Cores the logarithms of the uniforms may use: with more than one, threads compute
  // them ahead of the draws. The numbers drawn stay the same to the last bit.
  void SetThreads(int threads);

  double RandomUniform();                      // in [0, 1), exactly 0 when the state wraps to 0
  std::int32_t RandomInteger(std::int32_t n);  // in [0, n)

  double ExponentialRandom(double rate);
  double NormalRandom(double mean, double sd);
  double GammaRandom(double rate, double shape);
  double ErlangRandom(int n, double rate);
  double GammaRandomSmallShape(double rate, double shape);
  double GammaRandomLargeShape(double rate, double shape);

 private:
  void Advance();
  void RestartLogarithms();
  // A uniform of exactly 0 has no logarithm: where one would reach a logarithm, the
  // next uniform is taken instead.
  long double NonZeroUniform();
  long double LogOfNonZeroUniform();

  std::uint32_t state_ = 0;
  int threads_ = 1;
  std::unique_ptr<UniformLogarithms> logarithms_;
  // Box-Muller yields two normals; the second waits here, across re-seeding.
  bool HaveSpare = false;
  double Spare = 0.0;
};

}  // namespace nimbra
