#pragma once
// A filled area drawn as stairs: each point's value holds until the next point, so the
// pair (origin, height), (end, 0) draws a rectangle over [origin, end]. Qt Charts has no
// stepped area, so the series draws the steps itself into the upper line of a Qt area
// series whose lower line is the zero line.

#include "chart_series.h"

QT_BEGIN_NAMESPACE
class QAreaSeries;
QT_END_NAMESPACE

namespace nimbra {

class StairSeries : public ChartSeries {
 public:
  struct Look {
    bool outline = false;        // the outline of the whole area
    bool divisionLines = false;  // the vertical lines under the points
    int fillAlpha = 255;         // below 255 lets a series drawn earlier show through
  };

  StairSeries(const QString& name, const QString& title, const QColor& colour, const Look& look);

  void AttachTo(QChart& chart, QAbstractAxis& x, QAbstractAxis& y) override;

  void SetDivisionLinesVisible(bool visible);
  bool DivisionLinesVisible() const;

  // The drawn outline of the steps, the zero line under it and the division lines,
  // as Qt Charts holds them.
  QList<QPointF> UpperLine() const;
  QList<QPointF> LowerLine() const;
  QList<QPointF> DivisionLines() const;
  QAreaSeries* Area() const { return area_; }
  QList<QLegendMarker*> LegendMarkers() const override;

 protected:
  void Render() override;

 private:
  Look look_;
  QAreaSeries* area_ = nullptr;
  QLineSeries* upper_ = nullptr;
  QLineSeries* lower_ = nullptr;
  QLineSeries* divisions_ = nullptr;
};

// The stairs through points: p0, then for each next point the step across at the
// previous height and the rise (or fall) to its own.
QList<QPointF> StairPoints(const std::vector<SeriesPoint>& points);
// A vertical line at each point, from zero up to the higher of the two steps that meet
// there, joined along the zero line.
QList<QPointF> DivisionPoints(const std::vector<SeriesPoint>& points);

}  // namespace nimbra
