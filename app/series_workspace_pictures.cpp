#include "series_workspace_pictures.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>

#include "calibrate_page.h"
#include "compare_page.h"
#include "disaggregate_page.h"
#include "fit_page.h"
#include "help_window.h"
#include "parameters_page.h"
#include "qt_prompts.h"
#include "records_page.h"
#include "series_workspace.h"

namespace {

void SavePage(nimbra::SeriesWorkspace& workspace, QWidget* page, const QDir& dir, const QString& name) {
  workspace.Pages->setCurrentWidget(page);
  workspace.show();
  QTest::qWait(500);  // let the charts finish their layout
  workspace.grab().save(dir.filePath(QStringLiteral("series_") + name + QStringLiteral(".png")));
}

void Finish(const nimbra::TaskBar* bar) {
  if (!QTest::qWaitFor([bar] { return !bar->Task->Running(); }, 600000)) qFatal("The job did not end");
}

}  // namespace

void TakeSeriesWorkspace(const QDir& dir, const QString& examples) {
  QTemporaryDir output;
  nimbra::QtPrompts prompts;
  nimbra::HelpWindow help;
  nimbra::SeriesWorkspace workspace(prompts, help);
  workspace.Records->Open(examples + QStringLiteral("/berlin_tempelhof_july_daily.csv"));
  SavePage(workspace, workspace.Records, dir, QStringLiteral("records"));
  workspace.Fit->Input->SetPath(examples + QStringLiteral("/berlin_tempelhof_july_hourly.csv"));
  workspace.Fit->Output->SetPath(output.filePath(QStringLiteral("fitted.csv")));
  workspace.Fit->Bar->RunButton->click();
  Finish(workspace.Fit->Bar);
  SavePage(workspace, workspace.Fit, dir, QStringLiteral("fit"));
  SavePage(workspace, workspace.Parameters, dir, QStringLiteral("parameters"));
  workspace.Calibrate->Observed->SetPath(examples + QStringLiteral("/berlin_tempelhof_july_hourly.csv"));
  SavePage(workspace, workspace.Calibrate, dir, QStringLiteral("calibrate"));
  workspace.Disaggregate->Output->SetPath(output.filePath(QStringLiteral("hourly.csv")));
  workspace.Disaggregate->Observed->SetPath(examples + QStringLiteral("/berlin_tempelhof_july_hourly.csv"));
  workspace.Disaggregate->SeedBox->setValue(7);
  workspace.DisaggregateActionExecute();
  Finish(workspace.Disaggregate->Bar);
  SavePage(workspace, workspace.Disaggregate, dir, QStringLiteral("disaggregate"));
  workspace.Comparison->DayEdit->setDate(QDate(2019, 7, 6));
  SavePage(workspace, workspace.Comparison, dir, QStringLiteral("compare"));
  workspace.close();
}
