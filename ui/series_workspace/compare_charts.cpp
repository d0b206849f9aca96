#include "compare_charts.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QLineSeries>
#include <QScatterSeries>
#include <QValueAxis>
#include <cmath>

namespace nimbra {

namespace {

QChart* BareChart(const QString& title) {
  auto* chart = new QChart;
  chart->setTitle(title);
  chart->setMargins(QMargins(2, 2, 2, 2));
  return chart;
}

void AttachAxes(QChart* chart, QAbstractAxis* x, QAbstractAxis* y) {
  chart->addAxis(x, Qt::AlignBottom);
  chart->addAxis(y, Qt::AlignLeft);
  for (QAbstractSeries* series : chart->series()) {
    series->attachAxis(x);
    series->attachAxis(y);
  }
}

}  // namespace

QChart* StatisticChart(const QString& title, const std::array<double, kHourSourceCount>& values) {
  QChart* chart = BareChart(title);
  auto* set = new QBarSet(title);
  QStringList names;
  double highest = 0;
  for (std::size_t source = 0; source < kHourSourceCount; ++source) {
    const double value = std::isnan(values[source]) ? 0 : values[source];
    *set << value;
    highest = std::max(highest, value);
    names << QString::fromLatin1(kSourceNames[source]) +
                 (std::isnan(values[source]) ? QStringLiteral(" (none)") : QString());
  }
  auto* series = new QBarSeries;
  series->append(set);
  chart->addSeries(series);
  chart->legend()->hide();
  auto* x = new QBarCategoryAxis;
  x->append(names);
  auto* y = new QValueAxis;
  y->setRange(0, highest > 0 ? highest * 1.1 : 1);
  y->setLabelFormat(QStringLiteral("%.3g"));
  AttachAxes(chart, x, y);
  return chart;
}

QChart* MaximaChart(const HourComparison& comparison) {
  QChart* chart = BareChart(QObject::tr("Yearly largest hour (mm) against the Gumbel variate"));
  for (const HourSource source : {HourSource::Observed, HourSource::Disaggregated}) {
    auto* points = new QScatterSeries;
    points->setName(QString::fromLatin1(kSourceNames[static_cast<std::size_t>(source)]));
    points->setMarkerSize(8);
    for (const auto& [variate, depth] :
         GumbelPlot(comparison.Sources[static_cast<std::size_t>(source)].YearlyMaxima))
      points->append(variate, depth);
    chart->addSeries(points);
  }
  auto* x = new QValueAxis;
  x->setTitleText(QObject::tr("-ln(-ln(i / (n + 1)))"));
  auto* y = new QValueAxis;
  y->setTitleText(QObject::tr("mm"));
  AttachAxes(chart, x, y);
  return chart;
}

QChart* DayChart(const QString& title, std::span<const double> disaggregated,
                 std::span<const double> observed) {
  QChart* chart = BareChart(title);
  auto* series = new QBarSeries;
  const auto addSet = [&](const QString& name, std::span<const double> hours) {
    if (hours.empty()) return;
    auto* set = new QBarSet(name);
    for (const double hour : hours) *set << (std::isnan(hour) ? 0 : hour);
    series->append(set);
  };
  addSet(QObject::tr("disaggregated"), disaggregated);
  addSet(QObject::tr("observed"), observed);
  chart->addSeries(series);
  auto* x = new QBarCategoryAxis;
  for (int hour = 0; hour < 24; ++hour) x->append(QString::number(hour));
  auto* y = new QValueAxis;
  y->setTitleText(QObject::tr("mm"));
  AttachAxes(chart, x, y);
  return chart;
}

}  // namespace nimbra
