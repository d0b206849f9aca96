#include "graphs_window.h"

#include <QAbstractAxis>
#include <QApplication>
#include <QAreaSeries>
#include <QBarSet>
#include <QChart>
#include <QCheckBox>
#include <QClipboard>
#include <QGroupBox>
#include <QLegendMarker>
#include <QLineSeries>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QValueAxis>
#include <QtTest>
#include <sstream>

#include "chart_clipboard.h"
#include "chart_series.h"
#include "chart_zoom.h"
#include "child_widget.h"
#include "help_window.h"
#include "make_storms.h"
#include "scripted_prompts.h"
#include "stair_series.h"
#include "started_engine.h"

using namespace nimbra;

namespace {

QList<QPointF> XY(const ChartSeries& series) {
  QList<QPointF> points;
  for (const SeriesPoint& p : series.Points()) points.append(QPointF(p.x, p.y));
  return points;
}

QList<double> Ys(const ChartSeries& series) {
  QList<double> ys;
  for (const SeriesPoint& p : series.Points()) ys.append(p.y);
  return ys;
}

// Hour h as a flat step over its own interval: from (h-1)/24 to h/24 days.
QList<QPointF> HourSteps(const HourlySeries& hours) {
  QList<QPointF> points;
  for (int h = 1; h <= hours.Count; ++h)
    points << QPointF((h - 1) / 24.0, hours[h]) << QPointF(h / 24.0, hours[h]);
  return points;
}

// The flat parts of a drawn outline that have a width, as (from, to, height).
QList<QList<double>> FlatSteps(const QList<QPointF>& line) {
  QList<QList<double>> steps;
  for (qsizetype i = 1; i < line.size(); ++i) {
    if (line[i].y() == line[i - 1].y() && line[i].x() > line[i - 1].x())
      steps.append({line[i - 1].x(), line[i].x(), line[i].y()});
  }
  return steps;
}

// 1 when the series is listed in its legend, 0 when it is not, -1 when the flag and
// the chart's legend disagree.
int Listed(const ChartSeries& series) {
  const QList<QLegendMarker*> markers = series.LegendMarkers();
  if (markers.isEmpty()) return -1;
  for (QLegendMarker* marker : markers) {
    if (marker->isVisible() != series.InLegend()) return -1;
  }
  return series.InLegend() ? 1 : 0;
}

QList<double> Autocorrelations(double start, double step) {
  QList<double> values;
  for (int lag = 0; lag <= 10; ++lag) values.append(start - step * lag);
  return values;
}

void Summary(StatisticsSummary& s, int count, double variation, double skewness, double autocStep) {
  s.Count = count;
  s.Variation = variation;
  s.Skewness = skewness;
  const QList<double> autoc = Autocorrelations(1.0, autocStep);
  for (int lag = 0; lag <= 10; ++lag) s.Autoc[static_cast<std::size_t>(lag)] = autoc[lag];
}

void SendMouse(QWidget* target, QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held) {
  QMouseEvent event(type, QPointF(at), QPointF(target->mapToGlobal(at)), button, held, Qt::NoModifier);
  QApplication::sendEvent(target, &event);
}

void Drag(ZoomChartView& view, Qt::MouseButton button, QPoint from, QPoint to) {
  QWidget* surface = view.viewport();
  SendMouse(surface, QEvent::MouseButtonPress, from, button, button);
  SendMouse(surface, QEvent::MouseMove, (from + to) / 2, Qt::NoButton, button);
  SendMouse(surface, QEvent::MouseMove, to, Qt::NoButton, button);
  SendMouse(surface, QEvent::MouseButtonRelease, to, button, Qt::NoButton);
}

QPair<double, double> Range(QChart* chart) {
  auto* axis = qobject_cast<QValueAxis*>(chart->axes(Qt::Horizontal).first());
  return {axis->min(), axis->max()};
}

}  // namespace

class GraphsWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();
  void windowAndPages();
  void seriesTitlesColoursAndOrder();
  void twoDaySequenceDrawsFortyEightSteps();
  void cellDrawnAsItsRectangle();
  void twelveStormsShareTheLastSeries();
  void originalStormsUntilThePageIsLeft();
  void optionsOfferedPerPage();
  void optionChoosesTheSummaries();
  void testModeRunDrawsTheEngineState();
  void fileModeWithoutHoursLeavesTheOriginalOut();
  void zeroCountEndsTheProbabilities();
  void resetEmptiesEverySeries();
  void copyPutsTheShownChartOnTheClipboard();
  void zoomAndMoveWithTheMouse();
  void activationComputesStatisticsOnly();
  void closingHidesAndSignals();

 private:
  EngineState& S() { return PlantedState(*engine); }
  void RunTestMode(int sequences);
  QList<ChartSeries*> AllSeries() const;
  // The series of the four comparison charts, red and green.
  QList<ChartSeries*> Originals() const {
    return {form->Drawn().originalHours, form->Drawn().originalDryProbability, form->Drawn().originalMarginal,
            form->Drawn().originalAutocorrelation};
  }
  QList<ChartSeries*> Disaggregated() const {
    return {form->Drawn().syntheticHours, form->Drawn().syntheticDryProbability,
            form->Drawn().syntheticMarginal, form->Drawn().syntheticAutocorrelation};
  }

  std::unique_ptr<StartedEngine> started;
  Engine* engine = nullptr;
  ScriptedPrompts prompts;
  std::unique_ptr<HelpWindow> help;
  std::unique_ptr<GraphsWindow> form;
};

void GraphsWindowTest::init() {
  started = std::make_unique<StartedEngine>(11);
  engine = &started->engine;
  S().OriginalHourlyAvailable = true;
  help = std::make_unique<HelpWindow>();
  form = std::make_unique<GraphsWindow>(*engine, prompts, *help);
  // Qt's legends take their flags into account once they have been laid out.
  form->show();
  QApplication::processEvents();
}

void GraphsWindowTest::cleanup() {
  form.reset();
  help.reset();
  started.reset();
}

void GraphsWindowTest::RunTestMode(int sequences) {
  for (int i = 0; i < sequences; ++i) QVERIFY(engine->Step().Outcome == StepOutcome::Done);
  engine->ComputeStatistics();
}

QList<ChartSeries*> GraphsWindowTest::AllSeries() const {
  QList<ChartSeries*> all{form->Drawn().originalHours,           form->Drawn().syntheticHours,
                          form->Drawn().originalDryProbability,  form->Drawn().syntheticDryProbability,
                          form->Drawn().originalMarginal,        form->Drawn().syntheticMarginal,
                          form->Drawn().originalAutocorrelation, form->Drawn().syntheticAutocorrelation};
  for (StairSeries* cells : form->Drawn().cells) all.append(cells);
  return all;
}

void GraphsWindowTest::windowAndPages() {
  QCOMPARE(form->windowTitle(), QStringLiteral("Nimbra graphs"));
  QCOMPARE(GraphsWindow::kHelpContext, 23);
  const QStringList pages{"Storms", "Hyetograph", "Probabilities", "Marginal", "Autocorrelation"};
  QCOMPARE(Child<QTabWidget>(form, "pages")->count(), pages.size());
  for (int p = 0; p < pages.size(); ++p) QCOMPARE(Child<QTabWidget>(form, "pages")->tabText(p), pages[p]);
  QCOMPARE(Child<QTabWidget>(form, "pages")->currentIndex(), 1);
  const struct {
    QChart* chart;
    const char* title;
    const char* bottom;
    const char* left;
  } charts[] = {{form->Drawn().marginal, "Marginal statistics", "", "Variation, Skewness"},
                {form->Drawn().autocorrelation, "Autocorrelation", "Lag (h)", "Autocorrelation"},
                {form->Drawn().storms, "Storms ", "Time (days)", "Intensity (mm/h)"},
                {form->Drawn().hyetograph, "Hyetograph", "Time (days)", "Intensity (mm/h)"},
                {form->Drawn().dryProbability, "Probabilities of dry spells", "", "Probability (P)"}};
  for (const auto& c : charts) {
    QCOMPARE(c.chart->title(), QString::fromLatin1(c.title));
    QCOMPARE(c.chart->axes(Qt::Horizontal).first()->titleText(), QString::fromLatin1(c.bottom));
    QCOMPARE(c.chart->axes(Qt::Vertical).first()->titleText(), QString::fromLatin1(c.left));
  }
  QCOMPARE(Child<QTabWidget>(form, "pages")->widget(1)->findChild<ZoomChartView*>()->chart(),
           form->Drawn().hyetograph);
  for (QRadioButton* b : form->findChildren<QRadioButton*>())
    QVERIFY2(!b->isChecked(), qPrintable(b->text()));
  QCOMPARE(form->findChildren<QRadioButton*>().size(), 5);
  QCOMPARE(Child<QPushButton>(form, "copy")->toolTip(), QStringLiteral("Copy graph to clipboard"));
  QVERIFY(!Child<QCheckBox>(form, "cellBorders")->isChecked());
  QVERIFY(
      form->ChartView(GraphsWindow::kHyetographPage)->toolTip().startsWith("To zoom in drag downwards; to"));
}

