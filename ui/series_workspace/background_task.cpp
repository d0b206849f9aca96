#include "background_task.h"

#include <QMetaObject>

namespace nimbra {

BackgroundTask::BackgroundTask(QObject* parent) : QObject(parent) {}

BackgroundTask::~BackgroundTask() {
  Cancel();
  Join();
}

bool BackgroundTask::Start(Work work) {
  if (running_) return false;
  Join();
  running_ = true;
  control_ = std::make_unique<JobControl>([this](const JobProgress& p) {
    QMetaObject::invokeMethod(
        this, [this, text = QString::fromStdString(p.Text), done = p.Done] { emit Progress(text, done); },
        Qt::QueuedConnection);
  });
  worker_ = std::thread([this, work = std::move(work)] {
    QString error;
    try {
      work(*control_);
    } catch (const Stopped&) {
      error = QStringLiteral("Cancelled");
    } catch (const std::exception& e) {
      error = QString::fromStdString(e.what());
    }
    QMetaObject::invokeMethod(
        this,
        [this, error] {
          running_ = false;
          emit Finished(error);
        },
        Qt::QueuedConnection);
  });
  return true;
}

void BackgroundTask::Cancel() {
  if (control_) control_->Cancel();
}

void BackgroundTask::Join() {
  if (worker_.joinable()) worker_.join();
}

}  // namespace nimbra
