#pragma once
// The repetition options dialog: the four settings that bound the repetitions of a
// sequence. A tool window beside the others while sequences are disaggregated; each
// change takes effect at the engine's next use of the setting, without restarting
// the run.

#include <QDialog>

#include "engine.h"
#include "integer_field.h"
#include "prompts.h"

class QCloseEvent;
class QGridLayout;
class QLineEdit;
class QPushButton;

namespace nimbra {

class HelpWindow;

class RepetitionDialog : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kHelpContext = 22;

  RepetitionDialog(Engine& engine, Prompts& prompts, HelpWindow& help, QWidget* parent = nullptr);

  // Shows the engine's four settings; each field's handler stores its value back.
  void LoadFromEngine();

  void StoreFactor();
  void StoreMinimum();
  void StoreAllowed();
  void StoreDistance();
  void Finish();
  void TellClosed();

 signals:
  // The dialog was hidden by its OK button or its close box: the main window raises
  // its toggle.
  void Closed();

 public slots:
  // Escape hides the dialog as the close box does.
  void reject() override;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  IntegerField* AddIntegerRow(QGridLayout* grid, int row, const QString& caption, const QString& hint,
                              int minimum, int maximum, int value);
  QLineEdit* AddDistanceRow(QGridLayout* grid, int row);
  void SetTabOrder();
  void ConnectReactions();

  RunView S() const { return engine_.View(); }

  IntegerField* factorField_;
  IntegerField* minimumField_;
  IntegerField* allowedField_;
  QLineEdit* distanceEdit_;
  QPushButton* okButton_;
  Engine& engine_;
  Prompts& prompts_;
};

}  // namespace nimbra
