#pragma once
// Under the parameters dialog's fields: the model's own hourly and daily mean, variance,
// lag-1 autocorrelation and dry probability for the values typed, from its closed forms.

#include <QGridLayout>
#include <QLabel>
#include <QWidget>
#include <array>
#include <optional>

#include "model_parameters.h"

namespace nimbra {

class ModelStatisticsPanel : public QWidget {
  Q_OBJECT

 public:
  explicit ModelStatisticsPanel(QWidget* parent = nullptr);

  // Nothing for values that are not all numbers; a set without finite moments says why.
  void Show(const std::optional<ModelParameters>& parameters);

  static constexpr int kRows = 4;     // mean, variance, lag-1 autocorrelation, dry probability
  static constexpr int kColumns = 2;  // 1 h, 24 h
  std::array<std::array<QLabel*, kColumns>, kRows> Values{};
  QLabel* Note = nullptr;

 private:
  void Clear(const QString& note);
};

}  // namespace nimbra
