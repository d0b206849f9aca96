#pragma once
// What a run's random storms cost: a storm generated draws its rates, its timing and every
// cell, a storm drawn again only its cells' intensities, which costs a fraction of that.

#include <cstdint>

namespace nimbra {

struct StormsDrawn {
  std::int64_t Generated = 0;
  std::int64_t Redrawn = 0;  // the cell intensities of one storm drawn again

  bool operator==(const StormsDrawn&) const = default;
};

}  // namespace nimbra
