#include <QApplication>

#include "desktop_program.h"
#include "qt_prompts.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Nimbra"));
  QApplication::setOrganizationName(QStringLiteral("Nimbra"));
  nimbra::QtPrompts prompts;
  nimbra::DesktopProgram program(prompts);
  return QApplication::exec();
}
