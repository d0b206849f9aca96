#include "memory_log.h"

#include "text_lines.h"

namespace nimbra {

void MemoryLog::AddLine(const std::string& text) {
  for (auto& line : SplitLines(text)) AppendDroppingOldest(std::move(line));
}

void MemoryLog::AppendDroppingOldest(std::string line) {
  if (capacity_ == 0) return;
  while (lines_.size() >= capacity_) lines_.pop_front();
  lines_.push_back(std::move(line));
}

void MemoryLog::ReplaceLastLine(const std::string& text) {
  if (!lines_.empty()) lines_.back() = text;
}

std::string MemoryLog::Text() const {
  std::string text;
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    if (i > 0) text += "\r\n";
    text += lines_[i];
  }
  return text;
}

}  // namespace nimbra
