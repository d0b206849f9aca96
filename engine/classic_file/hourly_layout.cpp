#include "hourly_layout.h"

#include "format.h"

namespace nimbra {

namespace {

constexpr const char* kLineEnd = "\r\n";
constexpr std::size_t kRealWidth = 6;
constexpr std::size_t kHoursPerLine = 12;
constexpr std::size_t kSecondLineIndent = 17;

// Right-aligned in its width.
void AppendField(std::string& text, const std::string& field, std::size_t width, FieldJoin join) {
  if (field.size() < width) {
    text.append(width - field.size(), ' ');
  } else if (join == FieldJoin::Apart) {
    text += ' ';
  }
  text += field;
}

void AppendReal(std::string& text, double value, FieldJoin join) {
  AppendField(text, FormatFixed2(value, "."), kRealWidth, join);
}

}  // namespace

void AppendHourlyLayoutDay(std::string& text, const HourlyLayoutDay& day, FieldJoin join) {
  text += kLineEnd;
  AppendField(text, std::to_string(day.Day), 3, join);
  AppendField(text, std::to_string(day.Tag), 3, join);
  AppendField(text, std::to_string(day.Period), 5, join);
  AppendReal(text, day.Total, join);
  for (std::size_t h = 0; h < day.Hours.size(); ++h) {
    if (h == kHoursPerLine) text.append(kLineEnd).append(kSecondLineIndent, ' ');
    AppendReal(text, day.Hours[h], join);
  }
}

}  // namespace nimbra
