#include "console_outlets.h"

#include "text_lines.h"

namespace nimbra {

void StreamLog::AddLine(const std::string& text) {
  for (auto& line : SplitLines(text)) {
    Flush();
    pending_ = std::move(line);
  }
}

void StreamLog::ReplaceLastLine(const std::string& text) {
  if (pending_) pending_ = text;
}

void StreamLog::Flush() {
  if (pending_) out_ << *pending_ << '\n';
  pending_.reset();
  out_.flush();
}

void StreamUserInterface::ShowMessage(const std::string& text) {
  for (const auto& line : SplitLines(text)) err_ << line << '\n';
  err_.flush();
}

}  // namespace nimbra
