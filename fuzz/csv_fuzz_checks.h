#pragma once
// What the fuzz targets of the CSV readers require of whatever a reader returns: depths
// within what the readers promise, and series no longer than the span they allow, so that
// a tiny file never takes gigabytes. A breach aborts, which libFuzzer reports.

#include <cmath>
#include <cstdlib>
#include <iostream>
#include <span>

#include "input_records.h"
#include "station_values.h"

namespace nimbra {

inline void RequireRead(bool sound, const char* what) {
  if (sound) return;
  std::cerr << "the reader returned " << what << '\n';
  std::abort();
}

inline void RequireDepths(std::span<const double> depths, std::size_t longest) {
  RequireRead(depths.size() <= longest, "a series longer than the span it allows");
  for (const double depth : depths) {
    RequireRead(std::isnan(depth) || (depth >= 0 && depth <= kLargestDepth), "a depth beyond belief");
  }
}

}  // namespace nimbra
