#include "season.h"

namespace nimbra {

std::optional<MonthSet> ParseMonthList(std::string_view text) {
  MonthSet months = 0;
  std::size_t at = 0;
  while (at < text.size()) {
    if (text[at] == ' ' || text[at] == ',') {
      ++at;
      continue;
    }
    int month = 0;
    const std::size_t start = at;
    while (at < text.size() && text[at] >= '0' && text[at] <= '9' && at - start < 2)
      month = month * 10 + (text[at++] - '0');
    const bool ended = at == text.size() || text[at] == ' ' || text[at] == ',';
    if (at == start || !ended || month < 1 || month > 12 || (months & MonthBit(month)) != 0)
      return std::nullopt;
    months |= MonthBit(month);
  }
  if (months == 0) return std::nullopt;
  return months;
}

std::string MonthListText(MonthSet months) {
  std::string text;
  for (int month = 1; month <= 12; ++month) {
    if ((months & MonthBit(month)) == 0) continue;
    text += (text.empty() ? "" : ", ") + std::to_string(month);
  }
  return text;
}

}  // namespace nimbra
