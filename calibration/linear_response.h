#pragma once
// Several outputs as linear functions of a few inputs, fitted by weighted least squares: a
// local model of a noisy objective's parts, whose errors average out over many points. A
// small ridge on the slopes keeps directions that no point has explored flat.

#include <cstddef>
#include <vector>

namespace nimbra {

struct ResponsePoint {
  std::vector<double> Inputs, Outputs;
  double Weight = 1;
};

class LinearResponse {
 public:
  // points is not empty; every point has the same number of inputs and of outputs.
  LinearResponse(const std::vector<ResponsePoint>& points, double ridge);
  std::vector<double> Predict(const std::vector<double>& inputs) const;

 private:
  std::vector<std::vector<double>> coefficients_;  // per output: intercept, then one slope per input
};

}  // namespace nimbra
