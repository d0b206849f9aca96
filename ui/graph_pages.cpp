#include "graph_pages.h"

#include <QBarCategoryAxis>
#include <QChart>
#include <QGridLayout>
#include <QLegend>
#include <QLinearGradient>
#include <QValueAxis>
#include <algorithm>
#include <limits>

#include "chart_zoom.h"

namespace nimbra {

namespace {

constexpr const char* kZoomHint =
    "To zoom in drag downwards; to zoom out drag upwards; to move drag with the right button";
constexpr int kLightYellow = 8454143;
// Room above the highest bar for its value.
constexpr double kHeadroom = 0.12;
constexpr int kLagTicks = 11;
constexpr double kProbabilityTicks = 0.2;

struct Extent {
  double xMin = std::numeric_limits<double>::infinity();
  double xMax = -std::numeric_limits<double>::infinity();
  double yMin = 0;  // every chart shows its zero line
  double yMax = 0;
  bool empty = true;

  void Include(const SeriesPoint& p) {
    xMin = std::min(xMin, p.x);
    xMax = std::max(xMax, p.x);
    yMin = std::min(yMin, p.y);
    yMax = std::max(yMax, p.y);
    empty = false;
  }
};

void SetBackground(QChart& chart, PageBackground background) {
  if (background == PageBackground::YellowGradient) {
    QLinearGradient gradient(0, 0, 0, 1);
    gradient.setCoordinateMode(QGradient::ObjectBoundingMode);
    gradient.setColorAt(0, Qt::white);
    gradient.setColorAt(1, ColourValue(kLightYellow));
    chart.setBackgroundBrush(gradient);
  } else if (background == PageBackground::WhitePanel) {
    chart.setPlotAreaBackgroundBrush(Qt::white);
    chart.setPlotAreaBackgroundPen(QPen(Qt::gray));
    chart.setPlotAreaBackgroundVisible(true);
  }
}

QFont TitleFont(const QChart& chart) {
  QFont font = chart.titleFont();
  font.setBold(true);
  font.setPointSizeF(font.pointSizeF() * 1.1);
  return font;
}

}  // namespace

QColor ColourValue(int value) { return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF); }

GraphPage::GraphPage(const PageLayout& spec, QWidget* parent)
    : QWidget(parent),
      chart_(new QChart),
      view_(new ZoomChartView(chart_, this)),
      bottom_(spec.bottom),
      probabilities_(spec.probabilities) {
  setObjectName(QString::fromLatin1(spec.name));
  chart_->setObjectName(QString::fromLatin1(spec.chartName));
  chart_->setTitle(QString::fromLatin1(spec.title));
  chart_->setTitleFont(TitleFont(*chart_));
  chart_->setBackgroundRoundness(0);
  chart_->legend()->setAlignment(spec.legendBeside ? Qt::AlignRight : Qt::AlignTop);
  SetBackground(*chart_, spec.background);
  MakeAxes(spec);
  if (spec.pageHint != nullptr) setToolTip(QString::fromLatin1(spec.pageHint));
  view_->setToolTip(QString::fromLatin1(kZoomHint));
  view_->SetAnimatedZoom(spec.animatedZoom);
  view_->onWholeView = [this] { FitWholeView(); };
  auto* layout = new QGridLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(view_, 0, 0);
  FitWholeView();
}

void GraphPage::Attach(std::unique_ptr<ChartSeries> series) {
  series->AttachTo(*chart_, *x_, *y_);
  series_.push_back(std::move(series));
}

void GraphPage::AddOverlay(QWidget* control, Qt::Alignment where) {
  static_cast<QGridLayout*>(layout())->addWidget(control, 0, 0, where);
  control->raise();
}

void GraphPage::MakeAxes(const PageLayout& spec) {
  if (spec.bottom == BottomAxis::Categories) {
    x_ = new QBarCategoryAxis(chart_);
  } else {
    auto* values = new QValueAxis(chart_);
    if (spec.bottom == BottomAxis::WholeNumbers) values->setLabelFormat(QStringLiteral("%d"));
    x_ = values;
  }
  y_ = new QValueAxis(chart_);
  if (spec.probabilities) {
    y_->setTickType(QValueAxis::TicksDynamic);
    y_->setTickAnchor(0);
    y_->setTickInterval(kProbabilityTicks);
  }
  x_->setTitleText(QString::fromLatin1(spec.bottomTitle));
  y_->setTitleText(QString::fromLatin1(spec.leftTitle));
  chart_->addAxis(x_, Qt::AlignBottom);
  chart_->addAxis(y_, Qt::AlignLeft);
}

void GraphPage::Draw() {
  for (const auto& series : series_) series->Draw();
  if (bottom_ == BottomAxis::Categories) NameCategories();
  if (view_->WholeView()) FitWholeView();
}

void GraphPage::Clear() {
  for (const auto& series : series_) series->Clear();
  Draw();
}

namespace {

// Nice numbers depend on the tick count, which they change: starting from the same
// count every time makes the whole view the same however it was reached.
void ApplyNiceNumbers(QValueAxis& axis) {
  constexpr int kStartTicks = 5;
  axis.setTickCount(kStartTicks);
  axis.applyNiceNumbers();
}

}  // namespace

void GraphPage::FitWholeView() {
  Extent extent;
  for (const auto& series : series_) {
    for (const SeriesPoint& p : series->Points()) extent.Include(p);
  }
  if (extent.empty) extent = {0, 1, 0, 1, true};
  if (extent.yMax <= extent.yMin) extent.yMax = extent.yMin + 1;
  const double headroom = bottom_ == BottomAxis::Categories ? kHeadroom * (extent.yMax - extent.yMin) : 0;
  if (probabilities_) {
    y_->setRange(0, 1 + kHeadroom);
  } else {
    y_->setRange(extent.yMin, extent.yMax + headroom);
    ApplyNiceNumbers(*y_);
  }
  auto* values = qobject_cast<QValueAxis*>(x_);
  if (values == nullptr) return;
  if (extent.xMax <= extent.xMin) extent.xMax = extent.xMin + 1;
  values->setRange(extent.xMin, extent.xMax);
  if (bottom_ == BottomAxis::WholeNumbers) {
    values->setTickCount(std::min(kLagTicks, static_cast<int>(extent.xMax - extent.xMin) + 1));
  } else {
    ApplyNiceNumbers(*values);
  }
}

// A position is named by the first series that gave its point there a label.
void GraphPage::NameCategories() {
  QStringList names;
  for (const auto& series : series_) {
    const std::vector<SeriesPoint>& points = series->Points();
    for (std::size_t i = 0; i < points.size(); ++i) {
      if (i >= static_cast<std::size_t>(names.size())) names.append(QString());
      if (names[static_cast<qsizetype>(i)].isEmpty()) names[static_cast<qsizetype>(i)] = points[i].label;
    }
  }
  for (qsizetype i = 0; i < names.size(); ++i) {
    if (names[i].isEmpty()) names[i] = QString::number(i);
  }
  auto* categories = static_cast<QBarCategoryAxis*>(x_);
  if (names.isEmpty()) {
    categories->clear();
  } else if (categories->categories() != names) {
    categories->setCategories(names);
  }
}

}  // namespace nimbra
