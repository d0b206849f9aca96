#pragma once
// An output log held in memory, with a capacity in lines: when it is full the
// oldest lines make room for the new ones.

#include <cstddef>
#include <deque>
#include <string>

#include "output_log.h"

namespace nimbra {

class MemoryLog : public OutputLog {
 public:
  static constexpr std::size_t kDefaultCapacity = 1'000'000;

  explicit MemoryLog(std::size_t capacity = kDefaultCapacity) : capacity_(capacity) {}

  void AddLine(const std::string& text) override;
  void ClearText() override { lines_.clear(); }
  std::string LastLine() const override { return lines_.empty() ? std::string() : lines_.back(); }
  void ReplaceLastLine(const std::string& text) override;

  const std::deque<std::string>& Lines() const { return lines_; }
  // The whole text, lines joined by CR LF as the log window saves it.
  std::string Text() const;

 private:
  void AppendDroppingOldest(std::string line);

  std::size_t capacity_;
  std::deque<std::string> lines_;
};

}  // namespace nimbra
