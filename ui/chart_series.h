#pragma once
// The series of the graphs window as the window feeds them: points with an optional
// label, cleared and refilled at every update. The points live here rather than in the
// Qt Charts series because a series may draw more (or other) points than it is given,
// and Qt keeps no per-point labels; each kind puts its points on the chart in Draw().

#include <QColor>
#include <QList>
#include <QPointF>
#include <QString>
#include <span>
#include <vector>

QT_BEGIN_NAMESPACE
class QAbstractAxis;
class QBarSet;
class QChart;
class QLegendMarker;
class QLineSeries;
QT_END_NAMESPACE

namespace nimbra {

struct SeriesPoint {
  double x = 0;
  double y = 0;
  QString label;
};

class ChartSeries {
 public:
  ChartSeries(const QString& name, const QString& title, const QColor& colour);
  virtual ~ChartSeries() = default;
  ChartSeries(const ChartSeries&) = delete;
  ChartSeries& operator=(const ChartSeries&) = delete;

  const QString& Name() const { return name_; }
  const QString& Title() const { return title_; }
  const QColor& Colour() const { return colour_; }
  const std::vector<SeriesPoint>& Points() const { return points_; }
  int Count() const { return static_cast<int>(points_.size()); }

  void Clear();
  // At x = Count(): bars stand at 0, 1, 2, ... in the order they were added.
  void Add(double y, const QString& label = {});
  // Kept in ascending order of x; a point goes after those with the same x, so that
  // the two ends of touching cells keep the order they were added in.
  void AddXY(double x, double y, const QString& label = {});
  void AddArray(std::span<const double> values);

  // The legend's flag for this series; the series is drawn either way.
  void SetInLegend(bool listed);
  bool InLegend() const { return listed_; }
  // The series' entries in the chart's legend. Qt makes them visible only once the
  // chart has been laid out on screen, but it keeps a flag set before then.
  virtual QList<QLegendMarker*> LegendMarkers() const = 0;

  // Puts the series on chart; the chart must hold both axes already.
  virtual void AttachTo(QChart& chart, QAbstractAxis& x, QAbstractAxis& y) = 0;
  // Hands the points to Qt Charts when they changed since the last call.
  void Draw();

 protected:
  virtual void Render() = 0;
  QChart* Chart() const { return chart_; }
  void SetChart(QChart& chart) { chart_ = &chart; }

 private:
  void Changed() { dirty_ = true; }

  QString name_;
  QString title_;
  QColor colour_;
  std::vector<SeriesPoint> points_;
  QChart* chart_ = nullptr;
  bool listed_ = true;
  bool dirty_ = true;
};

// One bar per point, beside the bars of the chart's other bar series, each showing its
// value above it.
class BarSeries : public ChartSeries {
 public:
  using ChartSeries::ChartSeries;
  void AttachTo(QChart& chart, QAbstractAxis& x, QAbstractAxis& y) override;
  QBarSet* Set() const { return set_; }
  QList<QLegendMarker*> LegendMarkers() const override;

 protected:
  void Render() override;

 private:
  QBarSet* set_ = nullptr;
};

// A line through the points, without point markers.
class LineSeries : public ChartSeries {
 public:
  LineSeries(const QString& name, const QString& title, const QColor& colour, int width);
  void AttachTo(QChart& chart, QAbstractAxis& x, QAbstractAxis& y) override;
  QLineSeries* Line() const { return line_; }
  QList<QLegendMarker*> LegendMarkers() const override;

 protected:
  void Render() override;

 private:
  int width_;
  QLineSeries* line_ = nullptr;
};

}  // namespace nimbra
