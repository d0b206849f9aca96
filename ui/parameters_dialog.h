#pragma once
// The model parameters dialog: the seven Bartlett-Lewis parameters, the days per month
// or season, the random seed and the adjustment switch. Every edit goes straight into
// the engine's state and restarts the run. One object for the whole program, shown
// modally by the main window; its fields keep what was typed between showings.

#include <QDialog>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

#include "engine.h"
#include "integer_field.h"
#include "model_statistics_panel.h"
#include "prompts.h"

class QCheckBox;
class QGridLayout;
class QLabel;
class QLayout;
class QLineEdit;
class QPushButton;

namespace nimbra {

class HelpWindow;

class ParametersDialog : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kHelpContext = 21;

  ParametersDialog(Engine& engine, Prompts& prompts, HelpWindow& help, QWidget* parent = nullptr);

  // Asked before an edit restarts the run, which clears the log; false keeps the value
  // in use.
  std::function<bool()> mayRestart;
  // Told after an edit has restarted the run.
  std::function<void()> onRestarted;
  // Asked to take the input file's parameters again.
  std::function<void()> onFileValues;
  // Asked to choose another parameters file for a CSV input.
  std::function<void()> onOtherParameterFile;

  // Shows the engine's parameters and days per month (after a parameters line of the
  // input file too) and restarts the run once they are all in.
  void LoadFromEngine();
  // The fifth field holds nu while Alpha is below 100 and eta itself from 100 on.
  void ShowNuOrEta();

  void StoreLambda();
  void StoreKappa();
  void StorePhi();
  void StoreAlpha();
  void StoreNu();
  void StoreMuX();
  void StoreSigmaX();
  void StoreDaysPerMonth();
  void StoreAdjustment();
  void StoreSeed();
  void Finish();

 public slots:
  // Cancel, the close box and Escape bring back the values the dialog opened with.
  void reject() override;

 protected:
  void showEvent(QShowEvent* event) override;
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QLineEdit* AddRealField(QGridLayout* grid, int row, int column, QLabel*& label, const QString& caption,
                          const QString& hint);
  QLayout* MakeParameterGrid();
  QLayout* MakeOptionRow();
  QLabel* MakeFixedText(const QString& text);
  void FitFixedTexts(const QLayout* layout);
  // A CSV input's sets come from its parameters file: the fields show the set in use,
  // read-only, and the dialog says where it comes from.
  void ShowSource();
  QLayout* MakeButtonRow();
  void SetTabOrder();
  void ConnectReactions();

  RunView S() const { return engine_.View(); }
  std::string DecimalSeparator() const;
  QString RealText(double value) const;
  void ShowReal(QLineEdit* edit, double value);
  bool ShowsValue(const QLineEdit* edit, double value) const;
  // The field's value; nothing when it holds no number. Leaving such a field names it in
  // a message and shows the value in use again.
  std::optional<double> ReadRealField(QLineEdit* edit, double inUse, bool leaving);
  void ChangeParameter(QLineEdit* edit, double ModelParameters::*field, bool leaving = true);
  void ChangeAlpha(bool leaving);
  void ShowModelStatistics();
  void ChangeOption(const std::function<void(RunOptions&)>& change);
  bool MayRestart();
  void Restarted();
  void RestoreOpeningValues();
  QString FieldName(const QLineEdit* edit) const;
  void RefuseSeed();
  // A field's change, which restarts the run; an error ends the reaction and is
  // shown, and what was stored before it stays.
  void React(const std::function<void()>& change);

  QLineEdit* lambdaEdit_;
  QLineEdit* kappaEdit_;
  QLineEdit* phiEdit_;
  QLineEdit* alphaEdit_;
  QLineEdit* nuEdit_;
  QLineEdit* muXEdit_;
  QLineEdit* sigmaXEdit_;
  QLabel* lambdaLabel_;
  QLabel* kappaLabel_;
  QLabel* phiLabel_;
  QLabel* alphaLabel_;
  QLabel* nuLabel_;
  QLabel* muXLabel_;
  QLabel* sigmaXLabel_;
  QLabel* daysPerMonthLabel_;
  QLabel* seedLabel_;
  IntegerField* daysPerMonthField_;
  IntegerField* seedField_;
  ModelStatisticsPanel* statisticsPanel_;
  QCheckBox* adjustmentBox_;
  QLabel* introText_;
  QLabel* adjustmentText_;
  QLabel* sourceText_;
  int textWidth_ = 0;
  QPushButton* fileValuesButton_;
  QPushButton* parameterFileButton_;
  QPushButton* cancelButton_;
  QPushButton* okButton_;
  Engine& engine_;
  Prompts& prompts_;
  // The real fields that react when the focus leaves them, each with its handler.
  std::vector<std::pair<QObject*, void (ParametersDialog::*)()>> leaveReactions_;
  // While the fields are being filled with the engine's values, their handlers rest.
  bool loading_ = false;
  struct OpeningValues {
    ModelParameters Parameters;
    int DaysPerMonth = 0;
    int Seed = 0;
    bool Adjustment = true;
    bool operator==(const OpeningValues&) const = default;
  };
  OpeningValues opening_;
};

}  // namespace nimbra
