// Takes pictures of the program's windows in typical states, for looking at them:
//   nimbra-screenshots OUTPUT_DIR
#include <QApplication>
#include <QDir>
#include <QScreen>
#include <QSettings>
#include <QTest>
#include <QTimer>

#include "about_dialog.h"
#include "child_widget.h"
#include "csv_daily_input.h"
#include "desktop_program.h"
#include "graphs_window.h"
#include "help_window.h"
#include "integer_field.h"
#include "log_window.h"
#include "main_window.h"
#include "parameters_dialog.h"
#include "qt_prompts.h"
#include "repetition_dialog.h"
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

void FinishRun(nimbra::MainWindow& main) {
  if (!QTest::qWaitFor([&main] { return !main.RunGoing(); }, 600000)) qFatal("The run did not end");
}

// The five pages of the graphs window after a ten-sequence run.
void TakeGraphs(nimbra::DesktopProgram& program, const QDir& dir) {
  auto& main = program.Main();
  program.Log().SetModified(false);  // the pictures need no save question
  main.Initialise();
  nimbra::Child<nimbra::IntegerField>(&main, "detailLevel")->SetValue(0);
  nimbra::Child<nimbra::IntegerField>(&main, "count")->SetValue(10);
  nimbra::Child<QAction>(&main, "graphs")->trigger();
  main.StepMany();
  FinishRun(main);
  auto& graphs = program.Graphs();
  const char* names[] = {"storms", "hyetographs", "probabilities", "marginal", "autocorrelations"};
  for (int page = 0; page < 5; ++page) {
    graphs.ShowPage(page);
    QTest::qWait(500);  // let the charts finish their layout
    Save(graphs, dir, QStringLiteral("graphs_%1_%2").arg(page + 1).arg(QString::fromLatin1(names[page])));
  }
}

// The parameters dialog while a CSV input runs with the sets of its parameters file.
void TakeCsvParameters(nimbra::DesktopProgram& program, const QDir& dir) {
  const std::string examples = NIMBRA_EXAMPLES_DIR;
  nimbra::Engine& engine = program.Main().engine();
  const nimbra::CsvDailyInput csv =
      nimbra::ReadCsvDailyInput(examples + "/berlin_tempelhof_july_daily.csv",
                                examples + "/berlin_tempelhof_july_params.csv", engine.View().Options);
  engine.OpenDatedInput(csv.Input, examples + "/berlin_tempelhof_july_daily.csv");
  program.Parameters().LoadFromEngine();
  Save(program.Parameters(), dir, QStringLiteral("parameters_dialog_csv"));
  program.Parameters().hide();
  engine.CloseInput();
  program.Parameters().LoadFromEngine();
}

// The main window while a run goes on: progress, Stop, and the commands locked.
void TakeRun(nimbra::MainWindow& main, const QDir& dir) {
  nimbra::Child<nimbra::IntegerField>(&main, "count")->SetValue(1000);
  main.StepMany();
  QTest::qWait(300);
  Save(main, dir, QStringLiteral("main_window_during_run"));
  main.StopRun();
  FinishRun(main);
}

void TakeAll(nimbra::DesktopProgram& program, const QDir& dir) {
  auto& main = program.Main();
  Save(main, dir, QStringLiteral("main_window"));
  nimbra::Child<nimbra::IntegerField>(&main, "detailLevel")->SetValue(2);
  nimbra::Child<nimbra::IntegerField>(&main, "count")->SetValue(3);
  main.StepMany();
  FinishRun(main);
  main.PrintStatistics();
  Save(main, dir, QStringLiteral("main_window_after_run"));
  SaveScreen(dir, QStringLiteral("screen_main_and_log"));
  TakeRun(main, dir);
  Save(program.Log(), dir, QStringLiteral("log_window"));
  nimbra::AboutDialog about(&main);
  Save(about, dir, QStringLiteral("about_box"));
  about.hide();
  program.Help().ShowTopic(nimbra::MainWindow::kHelpContext);
  Save(program.Help(), dir, QStringLiteral("help_main_window"));
  SaveScreen(dir, QStringLiteral("screen_with_help"));
  program.Help().hide();
  Save(program.Parameters(), dir, QStringLiteral("parameters_dialog"));
  program.Parameters().hide();
  TakeCsvParameters(program, dir);
  Save(program.Repetitions(), dir, QStringLiteral("repetition_options"));
  SaveScreen(dir, QStringLiteral("screen_with_repetition_options"));
  program.Repetitions().hide();
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
    program.Log().SetModified(false);  // as a user who saved the log ends the program
    program.Main().close();
  });
  return QApplication::exec();
}
