#pragma once
// A chart view zoomed and moved with the mouse: a rectangle dragged down and to the
// right with the left button zooms into it, a drag upwards or to the left restores the
// whole view, and a drag with the right button moves the view along with the mouse.

#include <QChartView>
#include <functional>

class QRubberBand;

namespace nimbra {

class ZoomChartView : public QChartView {
  Q_OBJECT

 public:
  explicit ZoomChartView(QChart* chart, QWidget* parent = nullptr);

  // Zooms glide into place instead of jumping.
  void SetAnimatedZoom(bool animated) { animated_ = animated; }
  // False from a zoom or a move until the whole view is restored. While it is false an
  // update of the data leaves the view where the user put it.
  bool WholeView() const { return wholeView_; }

  // rect in the view's pixels; only its part over the plot area counts.
  void ZoomInto(const QRectF& rect);
  void RestoreWholeView();
  // The contents follow the mouse by delta pixels.
  void MoveBy(QPointF delta);

  // Fits the axes to the data: run after the whole view has been restored.
  std::function<void()> onWholeView;

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void FinishLeftDrag(QPoint end);

  QRubberBand* band_;
  Qt::MouseButton dragging_ = Qt::NoButton;
  QPoint origin_;
  QPoint last_;
  bool animated_ = false;
  bool wholeView_ = true;
};

}  // namespace nimbra
