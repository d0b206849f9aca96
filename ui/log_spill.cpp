#include "log_spill.h"

#include <QDir>

#include "errors.h"

namespace nimbra {

void LogSpill::Add(const QString& line) {
  if (file_ == nullptr) {
    file_ = std::make_unique<QTemporaryFile>(QDir::temp().filePath(QStringLiteral("nimbra_log_XXXXXX.txt")));
    if (!file_->open()) throw InOutError("The log's earlier lines cannot be kept: no temporary file");
  }
  const QByteArray bytes = (line + QLatin1Char('\n')).toUtf8();
  if (file_->write(bytes) != bytes.size())
    throw InOutError("The log's earlier lines cannot be kept: disk full?");
  ++count_;
}

std::vector<std::string> LogSpill::Lines() const {
  std::vector<std::string> lines;
  if (file_ == nullptr) return lines;
  file_->flush();
  QFile reader(file_->fileName());
  if (!reader.open(QIODevice::ReadOnly)) throw InOutError("The log's earlier lines cannot be read back");
  while (!reader.atEnd()) {
    QByteArray line = reader.readLine();
    line.chop(1);
    lines.emplace_back(line.constData(), static_cast<std::size_t>(line.size()));
  }
  return lines;
}

void LogSpill::Clear() {
  file_.reset();
  count_ = 0;
}

}  // namespace nimbra
