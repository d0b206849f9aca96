#pragma once
// The serial days a station's rows have named so far, one bit each, growing to either side
// as rows of earlier or later dates come, so that a day named twice is found without
// keeping the rows.

#include <algorithm>
#include <cstdint>
#include <vector>

namespace nimbra {

class DaySet {
 public:
  // False when the day was in the set already.
  bool Insert(std::int64_t day) {
    Cover(day);
    const std::int64_t at = day - first_;
    std::uint64_t& word = words_[static_cast<std::size_t>(at / 64)];
    const std::uint64_t bit = std::uint64_t{1} << (at % 64);
    const bool added = (word & bit) == 0;
    word |= bit;
    return added;
  }

 private:
  // Grows by at least the set's own size, so that rows in any order cost amortised time.
  void Cover(std::int64_t day) {
    if (words_.empty()) {
      first_ = day - day % 64 - (day % 64 < 0 ? 64 : 0);
      words_.assign(1, 0);
    }
    const auto size = static_cast<std::int64_t>(words_.size());
    if (day < first_) {
      const std::int64_t add = std::max((first_ - day + 63) / 64, size);
      words_.insert(words_.begin(), static_cast<std::size_t>(add), 0);
      first_ -= 64 * add;
    } else if (day >= first_ + 64 * size) {
      const std::int64_t add = std::max((day - first_ - 64 * size) / 64 + 1, size);
      words_.resize(static_cast<std::size_t>(size + add), 0);
    }
  }

  std::int64_t first_ = 0;  // a multiple of 64, the day of bit 0 of words_[0]
  std::vector<std::uint64_t> words_;
};

}  // namespace nimbra
