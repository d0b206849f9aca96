// Takes pictures of the program's windows in typical states, for looking at them:
//   nimbra-screenshots OUTPUT_DIR
#include <QApplication>
#include <QDir>
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

namespace {

void Save(QWidget& window, const QDir& dir, const QString& name) {
  window.show();
  QApplication::processEvents();
  window.grab().save(dir.filePath(name + QStringLiteral(".png")));
}

// The five pages of the graphs window after a ten-sequence run.
void TakeGraphs(nimbra::DesktopProgram& program, const QDir& dir) {
  auto& main = program.MainForm();
  main.InitActionExecute();
  main.PrintDetailsSpinEdit->SetValue(0);
  main.HowManySpinEdit->SetValue(10);
  main.ShowGraphsButton->click();
  main.NextManyActionExecute();
  auto& graphs = program.GraphForm();
  const char* names[] = {"storms", "hyetographs", "probabilities", "marginal", "autocorrelations"};
  for (int page = 0; page < 5; ++page) {
    graphs.ShowPage(page);
    QTest::qWait(500);  // let the charts finish their layout
    Save(graphs, dir, QStringLiteral("graphs_%1_%2").arg(page + 1).arg(QString::fromLatin1(names[page])));
  }
}

void TakeAll(nimbra::DesktopProgram& program, const QDir& dir) {
  auto& main = program.MainForm();
  Save(main, dir, QStringLiteral("main_window"));
  main.PrintDetailsSpinEdit->SetValue(2);
  main.HowManySpinEdit->SetValue(3);
  main.NextManyActionExecute();
  main.PrintStatisticsActionExecute();
  Save(main, dir, QStringLiteral("main_window_after_run"));
  program.Vout().resize(900, 500);
  Save(program.Vout(), dir, QStringLiteral("log_window"));
  nimbra::TAboutBox about(&main);
  Save(about, dir, QStringLiteral("about_box"));
  program.Help().ShowTopic(nimbra::TMainForm::kHelpContext);
  Save(program.Help(), dir, QStringLiteral("help_main_window"));
  Save(program.BLParametersForm(), dir, QStringLiteral("parameters_dialog"));
  program.BLParametersForm().hide();
  Save(program.RepetitionOptions(), dir, QStringLiteral("repetition_options"));
  program.RepetitionOptions().hide();
  TakeGraphs(program, dir);
}

}  // namespace

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Nimbra"));
  const QDir dir(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("screenshots"));
  QDir().mkpath(dir.path());
  nimbra::QtPrompts prompts;
  nimbra::DesktopProgram program(prompts);
  QTimer::singleShot(0, [&] {
    TakeAll(program, dir);
    program.MainForm().close();  // as a user ends the program: no save question
  });
  return QApplication::exec();
}
