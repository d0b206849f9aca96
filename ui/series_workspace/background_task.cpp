#include "background_task.h"

#include <QTimer>

namespace nimbra {

namespace {
constexpr qint64 kDeliveryIntervalMs = 50;
}

BackgroundTask::BackgroundTask(QObject* parent) : QObject(parent) {}

BackgroundTask::~BackgroundTask() {
  Cancel();
  Join();
}

bool BackgroundTask::Start(Work work) {
  if (running_) return false;
  Join();
  running_ = true;
  sinceDelivery_.invalidate();
  control_ = std::make_unique<JobControl>(
      [this](const JobProgress& progress) { Post([&](Mailbox& mail) { mail.Progress = progress; }); },
      [this](const std::string& line) { Post([&](Mailbox& mail) { mail.Lines += line + '\n'; }); });
  worker_ = std::thread([this, work = std::move(work)] {
    QString error;
    try {
      work(*control_);
    } catch (const Stopped&) {
      error = QStringLiteral("Cancelled");
    } catch (const std::exception& e) {
      error = QString::fromStdString(e.what());
    }
    inbox_.Post([this, error] {
      EmitMail();  // the last progress and lines come before the end
      running_ = false;
      emit Finished(error);
    });
  });
  return true;
}

void BackgroundTask::Post(const std::function<void(Mailbox&)>& put) {
  const std::lock_guard lock(mail_.Lock);
  put(mail_);
  if (mail_.Posted) return;
  mail_.Posted = true;
  inbox_.Post([this] { Deliver(); });
}

void BackgroundTask::Deliver() {
  if (sinceDelivery_.isValid() && sinceDelivery_.elapsed() < kDeliveryIntervalMs) {
    QTimer::singleShot(kDeliveryIntervalMs - sinceDelivery_.elapsed(), this, &BackgroundTask::Deliver);
    return;
  }
  sinceDelivery_.start();
  EmitMail();
}

void BackgroundTask::EmitMail() {
  std::optional<JobProgress> progress;
  std::string lines;
  {
    const std::lock_guard lock(mail_.Lock);
    progress.swap(mail_.Progress);
    lines.swap(mail_.Lines);
    mail_.Posted = false;
  }
  if (!lines.empty()) emit Told(QString::fromStdString(lines));
  if (progress) emit Progress(QString::fromStdString(progress->Text), progress->Done);
}

void BackgroundTask::Cancel() {
  if (control_) control_->Cancel();
}

void BackgroundTask::Join() {
  if (worker_.joinable()) worker_.join();
}

}  // namespace nimbra
