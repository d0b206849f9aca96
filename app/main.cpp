#include <QApplication>

#include "desktop_program.h"
#include "help_window.h"
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
  return QApplication::exec();
}
