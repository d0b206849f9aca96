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

// Hour h as a flat step one hour late: from h/24 to (h+1)/24 days.
QList<QPointF> HourSteps(const HourlySeries& hours) {
  QList<QPointF> points;
  for (int h = 1; h <= hours.Count; ++h)
    points << QPointF(h / 24.0, hours[h]) << QPointF((h + 1) / 24.0, hours[h]);
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

class GraphFormTest : public QObject {
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
  EngineState& S() { return StateOf(*engine); }
  void RunTestMode(int sequences);
  QList<ChartSeries*> AllSeries() const;
  // The series of the four comparison charts, red and green.
  QList<ChartSeries*> Originals() const {
    return {form->Series6, form->ProbSeries1, form->Series1, form->Series3};
  }
  QList<ChartSeries*> Disaggregated() const {
    return {form->Series7, form->ProbSeries2, form->Series2, form->Series4};
  }

  std::unique_ptr<StartedEngine> started;
  Engine* engine = nullptr;
  ScriptedPrompts prompts;
  std::unique_ptr<HelpWindow> help;
  std::unique_ptr<TGraphForm> form;
};

void GraphFormTest::init() {
  started = std::make_unique<StartedEngine>(11);
  engine = &started->engine;
  S().OriginalHourlyAvailable = true;
  help = std::make_unique<HelpWindow>();
  form = std::make_unique<TGraphForm>(*engine, prompts, *help);
  // Qt's legends take their flags into account once they have been laid out.
  form->show();
  QApplication::processEvents();
}

void GraphFormTest::cleanup() {
  form.reset();
  help.reset();
  started.reset();
}

void GraphFormTest::RunTestMode(int sequences) {
  for (int i = 0; i < sequences; ++i) QVERIFY(engine->Step().Outcome == StepOutcome::Done);
  engine->ComputeStatistics();
}

QList<ChartSeries*> GraphFormTest::AllSeries() const {
  QList<ChartSeries*> all{form->Series6, form->Series7, form->ProbSeries1, form->ProbSeries2,
                          form->Series1, form->Series2, form->Series3,     form->Series4};
  for (StairSeries* cells : form->CellSeries) all.append(cells);
  return all;
}

void GraphFormTest::windowAndPages() {
  QCOMPARE(form->windowTitle(), QStringLiteral("Nimbra graphs"));
  QCOMPARE(TGraphForm::kHelpContext, 23);
  const QStringList pages{"Storms", "Hyetograph", "Probabilities", "Marginal", "Autocorrelation"};
  QCOMPARE(form->PageControl1->count(), pages.size());
  for (int p = 0; p < pages.size(); ++p) QCOMPARE(form->PageControl1->tabText(p), pages[p]);
  QCOMPARE(form->PageControl1->currentIndex(), 1);
  const struct {
    QChart* chart;
    const char* title;
    const char* bottom;
    const char* left;
  } charts[] = {{form->Chart1, "Marginal statistics", "", "Variation, Skewness"},
                {form->Chart2, "Autocorrelation", "Lag (h)", "Autocorrelation"},
                {form->Chart3, "Storms ", "Time (days)", "Intensity (mm/h)"},
                {form->Chart4, "Hyetograph", "Time (days)", "Intensity (mm/h)"},
                {form->Chart5, "Probabilities of dry spells", "", "Probability (P)"}};
  for (const auto& c : charts) {
    QCOMPARE(c.chart->title(), QString::fromLatin1(c.title));
    QCOMPARE(c.chart->axes(Qt::Horizontal).first()->titleText(), QString::fromLatin1(c.bottom));
    QCOMPARE(c.chart->axes(Qt::Vertical).first()->titleText(), QString::fromLatin1(c.left));
  }
  QCOMPARE(form->PageControl1->widget(1)->findChild<ZoomChartView*>()->chart(), form->Chart4);
  for (QRadioButton* b : form->findChildren<QRadioButton*>())
    QVERIFY2(!b->isChecked(), qPrintable(b->text()));
  QCOMPARE(form->findChildren<QRadioButton*>().size(), 5);
  QCOMPARE(form->Copy->toolTip(), QStringLiteral("Copy graph to clipboard"));
  QVERIFY(!form->ShowBorders->isChecked());
  QVERIFY(
      form->ChartView(TGraphForm::kHyetographPage)->toolTip().startsWith("To zoom in drag downwords;  to"));
}

// As the legend shows them: each series' title and the colour it is drawn in.
void GraphFormTest::seriesTitlesColoursAndOrder() {
  const QColor cells[] = {{255, 0, 0},     {0, 128, 0},   {255, 255, 0}, {0, 0, 255}, {255, 128, 0},
                          {105, 105, 105}, {255, 0, 255}, {0, 128, 128}, {0, 0, 128}, {128, 0, 0}};
  QList<QPair<ChartSeries*, QPair<QString, QColor>>> expected;
  for (int i = 0; i < 10; ++i)
    expected.append({form->CellSeries[i], {i < 9 ? QString("Storm %1").arg(i + 1) : "Storm >=10", cells[i]}});
  for (ChartSeries* s : Originals()) expected.append({s, {"Original", QColor(255, 0, 0)}});
  for (ChartSeries* s : Disaggregated()) expected.append({s, {"Disaggregated", QColor(0, 128, 0)}});
  for (const auto& [series, look] : expected) {
    QCOMPARE(series->LegendMarkers().size(), 1);
    QCOMPARE(series->LegendMarkers().first()->label(), look.first);
    QCOMPARE(series->LegendMarkers().first()->brush().color().rgb(), look.second.rgb());
  }
  // The original is drawn over the disaggregated.
  const QList<QAbstractSeries*> hyetograph = form->Chart4->series();
  QVERIFY(hyetograph.indexOf(static_cast<QAbstractSeries*>(form->Series7->Area())) <
          hyetograph.indexOf(static_cast<QAbstractSeries*>(form->Series6->Area())));
  const QList<QAbstractSeries*> lags = form->Chart2->series();
  QVERIFY(lags.indexOf(static_cast<QAbstractSeries*>(static_cast<LineSeries*>(form->Series4)->Line())) <
          lags.indexOf(static_cast<QAbstractSeries*>(static_cast<LineSeries*>(form->Series3)->Line())));
  QCOMPARE(static_cast<LineSeries*>(form->Series4)->Line()->pen().width(), 2);
  QCOMPARE(static_cast<LineSeries*>(form->Series3)->Line()->pen().width(), 3);
}

void GraphFormTest::twoDaySequenceDrawsFortyEightSteps() {
  S().Options.UseConstLength = true;
  S().Options.ConstLength = 2;
  RunTestMode(1);
  form->UpdateGraphs();
  for (StairSeries* series : {form->Series6, form->Series7}) {
    const HourlySeries& hours = series == form->Series6 ? S().OriginalHourly : S().SyntheticHourly;
    QCOMPARE(hours.Count, 48);
    QCOMPARE(series->Count(), 96);
    QCOMPARE(series->Points().front().x, 1 / 24.0);
    QCOMPARE(series->Points().back().x, 49 / 24.0);
    const QList<QList<double>> steps = FlatSteps(series->UpperLine());
    QCOMPARE(steps.size(), 48);
    for (int h = 1; h <= 48; ++h) QCOMPARE(steps[h - 1], (QList<double>{h / 24.0, (h + 1) / 24.0, hours[h]}));
  }
}

void GraphFormTest::cellDrawnAsItsRectangle() {
  S().Storms = MakeStorms({{{0.5, 0.25, 48.0}}});
  form->ShowPage(TGraphForm::kStormsPage);
  StairSeries& cells = *form->CellSeries[0];
  QCOMPARE(XY(cells), (QList<QPointF>{{0.5, 2.0}, {0.75, 0.0}}));
  QCOMPARE(cells.Points()[0].label, QString());
  QCOMPARE(cells.Points()[1].label, QStringLiteral(" "));
  // Over the zero line: up at the origin, across at intensity / 24, down at the end.
  QCOMPARE(cells.UpperLine(), (QList<QPointF>{{0.5, 2.0}, {0.75, 2.0}, {0.75, 0.0}}));
  QCOMPARE(cells.LowerLine(), (QList<QPointF>{{0.5, 0.0}, {0.75, 0.0}}));
  QVERIFY(!cells.DivisionLinesVisible());
  form->ShowBorders->click();
  for (StairSeries* series : form->CellSeries) QVERIFY(series->DivisionLinesVisible());
  QCOMPARE(cells.DivisionLines(),
           (QList<QPointF>{{0.5, 0}, {0.5, 2}, {0.5, 0}, {0.75, 0}, {0.75, 2}, {0.75, 0}}));
  form->ShowBorders->click();
  for (StairSeries* series : form->CellSeries) QVERIFY(!series->DivisionLinesVisible());
}

void GraphFormTest::twelveStormsShareTheLastSeries() {
  // Storm j has cells at j + 0.1 and j + 0.2, of intensity 24 j and 48 j; storm 4 has none.
  std::vector<std::vector<Cell>> storms;
  for (int j = 1; j <= 12; ++j) {
    storms.push_back({});
    if (j != 4) storms.back() = {{j + 0.2, 0.05, 48.0 * j}, {j + 0.1, 0.05, 24.0 * j}};
  }
  S().Storms = MakeStorms(storms);
  form->ShowPage(TGraphForm::kStormsPage);
  for (int j = 1; j <= 9; ++j) {
    const QList<QPointF> expected =
        j == 4 ? QList<QPointF>{}
               : QList<QPointF>{{j + 0.1, 1.0 * j}, {j + 0.15, 0}, {j + 0.2, 2.0 * j}, {j + 0.25, 0}};
    QCOMPARE(XY(*form->CellSeries[j - 1]), expected);
    QCOMPARE(Listed(*form->CellSeries[j - 1]), j != 4 ? 1 : 0);
  }
  QList<QPointF> late;
  for (int j = 10; j <= 12; ++j)
    late << QPointF(j + 0.1, 1.0 * j) << QPointF(j + 0.15, 0) << QPointF(j + 0.2, 2.0 * j)
         << QPointF(j + 0.25, 0);
  QCOMPARE(XY(*form->CellSeries[9]), late);
  QCOMPARE(Listed(*form->CellSeries[9]), 1);

  // Fewer storms later: the empty series leave the legend, except the first.
  S().Storms = MakeStorms({{}, {{0.3, 0.1, 24.0}}});
  form->UpdateGraphs();
  QCOMPARE(Listed(*form->CellSeries[0]), 1);
  QCOMPARE(form->CellSeries[0]->Count(), 0);
  QCOMPARE(Listed(*form->CellSeries[1]), 1);
  for (int i = 2; i < 10; ++i) QCOMPARE(Listed(*form->CellSeries[i]), 0);
}

void GraphFormTest::originalStormsUntilThePageIsLeft() {
  S().Storms = MakeStorms({{{0.5, 0.5, 24.0}}});
  S().OriginalStorms = MakeStorms({{{0.25, 0.25, 48.0}}, {{1.0, 0.5, 72.0}}});
  form->ShowPage(TGraphForm::kStormsPage);
  QVERIFY(form->DisaggregatedRadioButton->isChecked());
  QCOMPARE(XY(*form->CellSeries[0]), (QList<QPointF>{{0.5, 1.0}, {1.0, 0.0}}));
  form->OriginalRadioButton->click();
  QVERIFY(!form->DisaggregatedRadioButton->isChecked());
  QCOMPARE(XY(*form->CellSeries[0]), (QList<QPointF>{{0.25, 2.0}, {0.5, 0.0}}));
  QCOMPARE(XY(*form->CellSeries[1]), (QList<QPointF>{{1.0, 3.0}, {1.5, 0.0}}));
  form->ShowPage(TGraphForm::kHyetographPage);
  form->ShowPage(TGraphForm::kStormsPage);
  QVERIFY(form->DisaggregatedRadioButton->isChecked());
  QCOMPARE(XY(*form->CellSeries[0]), (QList<QPointF>{{0.5, 1.0}, {1.0, 0.0}}));
  QCOMPARE(form->CellSeries[1]->Count(), 0);
}

void GraphFormTest::optionsOfferedPerPage() {
  const struct {
    int page;
    bool statistics, wetHours, dataSet;
    QRadioButton* checked;
  } cases[] = {{TGraphForm::kStormsPage, false, false, true, form->DisaggregatedRadioButton},
               {TGraphForm::kMarginalPage, true, true, false, form->AllRadioButton},
               {TGraphForm::kHyetographPage, false, false, false, form->AllRadioButton},
               {TGraphForm::kAutocorrelationPage, true, false, false, form->AllRadioButton},
               {TGraphForm::kProbabilitiesPage, false, false, false, form->AllRadioButton}};
  for (const auto& c : cases) {
    form->ShowPage(c.page);
    const QString page = form->PageControl1->tabText(c.page);
    QCOMPARE(form->RadioGroup1->isVisibleTo(form.get()), c.statistics);
    QCOMPARE(form->AllRadioButton->isVisibleTo(form.get()), c.statistics);
    QCOMPARE(form->WetDaysRadioButton->isVisibleTo(form.get()), c.statistics);
    QVERIFY2(form->WetHoursRadioButton->isVisibleTo(form.get()) == c.wetHours, qPrintable(page));
    QCOMPARE(form->OrigOrDisRadioGroup->isVisibleTo(form.get()), c.dataSet);
    QCOMPARE(form->OriginalRadioButton->isVisibleTo(form.get()), c.dataSet);
    QCOMPARE(form->DisaggregatedRadioButton->isVisibleTo(form.get()), c.dataSet);
    QVERIFY2(c.checked->isChecked(), qPrintable(page));
  }
  // Each frame keeps its own choice: a statistics option leaves the data set chosen.
  form->ShowPage(TGraphForm::kStormsPage);
  form->ShowPage(TGraphForm::kMarginalPage);
  QVERIFY(form->DisaggregatedRadioButton->isChecked());
  form->WetDaysRadioButton->click();
  QVERIFY(!form->AllRadioButton->isChecked());
  form->ShowPage(TGraphForm::kAutocorrelationPage);
  QVERIFY(form->AllRadioButton->isChecked());
}

void GraphFormTest::optionChoosesTheSummaries() {
  Summary(S().AllStatsSynthetic, 480, 1.5, 2.5, 0.05);
  Summary(S().AllStatsOriginal, 480, 1.25, 2.25, 0.04);
  Summary(S().WetDayStatsSynthetic, 96, 3.5, 4.5, 0.07);
  Summary(S().WetDayStatsOriginal, 96, 3.25, 4.25, 0.06);
  Summary(S().WetHourStatsSynthetic, 12, 5.5, 6.5, 0.09);
  Summary(S().WetHourStatsOriginal, 10, 5.25, 6.25, 0.08);
  form->ShowPage(TGraphForm::kMarginalPage);
  const struct {
    QRadioButton* option;
    QList<double> synthetic, original;
    double syntheticStep, originalStep;
  } cases[] = {{form->AllRadioButton, {1.5, 2.5}, {1.25, 2.25}, 0.05, 0.04},
               {form->WetDaysRadioButton, {3.5, 4.5}, {3.25, 4.25}, 0.07, 0.06},
               {form->WetHoursRadioButton, {5.5, 6.5}, {5.25, 6.25}, 0.09, 0.08},
               {form->AllRadioButton, {1.5, 2.5}, {1.25, 2.25}, 0.05, 0.04}};
  for (const auto& c : cases) {
    c.option->click();
    QCOMPARE(Ys(*form->Series2), c.synthetic);
    QCOMPARE(form->Series2->Points()[0].label, QStringLiteral("Variation"));
    QCOMPARE(form->Series2->Points()[1].label, QStringLiteral("Skewness"));
    QCOMPARE(Ys(*form->Series1), c.original);
    QCOMPARE(form->Series1->Points()[0].label, QString());
    QCOMPARE(Ys(*form->Series4), Autocorrelations(1.0, c.syntheticStep));
    QCOMPARE(form->Series4->Points()[10].x, 10.0);
    QCOMPARE(Ys(*form->Series3), Autocorrelations(1.0, c.originalStep));
    // The dry-spell probabilities do not depend on the option.
    QCOMPARE(Ys(*form->ProbSeries2), (QList<double>{1 - 12 / 480.0, 1 - 96 / 480.0, 1 - 12 / 96.0}));
    QCOMPARE(Ys(*form->ProbSeries1), (QList<double>{1 - 10 / 480.0, 1 - 96 / 480.0, 1 - 10 / 96.0}));
  }
  QStringList labels;
  for (const SeriesPoint& p : form->ProbSeries2->Points()) labels << p.label;
  QCOMPARE(labels, (QStringList{"P(dry hour)", "P(dry day)", "P(dry hour|wet day)"}));
  QCOMPARE(static_cast<BarSeries*>(form->Series2)->Set()->at(1), 2.5);
}

void GraphFormTest::testModeRunDrawsTheEngineState() {
  RunTestMode(5);
  form->ShowPage(TGraphForm::kMarginalPage);
  form->UpdateGraphs();
  const EngineState& s = S();
  QVERIFY(S().SyntheticHourly.Count >= 24);
  QCOMPARE(XY(*form->Series6), HourSteps(S().OriginalHourly));
  QCOMPARE(XY(*form->Series7), HourSteps(S().SyntheticHourly));
  QCOMPARE(Listed(*form->Series6), 1);
  QCOMPARE(Listed(*form->Series7), 1);
  QCOMPARE(Ys(*form->Series2), (QList<double>{s.AllStatsSynthetic.Variation, s.AllStatsSynthetic.Skewness}));
  QCOMPARE(Ys(*form->Series1), (QList<double>{s.AllStatsOriginal.Variation, s.AllStatsOriginal.Skewness}));
  QCOMPARE(Ys(*form->Series4),
           QList<double>(s.AllStatsSynthetic.Autoc.begin(), s.AllStatsSynthetic.Autoc.end()));
  QCOMPARE(Ys(*form->Series3),
           QList<double>(s.AllStatsOriginal.Autoc.begin(), s.AllStatsOriginal.Autoc.end()));
  const double all = s.AllValuesCount;
  QCOMPARE(s.AllStatsSynthetic.Count, s.AllValuesCount);
  const QList<double> dry = Ys(*form->ProbSeries2);
  QCOMPARE(dry.size(), 3);
  QCOMPARE(dry[0], 1 - s.WetHourStatsSynthetic.Count / all);
  QCOMPARE(dry[1], 1 - s.WetDayStatsSynthetic.Count / all);
  QCOMPARE(dry[2], 1 - s.WetHourStatsSynthetic.Count / static_cast<double>(s.WetDayStatsSynthetic.Count));
  for (double p : dry) QVERIFY(p > 0 && p < 1);
}

void GraphFormTest::fileModeWithoutHoursLeavesTheOriginalOut() {
  std::istringstream input("D 0\n1 0 1 5.0\n2 0 1 3.0\n6 0 1 8.0\n10 0 1 2.5\n11 0 1 1.0\n");
  engine->OpenInput(input, "daily.txt");
  QVERIFY(!S().OriginalHourlyAvailable);
  RunTestMode(3);
  form->ShowPage(TGraphForm::kMarginalPage);
  form->UpdateGraphs();
  for (ChartSeries* red : Originals()) {
    QVERIFY2(red->Count() == 0, qPrintable(red->Name()));
    QVERIFY2(Listed(*red) == 0, qPrintable(red->Name()));
  }
  QCOMPARE(XY(*form->Series7), HourSteps(S().SyntheticHourly));
  QCOMPARE(form->Series2->Count(), 2);
  QCOMPARE(form->Series4->Count(), 11);
  QCOMPARE(form->ProbSeries2->Count(), 3);
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

void GraphFormTest::zeroCountEndsTheProbabilities() {
  form->UpdateGraphs();  // before any sequence every count is 0
  QCOMPARE(form->ProbSeries1->Count(), 0);
  QCOMPARE(form->ProbSeries2->Count(), 0);

  S().AllStatsOriginal.Count = 100;
  S().WetHourStatsOriginal.Count = 10;
  S().AllStatsSynthetic.Count = 50;
  S().WetHourStatsSynthetic.Count = 5;
  S().WetDayStatsSynthetic.Count = 20;
  form->UpdateGraphs();
  QCOMPARE(Ys(*form->ProbSeries1), (QList<double>{0.9, 1.0}));  // stops at the wet-day count
  QCOMPARE(form->ProbSeries2->Count(), 0);

  S().WetDayStatsOriginal.Count = 40;
  S().WetDayStatsSynthetic.Count = 0;
  form->UpdateGraphs();
  QCOMPARE(Ys(*form->ProbSeries1), (QList<double>{0.9, 0.6, 0.75}));
  QCOMPARE(Ys(*form->ProbSeries2), (QList<double>{0.9, 1.0}));

  S().OriginalHourlyAvailable = false;
  S().WetDayStatsSynthetic.Count = 20;
  S().WetDayStatsOriginal.Count = 0;
  form->UpdateGraphs();
  QCOMPARE(form->ProbSeries1->Count(), 0);
  QCOMPARE(Ys(*form->ProbSeries2), (QList<double>{0.9, 0.6, 0.75}));
}

void GraphFormTest::resetEmptiesEverySeries() {
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
  form->ShowPage(TGraphForm::kStormsPage);
  form->UpdateGraphs();
  for (ChartSeries* series : AllSeries()) QVERIFY2(series->Count() > 0, qPrintable(series->Name()));
  form->ResetGraphs();
  for (ChartSeries* series : AllSeries()) {
    QVERIFY2(series->Count() == 0, qPrintable(series->Name()));
    QVERIFY2(Listed(*series) == 1, qPrintable(series->Name()));  // the legends stay as they were
  }
  QVERIFY(form->Series6->UpperLine().isEmpty());
  QCOMPARE(static_cast<BarSeries*>(form->ProbSeries2)->Set()->count(), 0);
  QCOMPARE(static_cast<LineSeries*>(form->Series4)->Line()->count(), 0);
}

void GraphFormTest::copyPutsTheShownChartOnTheClipboard() {
  RunTestMode(2);
  form->UpdateGraphs();
  const struct {
    int page;
    const char* title;
  } cases[] = {{TGraphForm::kHyetographPage, "Hyetograph"},
               {TGraphForm::kProbabilitiesPage, "Probabilities of dry spells"}};
  for (const auto& c : cases) {
    form->ShowPage(c.page);
    QGuiApplication::clipboard()->clear();
    form->Copy->click();
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    QVERIFY(data->hasFormat(kSvgMimeType));
    const QByteArray svg = data->data(kSvgMimeType);
    QVERIFY(svg.contains("<svg"));
    QVERIFY(svg.contains(QByteArray("<title>") + c.title + "</title>"));
    QVERIFY(data->hasImage());
    QCOMPARE(qvariant_cast<QImage>(data->imageData()).size(), form->ChartView(c.page)->grab().size());
  }
  // The picture shows the chart as zoomed.
  ZoomChartView& view = *form->ChartView(TGraphForm::kProbabilitiesPage);
  const QByteArray whole = ChartSvg(view);
  view.ZoomInto(form->Chart5->plotArea().adjusted(40, 40, -40, -40));
  QVERIFY(ChartSvg(view) != whole);
}

void GraphFormTest::zoomAndMoveWithTheMouse() {
  RunTestMode(2);
  form->UpdateGraphs();
  ZoomChartView& view = *form->ChartView(TGraphForm::kHyetographPage);
  const QRect plot = form->Chart4->plotArea().toRect();
  const QPair<double, double> whole = Range(form->Chart4);
  QVERIFY(whole.first <= 1 / 24.0 && whole.second >= form->Series7->Points().back().x);

  Drag(view, Qt::LeftButton, plot.topLeft() + QPoint(plot.width() / 4, 10), plot.center());
  const QPair<double, double> zoomed = Range(form->Chart4);
  QVERIFY(zoomed.first > whole.first && zoomed.second < whole.second);
  QVERIFY(!view.WholeView());
  form->UpdateGraphs();  // an update keeps the user's view
  QCOMPARE(Range(form->Chart4), zoomed);

  Drag(view, Qt::RightButton, plot.center(), plot.center() + QPoint(60, 0));
  const QPair<double, double> moved = Range(form->Chart4);
  QVERIFY(moved.first < zoomed.first);
  QVERIFY(qAbs((moved.second - moved.first) - (zoomed.second - zoomed.first)) < 1e-9);

  Drag(view, Qt::LeftButton, plot.center(), plot.center() - QPoint(30, 30));
  QCOMPARE(Range(form->Chart4), whole);
  QVERIFY(view.WholeView());
  Drag(view, Qt::LeftButton, plot.center(), plot.center() + QPoint(1, 1));  // a click: nothing
  QCOMPARE(Range(form->Chart4), whole);
}

void GraphFormTest::activationComputesStatisticsOnly() {
  for (int i = 0; i < 3; ++i) engine->Step();
  form->ShowPage(TGraphForm::kMarginalPage);
  form->UpdateGraphs();
  QCOMPARE(Ys(*form->Series2), (QList<double>{0.0, 0.0}));  // nothing computed yet
  QEvent activate(QEvent::WindowActivate);
  QApplication::sendEvent(form.get(), &activate);
  QCOMPARE(S().AllStatsSynthetic.Count, S().AllValuesCount);
  QVERIFY(S().AllStatsSynthetic.Variation > 0);
  QCOMPARE(Ys(*form->Series2), (QList<double>{0.0, 0.0}));  // the charts wait for an update
  form->UpdateGraphs();
  QCOMPARE(Ys(*form->Series2),
           (QList<double>{S().AllStatsSynthetic.Variation, S().AllStatsSynthetic.Skewness}));
}

void GraphFormTest::closingHidesAndSignals() {
  QSignalSpy closed(form.get(), &TGraphForm::Closed);
  QVERIFY(form->isVisible());
  QVERIFY(form->close());
  QCOMPARE(closed.count(), 1);
  QVERIFY(form->isHidden());
  form->show();  // the same window shows again
  QVERIFY(form->isVisible());
}

QTEST_MAIN(GraphFormTest)
#include "graphs_window_test.moc"
