#pragma once
// The built-in model parameter sets. Set 1 is the one the program starts with; the
// others are kept as fitted alternatives.

#include <array>

namespace nimbra {

struct ParameterSet {
  double Lambda;
  double Kappa;
  double Phi;
  double Alpha;
  double Nu;
  double MuX;
  int DaysPerMonth;
};

inline constexpr std::array<ParameterSet, 3> kParameterSets{{
    {0.6626905235255136, 0.289, 0.087, 2.61, 0.045, 23.1, 31},
    {0.9396, 1.05819, 0.0586, 2.69569, 0.15079 / 24, 24.33408, 31},
    {0.26232, 0.33804, 0.09178, 19.40842, 0.25523, 96.49464, 31},
}};

inline constexpr int kActiveParameterSet = 1;

}  // namespace nimbra
