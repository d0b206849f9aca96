#include "remembered_settings.h"

#include <QCoreApplication>
#include <QMap>
#include <QSettings>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace nimbra {

namespace {

// The one thread that writes the values stored, a batch at a time; it ends with the
// application, after writing what is left.
class SettingsWriter {
 public:
  static SettingsWriter& Instance() {
    if (!instance_) {
      instance_ = new SettingsWriter;
      qAddPostRoutine(&SettingsWriter::End);
    }
    return *instance_;
  }

  void Store(const QString& key, const QVariant& value) {
    const std::lock_guard lock(mutex_);
    pending_.insert(key, value);
    changed_.notify_all();
  }

  std::optional<QVariant> Unwritten(const QString& key) {
    const std::lock_guard lock(mutex_);
    for (const QMap<QString, QVariant>* batch : {&pending_, &writing_}) {
      if (batch->contains(key)) return batch->value(key);
    }
    return std::nullopt;
  }

  void WaitUntilWritten() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return pending_.isEmpty() && writing_.isEmpty(); });
  }

 private:
  SettingsWriter() : thread_([this] { Write(); }) {}

  static void End() {
    {
      const std::lock_guard lock(instance_->mutex_);
      instance_->ending_ = true;
      instance_->changed_.notify_all();
    }
    instance_->thread_.join();
    delete instance_;
    instance_ = nullptr;
  }

  void Write() {
    std::unique_lock lock(mutex_);
    for (;;) {
      changed_.wait(lock, [this] { return ending_ || !pending_.isEmpty(); });
      if (pending_.isEmpty()) return;
      writing_.swap(pending_);
      lock.unlock();
      {
        QSettings settings;  // written and synced when it goes
        for (auto value = writing_.cbegin(); value != writing_.cend(); ++value)
          settings.setValue(value.key(), value.value());
      }
      lock.lock();
      writing_.clear();
      changed_.notify_all();
    }
  }

  static inline SettingsWriter* instance_ = nullptr;
  std::mutex mutex_;
  std::condition_variable changed_;
  QMap<QString, QVariant> pending_, writing_;
  bool ending_ = false;
  std::thread thread_;  // last: it starts once the rest is there
};

}  // namespace

void RememberValue(const QString& key, const QVariant& value) {
  SettingsWriter::Instance().Store(key, value);
}

QVariant RememberedValue(const QString& key, const QVariant& fallback) {
  if (const std::optional<QVariant> unwritten = SettingsWriter::Instance().Unwritten(key)) return *unwritten;
  return QSettings().value(key, fallback);
}

void WriteRememberedValues() { SettingsWriter::Instance().WaitUntilWritten(); }

void Remember(QSpinBox* box, const QString& key) {
  box->setValue(RememberedValue(key, box->value()).toInt());
  QObject::connect(box, &QSpinBox::valueChanged, box, [key](int value) { RememberValue(key, value); });
}

void Remember(QLineEdit* edit, const QString& key) {
  edit->setText(RememberedValue(key, edit->text()).toString());
  QObject::connect(edit, &QLineEdit::textChanged, edit,
                   [key](const QString& text) { RememberValue(key, text); });
}

void Remember(QComboBox* box, const QString& key) {
  box->setCurrentIndex(RememberedValue(key, box->currentIndex()).toInt());
  QObject::connect(box, &QComboBox::currentIndexChanged, box,
                   [key](int index) { RememberValue(key, index); });
}

void Remember(QAbstractButton* button, const QString& key) {
  button->setChecked(RememberedValue(key, button->isChecked()).toBool());
  QObject::connect(button, &QAbstractButton::toggled, button,
                   [key](bool checked) { RememberValue(key, checked); });
}

}  // namespace nimbra
