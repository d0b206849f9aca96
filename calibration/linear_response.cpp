#include "linear_response.h"

#include <cmath>
#include <utility>

namespace nimbra {

namespace {

using Matrix = std::vector<std::vector<double>>;

// Solves a x = b in place by Gaussian elimination with partial pivoting; a is symmetric
// positive definite here, the ridge seeing to that.
std::vector<double> Solve(Matrix a, std::vector<double> b) {
  const std::size_t n = b.size();
  for (std::size_t col = 0; col < n; ++col) {
    std::size_t pivot = col;
    for (std::size_t row = col + 1; row < n; ++row) {
      if (std::abs(a[row][col]) > std::abs(a[pivot][col])) pivot = row;
    }
    std::swap(a[col], a[pivot]);
    std::swap(b[col], b[pivot]);
    for (std::size_t row = col + 1; row < n; ++row) {
      const double factor = a[row][col] / a[col][col];
      for (std::size_t k = col; k < n; ++k) a[row][k] -= factor * a[col][k];
      b[row] -= factor * b[col];
    }
  }
  std::vector<double> x(n);
  for (std::size_t row = n; row-- > 0;) {
    double sum = b[row];
    for (std::size_t k = row + 1; k < n; ++k) sum -= a[row][k] * x[k];
    x[row] = sum / a[row][row];
  }
  return x;
}

std::vector<double> WithOne(const std::vector<double>& inputs) {
  std::vector<double> row{1};
  row.insert(row.end(), inputs.begin(), inputs.end());
  return row;
}

}  // namespace

LinearResponse::LinearResponse(const std::vector<ResponsePoint>& points, double ridge) {
  const std::size_t terms = points.front().Inputs.size() + 1;
  const std::size_t outputs = points.front().Outputs.size();
  Matrix normal(terms, std::vector<double>(terms, 0));
  for (std::size_t t = 1; t < terms; ++t) normal[t][t] = ridge;
  Matrix right(outputs, std::vector<double>(terms, 0));
  for (const ResponsePoint& p : points) {
    const std::vector<double> row = WithOne(p.Inputs);
    for (std::size_t i = 0; i < terms; ++i) {
      for (std::size_t j = 0; j < terms; ++j) normal[i][j] += p.Weight * row[i] * row[j];
      for (std::size_t o = 0; o < outputs; ++o) right[o][i] += p.Weight * row[i] * p.Outputs[o];
    }
  }
  for (std::size_t o = 0; o < outputs; ++o) coefficients_.push_back(Solve(normal, right[o]));
}

std::vector<double> LinearResponse::Predict(const std::vector<double>& inputs) const {
  const std::vector<double> row = WithOne(inputs);
  std::vector<double> outputs;
  for (const std::vector<double>& c : coefficients_) {
    double sum = 0;
    for (std::size_t i = 0; i < row.size(); ++i) sum += c[i] * row[i];
    outputs.push_back(sum);
  }
  return outputs;
}

}  // namespace nimbra
