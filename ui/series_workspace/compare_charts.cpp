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

QColor SourceColor(std::size_t source) {
  static const QColor colours[kHourSourceCount] = {QColor(0x1f, 0x77, 0xb4), QColor(0xff, 0x7f, 0x0e),
                                                   QColor(0x7f, 0x7f, 0x7f)};
  return colours[source];
}

QChart* StatisticChart(const QString& title, const std::array<double, kHourSourceCount>& values) {
  QChart* chart = BareChart(title);
  auto* series = new QBarSeries;
  double highest = 0;
  for (std::size_t source = 0; source < kHourSourceCount; ++source) {
    auto* set = new QBarSet(QString::fromLatin1(kSourceNames[source]));
    set->setColor(SourceColor(source));
    *set << (std::isnan(values[source]) ? 0 : values[source]);
    series->append(set);
    if (!std::isnan(values[source])) highest = std::max(highest, values[source]);
  }
  chart->addSeries(series);
  chart->legend()->hide();
  auto* x = new QBarCategoryAxis;
  x->append(QString());
  x->setLabelsVisible(false);
  auto* y = new QValueAxis;
  y->setRange(0, highest > 0 ? highest * 1.1 : 1);
  y->setLabelFormat(QStringLiteral("%.3g"));
  AttachAxes(chart, x, y);
  return chart;
}

QChart* MaximaChart(const HourComparison& comparison) {
  QChart* chart = BareChart(QObject::tr("Yearly largest hour (mm), Gumbel plot"));
  for (const HourSource source : {HourSource::Observed, HourSource::Disaggregated}) {
    auto* points = new QScatterSeries;
    points->setName(QString::fromLatin1(kSourceNames[static_cast<std::size_t>(source)]));
    points->setMarkerSize(8);
    points->setColor(SourceColor(static_cast<std::size_t>(source)));
    for (const auto& [variate, depth] :
         GumbelPlot(comparison.Sources[static_cast<std::size_t>(source)].YearlyMaxima))
      points->append(variate, depth);
    chart->addSeries(points);
  }
  auto* x = new QValueAxis;
  x->setLabelFormat(QStringLiteral("%.1f"));
  auto* y = new QValueAxis;
  y->setTitleText(QObject::tr("mm"));
  AttachAxes(chart, x, y);
  return chart;
}

QChart* DayChart(const QString& title, std::span<const double> disaggregated,
                 std::span<const double> observed) {
  QChart* chart = BareChart(title);
  auto* series = new QBarSeries;
  const auto addSet = [&](HourSource source, std::span<const double> hours) {
    if (hours.empty()) return;
    auto* set = new QBarSet(QString::fromLatin1(kSourceNames[static_cast<std::size_t>(source)]));
    set->setColor(SourceColor(static_cast<std::size_t>(source)));
    for (const double hour : hours) *set << (std::isnan(hour) ? 0 : hour);
    series->append(set);
  };
  addSet(HourSource::Observed, observed);
  addSet(HourSource::Disaggregated, disaggregated);
  chart->addSeries(series);
  auto* x = new QBarCategoryAxis;
  for (int hour = 0; hour < 24; ++hour) x->append(QString::number(hour));
  auto* y = new QValueAxis;
  y->setTitleText(QObject::tr("mm"));
  AttachAxes(chart, x, y);
  return chart;
}

}  // namespace nimbra
