// The local model of the calibration's search: exact on linear data, flat along a direction
// no point explores, and pulled toward the heavier of two points that disagree.

#include "linear_response.h"

#include <gtest/gtest.h>

namespace nimbra {
namespace {

TEST(LinearResponse, FitsLinearDataExactlyAndLeavesUnexploredDirectionsFlat) {
  // y0 = 1 + 2a - 3b and y1 = -a; the third input is 0 at every point.
  std::vector<ResponsePoint> points;
  for (const auto& [a, b] : {std::pair{0.0, 0.0}, {1.0, 0.0}, {0.0, 1.0}, {0.5, -0.5}}) {
    points.push_back({{a, b, 0}, {1 + 2 * a - 3 * b, -a}, 1});
  }
  const LinearResponse model(points, 1e-9);
  for (const double c : {0.0, 5.0}) {
    const std::vector<double> y = model.Predict({0.3, -0.2, c});
    EXPECT_NEAR(y[0], 1 + 0.6 + 0.6, 1e-6);
    EXPECT_NEAR(y[1], -0.3, 1e-6);
  }
}

TEST(LinearResponse, WeighsPointsByTheirWeight) {
  // Two values at one point: the fit is their weighted mean.
  const LinearResponse model({{{0}, {1}, 3}, {{0}, {5}, 1}}, 1e-9);
  EXPECT_NEAR(model.Predict({0}).front(), 2, 1e-9);
}

}  // namespace
}  // namespace nimbra