// As the legend shows them: each series' title and the colour it is drawn in.
void GraphsWindowTest::seriesTitlesColoursAndOrder() {
  const QColor cells[] = {{255, 0, 0},     {0, 128, 0},   {255, 255, 0}, {0, 0, 255}, {255, 128, 0},
                          {105, 105, 105}, {255, 0, 255}, {0, 128, 128}, {0, 0, 128}, {128, 0, 0}};
  QList<QPair<ChartSeries*, QPair<QString, QColor>>> expected;
  for (int i = 0; i < 10; ++i)
    expected.append(
        {form->Drawn().cells[i], {i < 9 ? QString("Storm %1").arg(i + 1) : "Storm >=10", cells[i]}});
  for (ChartSeries* s : Originals()) expected.append({s, {"Original", QColor(255, 0, 0)}});
  for (ChartSeries* s : Disaggregated()) expected.append({s, {"Disaggregated", QColor(0, 128, 0)}});
  for (const auto& [series, look] : expected) {
    QCOMPARE(series->LegendMarkers().size(), 1);
    QCOMPARE(series->LegendMarkers().first()->label(), look.first);
    QCOMPARE(series->LegendMarkers().first()->brush().color().rgb(), look.second.rgb());
  }
  // The original is drawn over the disaggregated.
  const QList<QAbstractSeries*> hyetograph = form->Drawn().hyetograph->series();
  QVERIFY(hyetograph.indexOf(static_cast<QAbstractSeries*>(form->Drawn().syntheticHours->Area())) <
          hyetograph.indexOf(static_cast<QAbstractSeries*>(form->Drawn().originalHours->Area())));
  const QList<QAbstractSeries*> lags = form->Drawn().autocorrelation->series();
  QVERIFY(lags.indexOf(static_cast<QAbstractSeries*>(
              static_cast<LineSeries*>(form->Drawn().syntheticAutocorrelation)->Line())) <
          lags.indexOf(static_cast<QAbstractSeries*>(
              static_cast<LineSeries*>(form->Drawn().originalAutocorrelation)->Line())));
  QCOMPARE(static_cast<LineSeries*>(form->Drawn().syntheticAutocorrelation)->Line()->pen().width(), 2);
  QCOMPARE(static_cast<LineSeries*>(form->Drawn().originalAutocorrelation)->Line()->pen().width(), 3);
}

void GraphsWindowTest::twoDaySequenceDrawsFortyEightSteps() {
  S().Options.UseConstLength = true;
  S().Options.ConstLength = 2;
  RunTestMode(1);
  form->UpdateGraphs();
  for (StairSeries* series : {form->Drawn().originalHours, form->Drawn().syntheticHours}) {
    const HourlySeries& hours =
        series == form->Drawn().originalHours ? S().OriginalHourly : S().SyntheticHourly;
    QCOMPARE(hours.Count, 48);
    QCOMPARE(series->Count(), 96);
    QCOMPARE(series->Points().front().x, 0.0);  // the first hour starts at the day's start
    QCOMPARE(series->Points().back().x, 2.0);   // the last hour of day 2 ends at its midnight
    const QList<QList<double>> steps = FlatSteps(series->UpperLine());
    QCOMPARE(steps.size(), 48);
    for (int h = 1; h <= 48; ++h) QCOMPARE(steps[h - 1], (QList<double>{(h - 1) / 24.0, h / 24.0, hours[h]}));
  }
}

