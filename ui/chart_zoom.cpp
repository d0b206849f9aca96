#include "chart_zoom.h"

#include <QMouseEvent>
#include <QRubberBand>
#include <QTimer>

namespace nimbra {

namespace {

// A shorter drag is taken for a click and does nothing.
constexpr int kMinimumDrag = 4;
constexpr int kZoomMilliseconds = 400;

}  // namespace

ZoomChartView::ZoomChartView(QChart* chart, QWidget* parent)
    : QChartView(chart, parent), band_(new QRubberBand(QRubberBand::Rectangle, viewport())) {
  setRenderHint(QPainter::Antialiasing);
  setRubberBand(QChartView::NoRubberBand);
}

void ZoomChartView::ZoomInto(const QRectF& rect) {
  const QRectF plotted = mapToScene(rect.toAlignedRect()).boundingRect().intersected(chart()->plotArea());
  if (plotted.isEmpty()) return;
  if (animated_) {
    chart()->setAnimationDuration(kZoomMilliseconds);
    chart()->setAnimationOptions(QChart::SeriesAnimations | QChart::GridAxisAnimations);
    // Updates of the data are not animated: only this zoom is.
    QTimer::singleShot(2 * kZoomMilliseconds, chart(),
                       [c = chart()] { c->setAnimationOptions(QChart::NoAnimation); });
  }
  chart()->zoomIn(plotted);
  wholeView_ = false;
}

void ZoomChartView::RestoreWholeView() {
  chart()->zoomReset();
  wholeView_ = true;
  if (onWholeView) onWholeView();
}

void ZoomChartView::MoveBy(QPointF delta) {
  chart()->scroll(-delta.x(), delta.y());
  wholeView_ = false;
}

void ZoomChartView::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton && event->button() != Qt::RightButton) {
    QChartView::mousePressEvent(event);
    return;
  }
  dragging_ = event->button();
  origin_ = last_ = event->position().toPoint();
  if (dragging_ == Qt::LeftButton) band_->setGeometry(QRect(origin_, QSize()));
  event->accept();
}

void ZoomChartView::mouseMoveEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  if (dragging_ == Qt::LeftButton) {
    band_->setGeometry(QRect(origin_, at).normalized());
    band_->show();
  } else if (dragging_ == Qt::RightButton) {
    MoveBy(at - last_);
  } else {
    QChartView::mouseMoveEvent(event);
    return;
  }
  last_ = at;
  event->accept();
}

void ZoomChartView::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != dragging_) {
    QChartView::mouseReleaseEvent(event);
    return;
  }
  if (dragging_ == Qt::LeftButton) FinishLeftDrag(event->position().toPoint());
  dragging_ = Qt::NoButton;
  event->accept();
}

void ZoomChartView::FinishLeftDrag(QPoint end) {
  band_->hide();
  const QPoint drag = end - origin_;
  if (drag.manhattanLength() < kMinimumDrag) return;
  if (drag.x() > 0 && drag.y() > 0) {
    ZoomInto(QRect(origin_, end));
  } else {
    RestoreWholeView();
  }
}

}  // namespace nimbra
