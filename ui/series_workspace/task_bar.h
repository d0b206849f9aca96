#pragma once
// The run row of a page: Run, Cancel, a progress bar and the job's last word, and under
// them the run's messages: the job's warnings as they come, and its error or cancel at the
// end, so that they stay in view whichever way the run ended. It owns the page's
// background task; Run stays locked while the job goes on.

#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QWidget>

#include "background_task.h"

namespace nimbra {

class TaskBar : public QWidget {
  Q_OBJECT

 public:
  explicit TaskBar(const QString& runText, QWidget* parent = nullptr);

  // Starts the job; done runs on the window's thread after a success.
  void Start(BackgroundTask::Work work, std::function<void()> done);

  BackgroundTask* Task = nullptr;
  QPushButton* RunButton = nullptr;
  QPushButton* CancelButton = nullptr;
  QProgressBar* Bar = nullptr;
  QLabel* Status = nullptr;
  QPlainTextEdit* Messages = nullptr;

 private:
  void Ended(const QString& error);

  std::function<void()> done_;
};

}  // namespace nimbra
