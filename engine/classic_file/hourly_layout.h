#pragma once
// The classic hourly layout of output files: two CR LF lines per day, `Day Tag Period
// total h1..h12` in widths 3, 3, 5, 6 and 12 x 6, then 17 blanks and h13..h24, depths with
// two decimals. Each day begins with its line end, so a file starts with one and ends
// without. A value longer than its field widens it.

#include <span>
#include <string>

namespace nimbra {

// Touching keeps the classic bytes: a field its value fills joins the one before it
// (a day of 150 mm after its year). Apart puts a blank before such a field, so that the
// file reads back wherever the values are split at blanks.
enum class FieldJoin { Touching, Apart };

struct HourlyLayoutDay {
  long long Day = 0;
  long long Tag = 0;
  long long Period = 0;
  double Total = 0;
  std::span<const double> Hours;  // 24
};

void AppendHourlyLayoutDay(std::string& text, const HourlyLayoutDay& day, FieldJoin join);

}  // namespace nimbra