void GraphsWindowTest::cellDrawnAsItsRectangle() {
  S().Storms = MakeStorms({{{0.5, 0.25, 48.0}}});
  form->ShowPage(GraphsWindow::kStormsPage);
  StairSeries& cells = *form->Drawn().cells[0];
  QCOMPARE(XY(cells), (QList<QPointF>{{0.5, 2.0}, {0.75, 0.0}}));
  QCOMPARE(cells.Points()[0].label, QString());
  QCOMPARE(cells.Points()[1].label, QStringLiteral(" "));
  // Over the zero line: up at the origin, across at intensity / 24, down at the end.
  QCOMPARE(cells.UpperLine(), (QList<QPointF>{{0.5, 2.0}, {0.75, 2.0}, {0.75, 0.0}}));
  QCOMPARE(cells.LowerLine(), (QList<QPointF>{{0.5, 0.0}, {0.75, 0.0}}));
  QVERIFY(!cells.DivisionLinesVisible());
  Child<QCheckBox>(form, "cellBorders")->click();
  for (StairSeries* series : form->Drawn().cells) QVERIFY(series->DivisionLinesVisible());
  QCOMPARE(cells.DivisionLines(),
           (QList<QPointF>{{0.5, 0}, {0.5, 2}, {0.5, 0}, {0.75, 0}, {0.75, 2}, {0.75, 0}}));
  Child<QCheckBox>(form, "cellBorders")->click();
  for (StairSeries* series : form->Drawn().cells) QVERIFY(!series->DivisionLinesVisible());
}

void GraphsWindowTest::twelveStormsShareTheLastSeries() {
  // Storm j has cells at j + 0.1 and j + 0.2, of intensity 24 j and 48 j; storm 4 has none.
  std::vector<std::vector<Cell>> storms;
  for (int j = 1; j <= 12; ++j) {
    storms.push_back({});
    if (j != 4) storms.back() = {{j + 0.2, 0.05, 48.0 * j}, {j + 0.1, 0.05, 24.0 * j}};
  }
  S().Storms = MakeStorms(storms);
  form->ShowPage(GraphsWindow::kStormsPage);
  for (int j = 1; j <= 9; ++j) {
    const QList<QPointF> expected =
        j == 4 ? QList<QPointF>{}
               : QList<QPointF>{{j + 0.1, 1.0 * j}, {j + 0.15, 0}, {j + 0.2, 2.0 * j}, {j + 0.25, 0}};
    QCOMPARE(XY(*form->Drawn().cells[j - 1]), expected);
    QCOMPARE(Listed(*form->Drawn().cells[j - 1]), j != 4 ? 1 : 0);
  }
  QList<QPointF> late;
  for (int j = 10; j <= 12; ++j)
    late << QPointF(j + 0.1, 1.0 * j) << QPointF(j + 0.15, 0) << QPointF(j + 0.2, 2.0 * j)
         << QPointF(j + 0.25, 0);
  QCOMPARE(XY(*form->Drawn().cells[9]), late);
  QCOMPARE(Listed(*form->Drawn().cells[9]), 1);

  // Fewer storms later: the empty series leave the legend, except the first.
  S().Storms = MakeStorms({{}, {{0.3, 0.1, 24.0}}});
  form->UpdateGraphs();
  QCOMPARE(Listed(*form->Drawn().cells[0]), 1);
  QCOMPARE(form->Drawn().cells[0]->Count(), 0);
  QCOMPARE(Listed(*form->Drawn().cells[1]), 1);
  for (int i = 2; i < 10; ++i) QCOMPARE(Listed(*form->Drawn().cells[i]), 0);
}

void GraphsWindowTest::originalStormsUntilThePageIsLeft() {
  S().Storms = MakeStorms({{{0.5, 0.5, 24.0}}});
  S().OriginalStorms = MakeStorms({{{0.25, 0.25, 48.0}}, {{1.0, 0.5, 72.0}}});
  form->ShowPage(GraphsWindow::kStormsPage);
  QVERIFY(Child<QRadioButton>(form, "disaggregated")->isChecked());
  QCOMPARE(XY(*form->Drawn().cells[0]), (QList<QPointF>{{0.5, 1.0}, {1.0, 0.0}}));
  Child<QRadioButton>(form, "original")->click();
  QVERIFY(!Child<QRadioButton>(form, "disaggregated")->isChecked());
  QCOMPARE(XY(*form->Drawn().cells[0]), (QList<QPointF>{{0.25, 2.0}, {0.5, 0.0}}));
  QCOMPARE(XY(*form->Drawn().cells[1]), (QList<QPointF>{{1.0, 3.0}, {1.5, 0.0}}));
  form->ShowPage(GraphsWindow::kHyetographPage);
  form->ShowPage(GraphsWindow::kStormsPage);
  QVERIFY(Child<QRadioButton>(form, "disaggregated")->isChecked());
  QCOMPARE(XY(*form->Drawn().cells[0]), (QList<QPointF>{{0.5, 1.0}, {1.0, 0.0}}));
  QCOMPARE(form->Drawn().cells[1]->Count(), 0);
}

