// Takes pictures of the program's windows in typical states, for looking at them:
//   nimbra-screenshots OUTPUT_DIR
#include <QApplication>
#include <QDir>
#include <QScreen>
#include <QSettings>
#include <QTest>
#include <QTimer>

#include "DesktopProgram.h"
#include "HelpWindow.h"
#include "TAboutBox.h"
#include "TBLParametersForm.h"
#include "TGraphForm.h"
#include "TMainForm.h"
#include "TRepetitionOptions.h"
#include "TVout.h"
#include "qt_prompts.h"
#include "series_workspace_pictures.h"

namespace {

void Save(QWidget& window, const QDir& dir, const QString& name) {
  window.show();
  QApplication::processEvents();
  window.grab().save(dir.filePath(name + QStringLiteral(".png")));
}

// The whole screen, to see where the windows stand to one another.
void SaveScreen(const QDir& dir, const QString& name) {
  QApplication::processEvents();
  QApplication::primaryScreen()->grabWindow(0).save(dir.filePath(name + QStringLiteral(".png")));
}

void FinishRun(nimbra::TMainForm& main) {
  if (!QTest::qWaitFor([&main] { return !main.RunGoing(); }, 600000)) qFatal("The run did not end");
}

// The five pages of the graphs window after a ten-sequence run.
void TakeGraphs(nimbra::DesktopProgram& program, const QDir& dir) {
  auto& main = program.MainForm();
  program.Vout().Modified = false;  // the pictures need no save question
  main.InitActionExecute();
  main.PrintDetailsSpinEdit->SetValue(0);
  main.HowManySpinEdit->SetValue(10);
  main.ShowGraphsButton->click();
  main.NextManyActionExecute();
  FinishRun(main);
  auto& graphs = program.GraphForm();
  const char* names[] = {"storms", "hyetographs", "probabilities", "marginal", "autocorrelations"};
  for (int page = 0; page < 5; ++page) {
    graphs.ShowPage(page);
    QTest::qWait(500);  // let the charts finish their layout
    Save(graphs, dir, QStringLiteral("graphs_%1_%2").arg(page + 1).arg(QString::fromLatin1(names[page])));
  }
}

// The main window while a run goes on: progress, Stop, and the commands locked.
void TakeRun(nimbra::TMainForm& main, const QDir& dir) {
  main.HowManySpinEdit->SetValue(1000);
  main.NextManyActionExecute();
  QTest::qWait(300);
  Save(main, dir, QStringLiteral("main_window_during_run"));
  main.StopActionExecute();
  FinishRun(main);
}

void TakeAll(nimbra::DesktopProgram& program, const QDir& dir) {
  auto& main = program.MainForm();
  Save(main, dir, QStringLiteral("main_window"));
  main.PrintDetailsSpinEdit->SetValue(2);
  main.HowManySpinEdit->SetValue(3);
  main.NextManyActionExecute();
  FinishRun(main);
  main.PrintStatisticsActionExecute();
  Save(main, dir, QStringLiteral("main_window_after_run"));
  SaveScreen(dir, QStringLiteral("screen_main_and_log"));
  TakeRun(main, dir);
  Save(program.Vout(), dir, QStringLiteral("log_window"));
  nimbra::TAboutBox about(&main);
  Save(about, dir, QStringLiteral("about_box"));
  about.hide();
  program.Help().ShowTopic(nimbra::TMainForm::kHelpContext);
  Save(program.Help(), dir, QStringLiteral("help_main_window"));
  SaveScreen(dir, QStringLiteral("screen_with_help"));
  program.Help().hide();
  Save(program.BLParametersForm(), dir, QStringLiteral("parameters_dialog"));
  program.BLParametersForm().hide();
  Save(program.RepetitionOptions(), dir, QStringLiteral("repetition_options"));
  SaveScreen(dir, QStringLiteral("screen_with_repetition_options"));
  program.RepetitionOptions().hide();
  TakeGraphs(program, dir);
  SaveScreen(dir, QStringLiteral("screen_with_graphs"));
  TakeSeriesWorkspace(dir, QStringLiteral(NIMBRA_EXAMPLES_DIR));
}

}  // namespace

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Nimbra"));
  QApplication::setOrganizationName(QStringLiteral("Nimbra screenshots"));
  QSettings().clear();  // the windows open where a first-time user sees them
  const QDir dir(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("screenshots"));
  QDir().mkpath(dir.path());
  nimbra::QtPrompts prompts;
  nimbra::DesktopProgram program(prompts);
  QTimer::singleShot(0, [&] {
    TakeAll(program, dir);
    program.Vout().Modified = false;  // as a user who saved the log ends the program
    program.MainForm().close();
  });
  return QApplication::exec();
}
