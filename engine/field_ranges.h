#pragma once
// The ranges of the integer fields through which users set the engine's options.
// A value outside its range is replaced by the nearest bound when the field is left.

#include <algorithm>

namespace nimbra {

struct FieldRange {
  int min;
  int max;
  int Clamp(int value) const { return std::clamp(value, min, max); }
};

inline constexpr FieldRange kDaysPerMonthRange{28, 366};
inline constexpr FieldRange kConstLengthRange{1, 20};
inline constexpr FieldRange kDetailLevelRange{0, 3};
inline constexpr FieldRange kRepLevel1FactorRange{1, 200};
inline constexpr FieldRange kRepLevel1MinRange{1, 1000};
inline constexpr FieldRange kRepAllowedRange{1, 100000};

}  // namespace nimbra
