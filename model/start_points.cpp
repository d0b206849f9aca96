#include "start_points.h"

#include <cstdint>
#include <numeric>
#include <random>
#include <utility>

namespace nimbra {

namespace {

// The standard library's distributions differ between implementations; these do not.
double Uniform(std::mt19937_64& generator) { return static_cast<double>(generator() >> 11) * 0x1.0p-53; }

std::size_t Below(std::mt19937_64& generator, std::size_t n) {
  return static_cast<std::size_t>(Uniform(generator) * static_cast<double>(n));
}

std::vector<std::size_t> Shuffled(std::mt19937_64& generator, std::size_t n) {
  std::vector<std::size_t> order(n);
  std::iota(order.begin(), order.end(), std::size_t{0});
  for (std::size_t i = n; i > 1; --i) std::swap(order[i - 1], order[Below(generator, i)]);
  return order;
}

}  // namespace

std::vector<std::vector<double>> LatinHypercube(const Box& box, int count, unsigned seed) {
  const auto n = static_cast<std::size_t>(count);
  std::mt19937_64 generator(seed);
  std::vector<std::vector<double>> points(n, std::vector<double>(box.Low.size()));
  for (std::size_t d = 0; d < box.Low.size(); ++d) {
    const std::vector<std::size_t> strata = Shuffled(generator, n);
    const double width = (box.High[d] - box.Low[d]) / static_cast<double>(n);
    for (std::size_t i = 0; i < n; ++i) {
      points[i][d] = box.Low[d] + (static_cast<double>(strata[i]) + Uniform(generator)) * width;
    }
  }
  return points;
}

}  // namespace nimbra
