#pragma once

#include <vector>

#include "storm_types.h"

namespace nimbra {

// A storm set built by hand: each cell given as origin, duration, intensity.
inline StormSet MakeStorms(const std::vector<std::vector<Cell>>& storms) {
  StormSet set;
  set.Count = static_cast<int>(storms.size());
  for (int s = 1; s <= set.Count; ++s) {
    const auto& cells = storms[static_cast<std::size_t>(s - 1)];
    set[s].Count = static_cast<int>(cells.size());
    for (int c = 1; c <= set[s].Count; ++c) set[s][c] = cells[static_cast<std::size_t>(c - 1)];
  }
  return set;
}

}  // namespace nimbra
