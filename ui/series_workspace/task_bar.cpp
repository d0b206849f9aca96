#include "task_bar.h"

#include <QHBoxLayout>
#include <QTextDocument>
#include <QVBoxLayout>

namespace nimbra {

namespace {
constexpr int kBarSteps = 1000;
constexpr int kMessageLinesShown = 5;
}  // namespace

TaskBar::TaskBar(const QString& runText, QWidget* parent) : QWidget(parent) {
  Task = new BackgroundTask(this);
  RunButton = new QPushButton(runText);
  CancelButton = new QPushButton(tr("Cancel"));
  CancelButton->setEnabled(false);
  Bar = new QProgressBar;
  Bar->setRange(0, kBarSteps);
  Bar->setValue(0);
  Status = new QLabel;
  Status->setWordWrap(true);
  Status->setTextInteractionFlags(Qt::TextSelectableByMouse);
  Messages = new QPlainTextEdit;
  Messages->setReadOnly(true);
  Messages->setPlaceholderText(tr("The run's warnings and errors"));
  // A page whose results stand below keeps them in view; one whose messages are its
  // results lifts the limit.
  Messages->setMaximumHeight(
      Messages->fontMetrics().lineSpacing() * kMessageLinesShown +
      2 * (Messages->frameWidth() + static_cast<int>(Messages->document()->documentMargin())));
  auto* row = new QHBoxLayout;
  row->addWidget(RunButton);
  row->addWidget(CancelButton);
  row->addWidget(Bar, 1);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addLayout(row);
  layout->addWidget(Status);
  layout->addWidget(Messages, 1);
  connect(CancelButton, &QPushButton::clicked, Task, [this] {
    Task->Cancel();
    Status->setText(tr("Cancelling..."));
  });
  connect(Task, &BackgroundTask::Progress, this, [this](const QString& text, double done) {
    Status->setText(text);
    Bar->setValue(static_cast<int>(done * kBarSteps));
  });
  connect(Task, &BackgroundTask::Told, this, [this](const QString& lines) {
    Messages->moveCursor(QTextCursor::End);
    Messages->insertPlainText(lines);
  });
  connect(Task, &BackgroundTask::Finished, this, &TaskBar::Ended);
}

void TaskBar::Start(BackgroundTask::Work work, std::function<void()> done) {
  if (!Task->Start(std::move(work))) return;
  done_ = std::move(done);
  RunButton->setEnabled(false);
  CancelButton->setEnabled(true);
  Bar->setValue(0);
  Messages->clear();
  Status->setText(tr("Starting..."));
}

void TaskBar::Ended(const QString& error) {
  RunButton->setEnabled(true);
  CancelButton->setEnabled(false);
  if (!error.isEmpty()) {
    Status->setText(error);
    Messages->appendPlainText(error);
    Bar->setValue(0);
    return;
  }
  Bar->setValue(kBarSteps);
  Status->setText(tr("Done"));
  if (done_) done_();
}

}  // namespace nimbra
