#pragma once
// Fixed-capacity records of the model: cells, storms, storm sets and depth series,
// indexed from 1 as the model counts them. Every index is checked; copying a storm
// or a storm set copies only what is in use (a full set is over a megabyte).

#include <array>
#include <cstddef>

#include "checked.h"

namespace nimbra {

// A rectangular pulse: it rains at intensity (mm/d) over [origin, origin + duration) days.
struct Cell {
  double origin = 0;
  double duration = 0;
  double intensity = 0;
};

template <class T, int Capacity>
class CountedArray {
 public:
  static constexpr int kCapacity = Capacity;

  CountedArray() = default;
  CountedArray(const CountedArray& other) { *this = other; }
  CountedArray& operator=(const CountedArray& other) {
    if (this != &other) {
      Count = other.Count;
      for (int i = 0; i < InUse(); ++i)
        items_[static_cast<std::size_t>(i)] = other.items_[static_cast<std::size_t>(i)];
    }
    return *this;
  }

  T& operator[](int index) { return items_[Slot(index)]; }
  const T& operator[](int index) const { return items_[Slot(index)]; }

  int Count = 0;

 private:
  static std::size_t Slot(int index) {
    if (index < 1 || index > Capacity) ThrowRangeError(index, 1, Capacity);
    return static_cast<std::size_t>(index - 1);
  }
  int InUse() const { return Count < 0 ? 0 : (Count > Capacity ? Capacity : Count); }

  std::array<T, Capacity> items_{};
};

using Storm = CountedArray<Cell, 1000>;  // the storm's origin is its first cell's
using StormSet = CountedArray<Storm, 50>;
using DailySeries = CountedArray<double, 30>;    // day k covers [k-1, k)
using HourlySeries = CountedArray<double, 720>;  // hour h covers [(h-1)/24, h/24)

// A sequence's first day; it lies on the day axis at Period * DaysPerMonth + Day.
struct SequenceDate {
  int Day = 0;
  int Tag = 0;
  int Period = 0;
  bool operator==(const SequenceDate&) const = default;
};

}  // namespace nimbra
