#pragma once
// One long job of the workspace on a worker thread, so that the window stays responsive:
// progress comes back to the window's thread as a signal, Cancel raises the job's flag,
// and the end is one signal with the error text (empty on success, "Cancelled" after a
// cancel). The job's result stays with the caller's closure; the window reads it on
// Finished, on its own thread.

#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <thread>

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
  void Finished(const QString& error);

 private:
  void Join();

  std::unique_ptr<JobControl> control_;
  std::thread worker_;
  bool running_ = false;
};

}  // namespace nimbra
