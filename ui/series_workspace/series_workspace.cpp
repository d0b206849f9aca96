#include "series_workspace.h"

#include <QCloseEvent>
#include <QMenuBar>
#include <QPointer>

#include "calibrate_page.h"
#include "compare_page.h"
#include "disaggregate_page.h"
#include "fit_page.h"
#include "help_window.h"
#include "parameters_page.h"
#include "records_page.h"
#include "remembered_settings.h"

namespace nimbra {

SeriesWorkspace::SeriesWorkspace(Prompts& prompts, HelpWindow& help, QWidget* parent)
    : QMainWindow(parent), prompts_(prompts) {
  setWindowTitle(tr("Nimbra - series workspace"));
  Records = new RecordsPage(prompts);
  Parameters = new ParametersPage(prompts);
  Fit = new FitPage(prompts);
  Calibrate = new CalibratePage(prompts);
  Disaggregate = new DisaggregatePage(prompts);
  Comparison = new ComparePage(prompts);
  Pages = new QTabWidget;
  Pages->addTab(Records, tr("&Records"));
  Pages->addTab(Parameters, tr("&Parameters"));
  Pages->addTab(Fit, tr("F&it"));
  Pages->addTab(Calibrate, tr("&Calibrate"));
  Pages->addTab(Disaggregate, tr("&Disaggregate"));
  Pages->addTab(Comparison, tr("C&ompare"));
  setCentralWidget(Pages);
  resize(960, 720);
  restoreGeometry(RememberedValue(QStringLiteral("series/geometry")).toByteArray());
  RememberChoices();
  Connect();
  AddHelpMenu(help);
}

SeriesWorkspace::~SeriesWorkspace() = default;

void SeriesWorkspace::RememberChoices() {
  Remember(Records->WideBox, QStringLiteral("records/wide"));
  Remember(Records->StationColumnEdit, QStringLiteral("records/station_column"));
  Remember(Records->DateColumnEdit, QStringLiteral("records/date_column"));
  Remember(Records->ValueColumnEdit, QStringLiteral("records/value_column"));
  Remember(Records->MissingEdit, QStringLiteral("records/missing"));
  Remember(Records->DayStartBox, QStringLiteral("records/day_start"));
  Remember(Fit->SeasonsBox, QStringLiteral("fit/seasons"));
  Remember(Fit->FixedEdit, QStringLiteral("fit/fixed"));
  Remember(Fit->SeedBox, QStringLiteral("fit/seed"));
  Remember(Calibrate->SeasonsEdit, QStringLiteral("calibrate/seasons"));
  Remember(Calibrate->SeedsBox, QStringLiteral("calibrate/seeds"));
  Remember(Calibrate->SeedBox, QStringLiteral("calibrate/seed"));
  Remember(Calibrate->EvaluationsBox, QStringLiteral("calibrate/evaluations"));
  Remember(Calibrate->SlowdownBox, QStringLiteral("calibrate/slowdown"));
  Remember(Disaggregate->ChosenStations, QStringLiteral("disaggregate/chosen_stations"));
  Remember(Disaggregate->ReportBox, QStringLiteral("disaggregate/report_wanted"));
  Remember(Disaggregate->SeedBox, QStringLiteral("disaggregate/seed"));
  Remember(Disaggregate->DecimalsBox, QStringLiteral("disaggregate/decimals"));
  Remember(Disaggregate->LabelBox, QStringLiteral("disaggregate/label"));
}

void SeriesWorkspace::Connect() {
  connect(Fit, &FitPage::Fitted, this, [this](const QString& path) {
    if (Parameters->Load(path)) Pages->setCurrentWidget(Parameters);
  });
  connect(Calibrate, &CalibratePage::Calibrated, this,
          [this](const QString& path) { Parameters->Load(path); });
  connect(Calibrate->Bar->RunButton, &QPushButton::clicked, this, &SeriesWorkspace::CalibrateActionExecute);
  connect(Disaggregate->Bar->RunButton, &QPushButton::clicked, this,
          &SeriesWorkspace::DisaggregateActionExecute);
  connect(Disaggregate, &DisaggregatePage::Disaggregated, Comparison, &ComparePage::SetRun);
  connect(Records, &RecordsPage::RecordsOpened, this, [this] {
    if (Calibrate->Daily->Path().isEmpty()) Calibrate->Daily->SetPath(Records->Path());
  });
}

void SeriesWorkspace::AddHelpMenu(HelpWindow& help) {
  InstallHelpKey(this, help_context::kSeriesWorkspace, help);
  QMenu* menu = menuBar()->addMenu(tr("&Help"));
  const QPointer<HelpWindow> target(&help);  // the explorer's help window may close first
  menu->addAction(tr("Help on this window\tF1"), this, [target] {
    if (target) target->ShowTopic(help_context::kSeriesWorkspace);
  });
  menu->addAction(tr("&Contents"), this, [target] {
    if (target) target->ShowContents();
  });
}

QString SeriesWorkspace::SavedParameters() {
  const QString path = Parameters->SavedPath();
  if (path.isEmpty()) {
    prompts_.Inform(tr("Load or save the parameter table first: a run reads its parameters from the file, "
                       "and its sidecar names that file.")
                        .toStdString());
  }
  return path;
}

void SeriesWorkspace::CalibrateActionExecute() {
  const QString parameters = SavedParameters();
  if (!parameters.isEmpty()) Calibrate->Run(parameters);
}

void SeriesWorkspace::DisaggregateActionExecute() {
  if (Records->Path().isEmpty()) {
    prompts_.Inform(tr("Open a daily CSV file on the Records page first.").toStdString());
    return;
  }
  const QString parameters = SavedParameters();
  if (parameters.isEmpty()) return;
  Disaggregate->Run({Records->Path(), Records->OpenedOptions(), Records->DayStart(), parameters,
                     Records->ChosenStations()});
}

void SeriesWorkspace::closeEvent(QCloseEvent* event) {
  RememberValue(QStringLiteral("series/geometry"), saveGeometry());
  QMainWindow::closeEvent(event);
}

}  // namespace nimbra