void GraphsWindowTest::optionsOfferedPerPage() {
  const struct {
    int page;
    bool statistics, wetHours, dataSet;
    QRadioButton* checked;
  } cases[] = {
      {GraphsWindow::kStormsPage, false, false, true, Child<QRadioButton>(form, "disaggregated")},
      {GraphsWindow::kMarginalPage, true, true, false, Child<QRadioButton>(form, "allHours")},
      {GraphsWindow::kHyetographPage, false, false, false, Child<QRadioButton>(form, "allHours")},
      {GraphsWindow::kAutocorrelationPage, true, false, false, Child<QRadioButton>(form, "allHours")},
      {GraphsWindow::kProbabilitiesPage, false, false, false, Child<QRadioButton>(form, "allHours")}};
  for (const auto& c : cases) {
    form->ShowPage(c.page);
    const QString page = Child<QTabWidget>(form, "pages")->tabText(c.page);
    QCOMPARE(Child<QGroupBox>(form, "statisticsChoice")->isVisibleTo(form.get()), c.statistics);
    QCOMPARE(Child<QRadioButton>(form, "allHours")->isVisibleTo(form.get()), c.statistics);
    QCOMPARE(Child<QRadioButton>(form, "wetDays")->isVisibleTo(form.get()), c.statistics);
    QVERIFY2(Child<QRadioButton>(form, "wetHours")->isVisibleTo(form.get()) == c.wetHours, qPrintable(page));
    QCOMPARE(Child<QGroupBox>(form, "dataSetChoice")->isVisibleTo(form.get()), c.dataSet);
    QCOMPARE(Child<QRadioButton>(form, "original")->isVisibleTo(form.get()), c.dataSet);
    QCOMPARE(Child<QRadioButton>(form, "disaggregated")->isVisibleTo(form.get()), c.dataSet);
    QVERIFY2(c.checked->isChecked(), qPrintable(page));
  }
  // Each frame keeps its own choice: a statistics option leaves the data set chosen.
  form->ShowPage(GraphsWindow::kStormsPage);
  form->ShowPage(GraphsWindow::kMarginalPage);
  QVERIFY(Child<QRadioButton>(form, "disaggregated")->isChecked());
  Child<QRadioButton>(form, "wetDays")->click();
  QVERIFY(!Child<QRadioButton>(form, "allHours")->isChecked());
  form->ShowPage(GraphsWindow::kAutocorrelationPage);
  QVERIFY(Child<QRadioButton>(form, "allHours")->isChecked());
}

