#pragma once
// What the run's collections of hourly values could not keep once they were full, so
// that the user hears of it once and the report says what its figures cover.

namespace nimbra {

struct CollectionShortfall {
  long long wetOffered = 0;  // hours of the sequences, for the wet-day and wet-hour statistics
  long long wetKept = 0;
  long long allOffered = 0;  // hours of the sequences and the dry gaps between them
  long long allKept = 0;
  bool wetNoted = false;
  bool allNoted = false;
};

}  // namespace nimbra
