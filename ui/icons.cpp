#include "icons.h"

#include <array>

#include "resources.h"

namespace nimbra {

namespace {

constexpr std::array<const char*, kToolbarIconCount> kIconFiles = {
    "00_init",        "01_next",       "02_next_many",    "03_const_length",
    "04_open_file",   "05_save_file",  "06_clear_output", "07_print_statistics",
    "08_show_graphs", "09_parameters", "10_rep_options",  "11_about",
    "12_help"};

// Drawn once per size, so that each size is sharp rather than scaled from another.
constexpr std::array<int, 4> kSizes = {16, 24, 32, 48};

}  // namespace

QIcon ToolbarIcon(int index) {
  if (index < 0 || index >= kToolbarIconCount) return {};
  const QString resource = QStringLiteral(":/icons/%1.svg").arg(QLatin1String(kIconFiles[index]));
  QIcon icon;
  for (int size : kSizes) {
    const QPixmap pixmap = SvgPixmap(resource, QSize(size, size));
    if (pixmap.isNull()) return {};
    icon.addPixmap(pixmap);
  }
  return icon;
}

}  // namespace nimbra