void GraphsWindowTest::optionChoosesTheSummaries() {
  Summary(S().AllStatsSynthetic, 480, 1.5, 2.5, 0.05);
  Summary(S().AllStatsOriginal, 480, 1.25, 2.25, 0.04);
  Summary(S().WetDayStatsSynthetic, 96, 3.5, 4.5, 0.07);
  Summary(S().WetDayStatsOriginal, 96, 3.25, 4.25, 0.06);
  Summary(S().WetHourStatsSynthetic, 12, 5.5, 6.5, 0.09);
  Summary(S().WetHourStatsOriginal, 10, 5.25, 6.25, 0.08);
  form->ShowPage(GraphsWindow::kMarginalPage);
  const struct {
    QRadioButton* option;
    QList<double> synthetic, original;
    double syntheticStep, originalStep;
  } cases[] = {{Child<QRadioButton>(form, "allHours"), {1.5, 2.5}, {1.25, 2.25}, 0.05, 0.04},
               {Child<QRadioButton>(form, "wetDays"), {3.5, 4.5}, {3.25, 4.25}, 0.07, 0.06},
               {Child<QRadioButton>(form, "wetHours"), {5.5, 6.5}, {5.25, 6.25}, 0.09, 0.08},
               {Child<QRadioButton>(form, "allHours"), {1.5, 2.5}, {1.25, 2.25}, 0.05, 0.04}};
  for (const auto& c : cases) {
    c.option->click();
    QCOMPARE(Ys(*form->Drawn().syntheticMarginal), c.synthetic);
    QCOMPARE(form->Drawn().syntheticMarginal->Points()[0].label, QStringLiteral("Variation"));
    QCOMPARE(form->Drawn().syntheticMarginal->Points()[1].label, QStringLiteral("Skewness"));
    QCOMPARE(Ys(*form->Drawn().originalMarginal), c.original);
    QCOMPARE(form->Drawn().originalMarginal->Points()[0].label, QString());
    QCOMPARE(Ys(*form->Drawn().syntheticAutocorrelation), Autocorrelations(1.0, c.syntheticStep));
    QCOMPARE(form->Drawn().syntheticAutocorrelation->Points()[10].x, 10.0);
    QCOMPARE(Ys(*form->Drawn().originalAutocorrelation), Autocorrelations(1.0, c.originalStep));
    // The dry-spell probabilities do not depend on the option.
    QCOMPARE(Ys(*form->Drawn().syntheticDryProbability),
             (QList<double>{1 - 12 / 480.0, 1 - 96 / 480.0, 1 - 12 / 96.0}));
    QCOMPARE(Ys(*form->Drawn().originalDryProbability),
             (QList<double>{1 - 10 / 480.0, 1 - 96 / 480.0, 1 - 10 / 96.0}));
  }
  QStringList labels;
  for (const SeriesPoint& p : form->Drawn().syntheticDryProbability->Points()) labels << p.label;
  QCOMPARE(labels, (QStringList{"P(dry hour)", "P(dry day)", "P(dry hour|wet day)"}));
  QCOMPARE(static_cast<BarSeries*>(form->Drawn().syntheticMarginal)->Set()->at(1), 2.5);
}

void GraphsWindowTest::testModeRunDrawsTheEngineState() {
  RunTestMode(5);
  form->ShowPage(GraphsWindow::kMarginalPage);
  form->UpdateGraphs();
  const EngineState& s = S();
  QVERIFY(S().SyntheticHourly.Count >= 24);
  QCOMPARE(XY(*form->Drawn().originalHours), HourSteps(S().OriginalHourly));
  QCOMPARE(XY(*form->Drawn().syntheticHours), HourSteps(S().SyntheticHourly));
  QCOMPARE(Listed(*form->Drawn().originalHours), 1);
  QCOMPARE(Listed(*form->Drawn().syntheticHours), 1);
  QCOMPARE(Ys(*form->Drawn().syntheticMarginal),
           (QList<double>{s.AllStatsSynthetic.Variation, s.AllStatsSynthetic.Skewness}));
  QCOMPARE(Ys(*form->Drawn().originalMarginal),
           (QList<double>{s.AllStatsOriginal.Variation, s.AllStatsOriginal.Skewness}));
  QCOMPARE(Ys(*form->Drawn().syntheticAutocorrelation),
           QList<double>(s.AllStatsSynthetic.Autoc.begin(), s.AllStatsSynthetic.Autoc.end()));
  QCOMPARE(Ys(*form->Drawn().originalAutocorrelation),
           QList<double>(s.AllStatsOriginal.Autoc.begin(), s.AllStatsOriginal.Autoc.end()));
  const double all = s.AllValuesCount;
  QCOMPARE(s.AllStatsSynthetic.Count, s.AllValuesCount);
  const QList<double> dry = Ys(*form->Drawn().syntheticDryProbability);
  QCOMPARE(dry.size(), 3);
  QCOMPARE(dry[0], 1 - s.WetHourStatsSynthetic.Count / all);
  QCOMPARE(dry[1], 1 - s.WetDayStatsSynthetic.Count / all);
  QCOMPARE(dry[2], 1 - s.WetHourStatsSynthetic.Count / static_cast<double>(s.WetDayStatsSynthetic.Count));
  for (double p : dry) QVERIFY(p > 0 && p < 1);
}

