#pragma once
// The about box: program picture, title, credits, versions and the memory figures.
// Created for each showing by the main window's about button.

#include <QDialog>

#include "memory_status.h"

class QLabel;
class QLayout;
class QPushButton;

namespace nimbra {

class AboutDialog : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kHelpContext = 1;

  // Reads the memory figures of this machine.
  explicit AboutDialog(QWidget* parent = nullptr);

  // Fills PhysMem and FreeRes, with the box's locale for the grouping of thousands.
  void ShowMemoryStatus(const MemoryStatus& status);

 private:
  QLayout* MakeHeading();
  QLayout* MakeMemoryLines();
  QLayout* MakeButtonRow();
  void CentreOnScreen();

  QLabel* PhysMem;
  QLabel* FreeRes;
  QPushButton* OKButton;
};

}  // namespace nimbra
