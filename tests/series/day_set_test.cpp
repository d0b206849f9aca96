// The set of days against std::set over days in every order, before and after 1970 and far
// apart, so that growing to either side keeps every bit.

#include "day_set.h"

#include <gtest/gtest.h>

#include <random>
#include <set>

namespace nimbra {
namespace {

TEST(DaySet, FindsEachDayGivenTwiceInAnyOrder) {
  std::mt19937_64 random(3);
  std::vector<std::vector<std::int64_t>> cases = {
      {5, 4, 3, 2, 1, 0, -1, -64, -65, 5, -65, 0},
      {-1000, 1000, -1000, 63, 64, 127, 128, 64},
      {2932896, -719162, 0, 2932896, -719162},  // 9999-12-31 and 0001-01-01
  };
  std::vector<std::int64_t> scattered;
  for (int i = 0; i < 5000; ++i) scattered.push_back(static_cast<std::int64_t>(random() % 20000) - 10000);
  cases.push_back(scattered);
  for (const auto& days : cases) {
    DaySet set;
    std::set<std::int64_t> expected;
    for (const std::int64_t day : days)
      ASSERT_EQ(set.Insert(day), expected.insert(day).second) << "day " << day;
  }
}

}  // namespace
}  // namespace nimbra
