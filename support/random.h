#pragma once
// The model's random numbers: a linear congruential generator modulo 2^32 and the
// exponential, normal and gamma variates drawn from it. The order in which each
// variate consumes uniforms is fixed, so a seed reproduces a run to the last bit.

#include <cstdint>

namespace nimbra {

class RandomGenerator {
 public:
  RandomGenerator() = default;
  // One generator per engine, passed by reference: a copy would silently replay draws.
  RandomGenerator(const RandomGenerator&) = delete;
  RandomGenerator& operator=(const RandomGenerator&) = delete;

  void SetRandomSeed(std::int32_t seed);
  void RandomizeFromClock();
  std::uint32_t State() const { return state_; }

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

  std::uint32_t state_ = 0;
  // Box-Muller yields two normals; the second waits here, across re-seeding.
  bool HaveSpare = false;
  double Spare = 0.0;
};

}  // namespace nimbra
