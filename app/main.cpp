#include <QApplication>

#include "DesktopProgram.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Nimbra"));
  nimbra::DesktopProgram program;
  return QApplication::exec();
}