void GraphsWindowTest::fileModeWithoutHoursLeavesTheOriginalOut() {
  std::istringstream input("D 0\n1 0 1 5.0\n2 0 1 3.0\n6 0 1 8.0\n10 0 1 2.5\n11 0 1 1.0\n");
  engine->OpenInput(input, "daily.txt");
  QVERIFY(!S().OriginalHourlyAvailable);
  RunTestMode(3);
  form->ShowPage(GraphsWindow::kMarginalPage);
  form->UpdateGraphs();
  for (ChartSeries* red : Originals()) {
    QVERIFY2(red->Count() == 0, qPrintable(red->Name()));
    QVERIFY2(Listed(*red) == 0, qPrintable(red->Name()));
  }
  QCOMPARE(XY(*form->Drawn().syntheticHours), HourSteps(S().SyntheticHourly));
  QCOMPARE(form->Drawn().syntheticMarginal->Count(), 2);
  QCOMPARE(form->Drawn().syntheticAutocorrelation->Count(), 11);
  QCOMPARE(form->Drawn().syntheticDryProbability->Count(), 3);
  for (ChartSeries* green : Disaggregated()) QVERIFY2(Listed(*green) == 1, qPrintable(green->Name()));

  // Back to test mode: the original is drawn and listed again.
  engine->CloseInput();
  engine->RestartRun();
  RunTestMode(2);
  form->UpdateGraphs();
  for (ChartSeries* red : Originals()) {
    QVERIFY2(red->Count() > 0, qPrintable(red->Name()));
    QVERIFY2(Listed(*red) == 1, qPrintable(red->Name()));
  }
}

void GraphsWindowTest::zeroCountEndsTheProbabilities() {
  form->UpdateGraphs();  // before any sequence every count is 0
  QCOMPARE(form->Drawn().originalDryProbability->Count(), 0);
  QCOMPARE(form->Drawn().syntheticDryProbability->Count(), 0);

  S().AllStatsOriginal.Count = 100;
  S().WetHourStatsOriginal.Count = 10;
  S().AllStatsSynthetic.Count = 50;
  S().WetHourStatsSynthetic.Count = 5;
  S().WetDayStatsSynthetic.Count = 20;
  form->UpdateGraphs();
  QCOMPARE(Ys(*form->Drawn().originalDryProbability),
           (QList<double>{0.9, 1.0}));  // stops at the wet-day count
  QCOMPARE(form->Drawn().syntheticDryProbability->Count(), 0);

  S().WetDayStatsOriginal.Count = 40;
  S().WetDayStatsSynthetic.Count = 0;
  form->UpdateGraphs();
  QCOMPARE(Ys(*form->Drawn().originalDryProbability), (QList<double>{0.9, 0.6, 0.75}));
  QCOMPARE(Ys(*form->Drawn().syntheticDryProbability), (QList<double>{0.9, 1.0}));

  S().OriginalHourlyAvailable = false;
  S().WetDayStatsSynthetic.Count = 20;
  S().WetDayStatsOriginal.Count = 0;
  form->UpdateGraphs();
  QCOMPARE(form->Drawn().originalDryProbability->Count(), 0);
  QCOMPARE(Ys(*form->Drawn().syntheticDryProbability), (QList<double>{0.9, 0.6, 0.75}));
}

void GraphsWindowTest::resetEmptiesEverySeries() {
  RunTestMode(3);
  S().Storms = MakeStorms({{{0.1, 0.1, 24}},
                           {{0.2, 0.1, 24}},
                           {{0.3, 0.1, 24}},
                           {{0.4, 0.1, 24}},
                           {{0.5, 0.1, 24}},
                           {{0.6, 0.1, 24}},
                           {{0.7, 0.1, 24}},
                           {{0.8, 0.1, 24}},
                           {{0.9, 0.1, 24}},
                           {{1.0, 0.1, 24}}});
  form->ShowPage(GraphsWindow::kStormsPage);
  form->UpdateGraphs();
  for (ChartSeries* series : AllSeries()) QVERIFY2(series->Count() > 0, qPrintable(series->Name()));
  form->ResetGraphs();
  for (ChartSeries* series : AllSeries()) {
    QVERIFY2(series->Count() == 0, qPrintable(series->Name()));
    QVERIFY2(Listed(*series) == 1, qPrintable(series->Name()));  // the legends stay as they were
  }
  QVERIFY(form->Drawn().originalHours->UpperLine().isEmpty());
  QCOMPARE(static_cast<BarSeries*>(form->Drawn().syntheticDryProbability)->Set()->count(), 0);
  QCOMPARE(static_cast<LineSeries*>(form->Drawn().syntheticAutocorrelation)->Line()->count(), 0);
}

