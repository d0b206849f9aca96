#pragma once
// One page of the graphs window: a chart filling the page, its two axes and its series.
// Pages differ only in what their table entry says of them.

#include <QWidget>
#include <memory>
#include <vector>

#include "chart_series.h"

QT_BEGIN_NAMESPACE
class QAbstractAxis;
class QChart;
class QValueAxis;
QT_END_NAMESPACE

namespace nimbra {

class ZoomChartView;

// Colours as 24-bit values with red in the low byte, the way the window has always
// named its colours (33023 is orange).
QColor ColourValue(int value);

enum class PageBackground { Plain, WhitePanel, YellowGradient };
// What the bottom axis shows: continuous values, whole numbers (lags), or the names of
// the bar positions.
enum class BottomAxis { Values, WholeNumbers, Categories };

struct PageLayout {
  const char* name = "";
  const char* chartName = "";
  const char* title = "";
  const char* bottomTitle = "";
  const char* leftTitle = "";
  BottomAxis bottom = BottomAxis::Values;
  PageBackground background = PageBackground::Plain;
  bool probabilities = false;  // the left axis ends at 1, with room above for the values
  bool legendBeside = false;   // many series: a column beside the plot instead of a row above
  bool animatedZoom = false;
  const char* pageHint = nullptr;
};

class GraphPage : public QWidget {
 public:
  GraphPage(const PageLayout& spec, QWidget* parent);

  QChart* Chart() const { return chart_; }
  ZoomChartView* View() const { return view_; }
  QAbstractAxis* BottomAxisOf() const { return x_; }
  QValueAxis* LeftAxis() const { return y_; }

  // The page owns the series; they are drawn in the order they were added.
  template <class Kind, class... Args>
  Kind* Add(Args&&... args) {
    auto series = std::make_unique<Kind>(std::forward<Args>(args)...);
    Kind* added = series.get();
    Attach(std::move(series));
    return added;
  }
  const std::vector<std::unique_ptr<ChartSeries>>& Series() const { return series_; }
  // A control laid over the chart, such as a check box in a corner.
  void AddOverlay(QWidget* control, Qt::Alignment where);

  // Every series onto the chart; the axes follow the data unless the user has zoomed
  // into it or moved it.
  void Draw();
  void Clear();

 private:
  void Attach(std::unique_ptr<ChartSeries> series);
  void MakeAxes(const PageLayout& spec);
  void FitWholeView();
  void NameCategories();

  QChart* chart_;
  ZoomChartView* view_;
  QAbstractAxis* x_ = nullptr;
  QValueAxis* y_ = nullptr;
  BottomAxis bottom_;
  bool probabilities_;
  std::vector<std::unique_ptr<ChartSeries>> series_;
};

}  // namespace nimbra
