#pragma once
// The charts of the Compare page: one statistic of the sources as bars, the yearly largest
// hours on a Gumbel plot, and one day's hours, disaggregated beside observed.

#include <QChart>
#include <QColor>
#include <QString>
#include <array>
#include <span>
#include <vector>

#include "hour_comparison.h"

namespace nimbra {

inline constexpr std::array<const char*, kHourSourceCount> kSourceNames = {"observed", "disaggregated",
                                                                           "model"};

// One colour per source in every chart and in the table's header, so that one key serves all.
QColor SourceColor(std::size_t source);

// The statistic's bars in the sources' colours, without a legend.
QChart* StatisticChart(const QString& title, const std::array<double, kHourSourceCount>& values);
QChart* MaximaChart(const HourComparison& comparison);
// observed may be empty; both hold the day's 24 hours.
QChart* DayChart(const QString& title, std::span<const double> disaggregated,
                 std::span<const double> observed);

}  // namespace nimbra
