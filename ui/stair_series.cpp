#include "stair_series.h"

#include <QAreaSeries>
#include <QChart>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <algorithm>

namespace nimbra {

QList<QPointF> StairPoints(const std::vector<SeriesPoint>& points) {
  QList<QPointF> steps;
  for (std::size_t i = 0; i < points.size(); ++i) {
    if (i > 0) steps.append(QPointF(points[i].x, points[i - 1].y));
    steps.append(QPointF(points[i].x, points[i].y));
  }
  return steps;
}

QList<QPointF> DivisionPoints(const std::vector<SeriesPoint>& points) {
  QList<QPointF> lines;
  for (std::size_t i = 0; i < points.size(); ++i) {
    const double top = i > 0 ? std::max(points[i - 1].y, points[i].y) : points[i].y;
    lines.append({QPointF(points[i].x, 0), QPointF(points[i].x, top), QPointF(points[i].x, 0)});
  }
  return lines;
}

StairSeries::StairSeries(const QString& name, const QString& title, const QColor& colour, const Look& look)
    : ChartSeries(name, title, colour), look_(look) {}

void StairSeries::AttachTo(QChart& chart, QAbstractAxis& x, QAbstractAxis& y) {
  SetChart(chart);
  upper_ = new QLineSeries(&chart);
  lower_ = new QLineSeries(&chart);
  area_ = new QAreaSeries(upper_, lower_);
  area_->setParent(&chart);
  area_->setName(Title());
  QColor fill = Colour();
  fill.setAlpha(look_.fillAlpha);
  area_->setBrush(fill);
  // Without an outline the edge is still drawn in the fill's colour, one pixel wide,
  // so that a cell of a few minutes stays visible beside a run of days.
  area_->setPen(QPen(look_.outline ? Colour().darker() : fill, 0));
  divisions_ = new QLineSeries(&chart);
  divisions_->setPen(QPen(Colour().darker(), 1));
  for (QAbstractSeries* series :
       {static_cast<QAbstractSeries*>(area_), static_cast<QAbstractSeries*>(divisions_)}) {
    chart.addSeries(series);
    series->attachAxis(&x);
    series->attachAxis(&y);
  }
  for (QLegendMarker* marker : chart.legend()->markers(divisions_)) marker->setVisible(false);
  SetDivisionLinesVisible(look_.divisionLines);
}

void StairSeries::SetDivisionLinesVisible(bool visible) {
  look_.divisionLines = visible;
  divisions_->setVisible(visible);
  for (QLegendMarker* marker : Chart()->legend()->markers(divisions_)) marker->setVisible(false);
}

bool StairSeries::DivisionLinesVisible() const { return divisions_->isVisible(); }

QList<QPointF> StairSeries::UpperLine() const { return upper_->points(); }
QList<QPointF> StairSeries::LowerLine() const { return lower_->points(); }
QList<QPointF> StairSeries::DivisionLines() const { return divisions_->points(); }

void StairSeries::Render() {
  const std::vector<SeriesPoint>& points = Points();
  upper_->replace(StairPoints(points));
  QList<QPointF> zero;
  if (!points.empty()) zero = {QPointF(points.front().x, 0), QPointF(points.back().x, 0)};
  lower_->replace(zero);
  divisions_->replace(DivisionPoints(points));
}

QList<QLegendMarker*> StairSeries::LegendMarkers() const {
  return Chart() == nullptr ? QList<QLegendMarker*>() : Chart()->legend()->markers(area_);
}

}  // namespace nimbra
