#pragma once
// The running log the engine writes its report lines into. The desktop log window,
// the command line and the tests each implement it.

#include <array>
#include <string>
#include <string_view>

#include "format.h"

namespace nimbra {

class OutputLog {
 public:
  virtual ~OutputLog() = default;

  // Appends text as the new last line; line breaks inside it start further lines.
  virtual void AddLine(const std::string& text) = 0;
  virtual void ClearText() = 0;
  // The last line, or empty when there is no text.
  virtual std::string LastLine() const = 0;
  // Replaces the last line in place; does nothing when there is no line.
  virtual void ReplaceLastLine(const std::string& text) = 0;
  // The separator reals are printed with; the point unless the log follows a locale.
  virtual std::string DecimalSeparator() const { return "."; }

  template <class... Args>
  void AddLineFmt(std::string_view format, const Args&... args) {
    AddLine(Formatted(format, args...));
  }

  // The line AddLineFmt would append.
  template <class... Args>
  std::string Formatted(std::string_view format, const Args&... args) const {
    const std::array<FormatArg, sizeof...(Args)> list{ToFormatArg(args)...};
    return FormatText(format, list, DecimalSeparator());
  }
};

}  // namespace nimbra
