#pragma once
// Latin-hypercube points in a box: each coordinate's range cut into as many equal strata
// as points, every stratum used once, a point drawn uniformly within its stratum. The
// same seed gives the same points on every platform.

#include <vector>

namespace nimbra {

struct Box {
  std::vector<double> Low, High;
};

std::vector<std::vector<double>> LatinHypercube(const Box& box, int count, unsigned seed);

}  // namespace nimbra
