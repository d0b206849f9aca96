#pragma once
// One long job of the workspace on a worker thread, so that the window stays responsive:
// progress and the job's messages come back to the window's thread as signals, Cancel
// raises the job's flag, and the end is one signal with the error text (empty on success,
// "Cancelled" after a cancel). The job's result stays with the caller's closure; the window
// reads it on Finished, on its own thread.

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "call_inbox.h"
#include "job_control.h"

namespace nimbra {

class BackgroundTask : public QObject {
  Q_OBJECT

 public:
  using Work = std::function<void(const JobControl&)>;

  explicit BackgroundTask(QObject* parent = nullptr);
  // Cancels a job still going and waits for it.
  ~BackgroundTask() override;

  // False when a job is going already.
  bool Start(Work work);
  void Cancel();
  bool Running() const { return running_; }

 signals:
  void Progress(const QString& text, double done);
  // The lines the job told since the last signal, each with its line end.
  void Told(const QString& lines);
  void Finished(const QString& error);

 private:
  // What the job left for the window since the last delivery. At most one delivery waits
  // in the window's queue, and deliveries come at most every few tens of milliseconds, so
  // that a job reporting fast cannot flood the event loop.
  struct Mailbox {
    std::mutex Lock;
    std::optional<JobProgress> Progress;
    std::string Lines;
    bool Posted = false;
  };

  void Post(const std::function<void(Mailbox&)>& put);
  void Deliver();
  void EmitMail();
  void Join();

  std::unique_ptr<JobControl> control_;
  CallInbox inbox_{this};
  std::thread worker_;
  Mailbox mail_;
  QElapsedTimer sinceDelivery_;
  bool running_ = false;
};

}  // namespace nimbra
