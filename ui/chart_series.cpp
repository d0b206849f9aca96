#include "chart_series.h"

#include <QBarLegendMarker>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <algorithm>

namespace nimbra {

namespace {

constexpr int kBarValueDigits = 3;

}  // namespace

ChartSeries::ChartSeries(const QString& name, const QString& title, const QColor& colour)
    : name_(name), title_(title), colour_(colour) {}

void ChartSeries::Clear() {
  points_.clear();
  Changed();
}

void ChartSeries::Add(double y, const QString& label) {
  points_.push_back({static_cast<double>(points_.size()), y, label});
  Changed();
}

void ChartSeries::AddXY(double x, double y, const QString& label) {
  const auto after = std::upper_bound(points_.begin(), points_.end(), x,
                                      [](double value, const SeriesPoint& p) { return value < p.x; });
  points_.insert(after, {x, y, label});
  Changed();
}

void ChartSeries::AddArray(std::span<const double> values) {
  for (double value : values) points_.push_back({static_cast<double>(points_.size()), value, {}});
  Changed();
}

void ChartSeries::SetInLegend(bool listed) {
  listed_ = listed;
  for (QLegendMarker* marker : LegendMarkers()) marker->setVisible(listed);
}

void ChartSeries::Draw() {
  if (!dirty_) return;
  Render();
  dirty_ = false;
  SetInLegend(listed_);  // a legend may make its markers afresh when a series changes
}

// --- Bars ---

// All bar series of a chart share one Qt bar series, which places their bars side by
// side at each position.
void BarSeries::AttachTo(QChart& chart, QAbstractAxis& x, QAbstractAxis& y) {
  SetChart(chart);
  QBarSeries* bars = nullptr;
  for (QAbstractSeries* series : chart.series()) {
    if (auto* found = qobject_cast<QBarSeries*>(series)) bars = found;
  }
  if (bars == nullptr) {
    bars = new QBarSeries(&chart);
    bars->setLabelsVisible(true);
    bars->setLabelsPosition(QAbstractBarSeries::LabelsOutsideEnd);
    bars->setLabelsPrecision(kBarValueDigits);
    chart.addSeries(bars);
    bars->attachAxis(&x);
    bars->attachAxis(&y);
  }
  set_ = new QBarSet(Title(), bars);
  set_->setColor(Colour());
  set_->setBorderColor(Colour().darker());
  set_->setLabelColor(Qt::black);
  bars->append(set_);
}

void BarSeries::Render() {
  if (set_->count() > 0) set_->remove(0, set_->count());
  QList<qreal> values;
  for (const SeriesPoint& p : Points()) values.append(p.y);
  set_->append(values);
}

QList<QLegendMarker*> BarSeries::LegendMarkers() const {
  QList<QLegendMarker*> mine;
  if (Chart() == nullptr) return mine;
  for (QLegendMarker* marker : Chart()->legend()->markers()) {
    auto* bar = qobject_cast<QBarLegendMarker*>(marker);
    if (bar != nullptr && bar->barset() == set_) mine.append(marker);
  }
  return mine;
}

// --- Lines ---

LineSeries::LineSeries(const QString& name, const QString& title, const QColor& colour, int width)
    : ChartSeries(name, title, colour), width_(width) {}

void LineSeries::AttachTo(QChart& chart, QAbstractAxis& x, QAbstractAxis& y) {
  SetChart(chart);
  line_ = new QLineSeries(&chart);
  line_->setName(Title());
  QPen pen(Colour(), width_);
  pen.setCapStyle(Qt::RoundCap);
  pen.setJoinStyle(Qt::RoundJoin);
  line_->setPen(pen);
  chart.addSeries(line_);
  line_->attachAxis(&x);
  line_->attachAxis(&y);
}

void LineSeries::Render() {
  QList<QPointF> points;
  for (const SeriesPoint& p : Points()) points.append(QPointF(p.x, p.y));
  line_->replace(points);
}

QList<QLegendMarker*> LineSeries::LegendMarkers() const {
  return Chart() == nullptr ? QList<QLegendMarker*>() : Chart()->legend()->markers(line_);
}

}  // namespace nimbra
