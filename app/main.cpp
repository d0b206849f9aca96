#include <QApplication>

#include "desktop_program.h"
#include "help_window.h"
#include "main_window.h"
#include "qt_prompts.h"
#include "series_workspace.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Nimbra"));
  QApplication::setOrganizationName(QStringLiteral("Nimbra"));
  nimbra::QtPrompts prompts;
  // `nimbra --series` opens the series workspace instead of the explorer of the method.
  if (QApplication::arguments().contains(QStringLiteral("--series"))) {
    nimbra::HelpWindow help;
    nimbra::SeriesWorkspace workspace(prompts, help);
    workspace.show();
    return QApplication::exec();
  }
  nimbra::DesktopProgram program(prompts);
  // `nimbra FILE` opens the daily file as the input button would.
  const QStringList arguments = QApplication::arguments().mid(1);
  if (!arguments.isEmpty()) program.Main().OpenInputFile(arguments.first().toStdString());
  return QApplication::exec();
}
