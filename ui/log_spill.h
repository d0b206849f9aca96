#pragma once
// The log lines that no longer fit the log window's text area. They move to a file of
// their own instead of being dropped, so that a saved log holds the whole run.

#include <QString>
#include <QTemporaryFile>
#include <memory>
#include <string>
#include <vector>

namespace nimbra {

class LogSpill {
 public:
  void Add(const QString& line);
  // The spilled lines, oldest first.
  std::vector<std::string> Lines() const;
  void Clear();
  long long Count() const { return count_; }

 private:
  std::unique_ptr<QTemporaryFile> file_;
  long long count_ = 0;
};

}  // namespace nimbra
