#include "fit_seasons.h"

#include <fstream>
#include <sstream>

#include "csv_reader.h"
#include "errors.h"

namespace nimbra {

namespace {

MonthMask ParseMonths(const std::string& text, const std::string& where) {
  std::istringstream in(text);
  MonthMask months = 0;
  std::string item;
  while (in >> item) {
    const int month =
        item.find_first_not_of("0123456789") == std::string::npos && item.size() <= 2 ? std::stoi(item) : 0;
    const MonthMask bit =
        month >= 1 && month <= 12 ? static_cast<MonthMask>(1u << (month - 1)) : MonthMask{0};
    if (bit == 0 || (months & bit) != 0) {
      throw InputError(where +
                       ", field months: expected month numbers 1 to 12 each once, such as \"6 7 8\", not '" +
                       text + "'");
    }
    months |= bit;
  }
  if (months == 0) throw InputError(where + ", field months: expected at least one month number");
  return months;
}

// A month in two seasons would get two parameter sets, which no run can use.
void RefuseOverlap(const std::vector<FitSeason>& before, const FitSeason& season, const std::string& where) {
  for (const FitSeason& other : before) {
    const auto shared = static_cast<MonthMask>(other.Months & season.Months);
    if (shared == 0) continue;
    throw InputError(where + ", field months: expected months of no other season, found " +
                     MonthList(shared) + " of season '" + other.Name + "' as well");
  }
}

SeasonChoice ReadSeasonFile(const std::string& path) {
  std::ifstream in(path);
  if (!in) throw InOutError(path + ": cannot be read (--seasons takes monthly, all or a file)");
  SeasonChoice choice{{}, false, true};
  CsvReader reader = CsvReader::Open(path);
  for (std::vector<std::string_view> fields; reader.NextRow(fields);) {
    const std::string where = path + ", line " + std::to_string(reader.Line());
    if (fields.size() != 2 || fields[0].empty()) {
      throw InputError(where + ", field season: expected a season name, a comma and its months");
    }
    const FitSeason season{std::string(fields[0]), ParseMonths(std::string(fields[1]), where)};
    RefuseOverlap(choice.Seasons, season, where);
    choice.Seasons.push_back(season);
  }
  if (choice.Seasons.empty()) throw InputError(path + ": no season after the header line `season,months`");
  return choice;
}

}  // namespace

SeasonChoice ChooseSeasons(const std::string& text) {
  if (text == "all") return {{{"all", 0x0FFF}}, false, false};
  if (text != "monthly") return ReadSeasonFile(text);
  SeasonChoice choice{{}, true, false};
  for (int month = 1; month <= 12; ++month) {
    choice.Seasons.push_back({std::to_string(month), static_cast<MonthMask>(1u << (month - 1))});
  }
  return choice;
}

std::string MonthList(MonthMask months) {
  std::string text;
  for (int month = 1; month <= 12; ++month) {
    if ((months & (1u << (month - 1))) == 0) continue;
    if (!text.empty()) text += ' ';
    text += std::to_string(month);
  }
  return text;
}

}  // namespace nimbra
