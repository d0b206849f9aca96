#pragma once
// Summaries of the hourly depths a run has collected, and the messages the collection
// shows when it cannot keep a sequence.

#include <span>

#include "statrec.h"

namespace nimbra {

inline constexpr const char* kTooManyWetValues =
    "Too many generated data\nThe statistics for wet days and wet hours will not be accurate";
inline constexpr const char* kTooManyAllValues =
    "Too many generated data\nThe statistics for all data values will not be accurate";
inline constexpr const char* kDateOrderError =
    "Error: The records in input file are not in increasing order of date\r\n"
    "Please correct the error and try again";

// Fills summary from the first n values of data. With fewer than a day of hours only
// Count is set: the other fields keep the values they had.
void SummariseAllValues(std::span<const double> data, StatisticsSummary& summary, int n);

// Every hour of every record of the series data, dry hours included. With fewer than
// 2 values only Count is set.
void SummariseWetDays(std::span<const double> data, StatisticsSummary& summary);

// As SummariseWetDays, over the hours whose depth is not zero.
void SummariseWetHours(std::span<const double> data, StatisticsSummary& summary);

// Zeroes every field but the lag-0 autocorrelation, which is 1 by definition whenever
// the summary has been computed.
void ClearSummary(StatisticsSummary& summary);

}  // namespace nimbra