void GraphsWindowTest::copyPutsTheShownChartOnTheClipboard() {
  RunTestMode(2);
  form->UpdateGraphs();
  const struct {
    int page;
    const char* title;
  } cases[] = {{GraphsWindow::kHyetographPage, "Hyetograph"},
               {GraphsWindow::kProbabilitiesPage, "Probabilities of dry spells"}};
  for (const auto& c : cases) {
    form->ShowPage(c.page);
    QGuiApplication::clipboard()->clear();
    Child<QPushButton>(form, "copy")->click();
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    QVERIFY(data->hasFormat(kSvgMimeType));
    const QByteArray svg = data->data(kSvgMimeType);
    QVERIFY(svg.contains("<svg"));
    QVERIFY(svg.contains(QByteArray("<title>") + c.title + "</title>"));
    QVERIFY(data->hasImage());
    QCOMPARE(qvariant_cast<QImage>(data->imageData()).size(), form->ChartView(c.page)->grab().size());
  }
  // The picture shows the chart as zoomed.
  ZoomChartView& view = *form->ChartView(GraphsWindow::kProbabilitiesPage);
  const QByteArray whole = ChartSvg(view);
  view.ZoomInto(form->Drawn().dryProbability->plotArea().adjusted(40, 40, -40, -40));
  QVERIFY(ChartSvg(view) != whole);
}

void GraphsWindowTest::zoomAndMoveWithTheMouse() {
  RunTestMode(2);
  form->UpdateGraphs();
  ZoomChartView& view = *form->ChartView(GraphsWindow::kHyetographPage);
  const QRect plot = form->Drawn().hyetograph->plotArea().toRect();
  const QPair<double, double> whole = Range(form->Drawn().hyetograph);
  QVERIFY(whole.first <= 1 / 24.0 && whole.second >= form->Drawn().syntheticHours->Points().back().x);

  Drag(view, Qt::LeftButton, plot.topLeft() + QPoint(plot.width() / 4, 10), plot.center());
  const QPair<double, double> zoomed = Range(form->Drawn().hyetograph);
  QVERIFY(zoomed.first > whole.first && zoomed.second < whole.second);
  QVERIFY(!view.WholeView());
  form->UpdateGraphs();  // an update keeps the user's view
  QCOMPARE(Range(form->Drawn().hyetograph), zoomed);

  Drag(view, Qt::RightButton, plot.center(), plot.center() + QPoint(60, 0));
  const QPair<double, double> moved = Range(form->Drawn().hyetograph);
  QVERIFY(moved.first < zoomed.first);
  QVERIFY(qAbs((moved.second - moved.first) - (zoomed.second - zoomed.first)) < 1e-9);

  Drag(view, Qt::LeftButton, plot.center(), plot.center() - QPoint(30, 30));
  QCOMPARE(Range(form->Drawn().hyetograph), whole);
  QVERIFY(view.WholeView());
  Drag(view, Qt::LeftButton, plot.center(), plot.center() + QPoint(1, 1));  // a click: nothing
  QCOMPARE(Range(form->Drawn().hyetograph), whole);
}

void GraphsWindowTest::activationComputesStatisticsOnly() {
  for (int i = 0; i < 3; ++i) engine->Step();
  form->ShowPage(GraphsWindow::kMarginalPage);
  form->UpdateGraphs();
  QCOMPARE(Ys(*form->Drawn().syntheticMarginal), (QList<double>{0.0, 0.0}));  // nothing computed yet
  QEvent activate(QEvent::WindowActivate);
  QApplication::sendEvent(form.get(), &activate);
  QCOMPARE(S().AllStatsSynthetic.Count, S().AllValuesCount);
  QVERIFY(S().AllStatsSynthetic.Variation > 0);
  QCOMPARE(Ys(*form->Drawn().syntheticMarginal), (QList<double>{0.0, 0.0}));  // the charts wait for an update
  form->UpdateGraphs();
  QCOMPARE(Ys(*form->Drawn().syntheticMarginal),
           (QList<double>{S().AllStatsSynthetic.Variation, S().AllStatsSynthetic.Skewness}));
}

void GraphsWindowTest::closingHidesAndSignals() {
  QSignalSpy closed(form.get(), &GraphsWindow::Closed);
  QVERIFY(form->isVisible());
  QVERIFY(form->close());
  QCOMPARE(closed.count(), 1);
  QVERIFY(form->isHidden());
  form->show();  // the same window shows again
  QVERIFY(form->isVisible());
}

QTEST_MAIN(GraphsWindowTest)
#include "graphs_window_test.moc"
