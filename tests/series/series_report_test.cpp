#include "series_report.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "date_time_text.h"

namespace nimbra {
namespace {

const double kNaN = std::nan("");
const double S = kRecordSeparator;

// 2010-02-27 to 2010-03-03: wet, dry, wet (March), missing, wet.
const StationSeries kSeries{*ParseDate("2010-02-27"), {2, 0, 5, kNaN, 1}, {}};

TEST(SeriesReport, RecordsBreakAtMissingValuesSeasonEndsAndDryDays) {
  const Season all{"all", kAllMonths};
  const Season march{"3", MonthBit(3)};
  EXPECT_EQ(ViewRecords(kSeries, kSeries.Daily, 1, all, ReportView::kAllValues),
            (RecordSeries{S, 2, 0, 5, S, 1, S, S}));
  EXPECT_EQ(ViewRecords(kSeries, kSeries.Daily, 1, all, ReportView::kWetDays),
            (RecordSeries{S, 2, S, 5, S, 1, S, S}));
  EXPECT_EQ(ViewRecords(kSeries, kSeries.Daily, 1, march, ReportView::kAllValues),
            (RecordSeries{S, 5, S, 1, S, S}));
  std::vector<double> hours(5 * 24, 0.0);
  hours[2 * 24 + 1] = kNaN;
  const RecordSeries wet = ViewRecords(kSeries, hours, 24, march, ReportView::kWetDays);
  ASSERT_EQ(wet.size(), 1 + 1 + 1 + 22 + 1 + 24 + 2u);
  EXPECT_EQ(wet[2], S);
  EXPECT_EQ(wet[25], S);
  EXPECT_EQ(wet[50], S);
}

TEST(SeriesReport, SummariesAgreeWithClosedFormsOnAHandExample) {
  const RecordSeries records{S, 1, 2, 0, S, 3, S, S};
  const StatisticsSummary all = SummariseView(records, ReportView::kAllValues);
  EXPECT_EQ(all.Count, 4);
  EXPECT_DOUBLE_EQ(all.Mean, 1.5);
  EXPECT_DOUBLE_EQ(all.StDev, std::sqrt(5.0 / 3));
  EXPECT_DOUBLE_EQ(all.Variation, std::sqrt(5.0 / 3) / 1.5);
  const StatisticsSummary wet = SummariseView(records, ReportView::kWetHours);
  EXPECT_EQ(wet.Count, 3);
  EXPECT_DOUBLE_EQ(wet.Mean, 2);
  EXPECT_DOUBLE_EQ(wet.StDev, 1);
  EXPECT_EQ(SummariseView({S, 4, S, S}, ReportView::kAllValues).Count, 1);
  // A season without rain: every value 0, so no variation or skewness to give.
  const StatisticsSummary dry = SummariseView({S, 0, 0, 0, S, S}, ReportView::kAllValues);
  EXPECT_EQ(dry.Count, 3);
  EXPECT_EQ(dry.Mean, 0);
}

TEST(SeriesReport, OneRowPerSeasonSeriesAndViewWithADrySeasonLeftBlank) {
  std::vector<double> hours(5 * 24, 0.0);
  for (int d : {0, 2, 4}) hours[d * 24 + 3] = kSeries.Daily[d];
  const ReportStation station{
      "X", &kSeries, hours, {}, {{{"2", MonthBit(2)}, {}}, {{"JJA", MonthBit(6) | MonthBit(7)}, {}}}};
  std::ostringstream out;
  WriteReportHeader(out);
  WriteStationReport(out, station);
  std::istringstream lines(out.str());
  std::vector<std::string> rows;
  for (std::string line; std::getline(lines, line);) rows.push_back(line);
  ASSERT_EQ(rows.size(), 1 + 2 * 5u);
  EXPECT_EQ(rows[0].substr(0, 62), "station,season,series,view,count,mean,stdev,variation,skewness");
  EXPECT_EQ(rows[1].substr(0, 35), "X,2,observed_daily,all,2,1,1.414213");
  EXPECT_EQ(rows[3].substr(0, 40), "X,2,disaggregated_hourly,all,48,0.041666");
  EXPECT_EQ(rows[6], "X,JJA,observed_daily,all,0" + std::string(14, ','));
}

std::vector<std::string> Fields(const std::string& row) {
  std::vector<std::string> fields;
  std::istringstream in(row);
  for (std::string field; std::getline(in, field, ',');) fields.push_back(field);
  return fields;
}

// Set A of the model's reference values: mean, variance and lag-1 covariance a day and an hour.
TEST(SeriesReport, TheModelsOwnValuesStandBesideTheSeries) {
  const ModelParameters setA{0.4, 0.5, 0.1, 6, 0.6, 24, 24};
  const std::vector<double> hours(5 * 24, 0.0);
  const ReportStation station{"X", &kSeries, hours, {}, {{{"2", MonthBit(2)}, setA}}};
  std::ostringstream out;
  WriteStationReport(out, station);
  std::istringstream lines(out.str());
  std::vector<std::string> rows;
  for (std::string line; std::getline(lines, line);) rows.push_back(line);
  ASSERT_EQ(rows.size(), 7u);
  const struct {
    std::string row, series;
    double mean, variance, covariance;
  } expected[] = {{rows[5], "model_daily", 6.912, 143.857, 49.6164},
                  {rows[6], "model_hourly", 0.288, 0.646427, 0.546139}};
  for (const auto& e : expected) {
    const auto f = Fields(e.row);
    ASSERT_EQ(f.size(), 19u) << e.row;
    EXPECT_EQ(f[2], e.series);
    EXPECT_EQ(f[4], "");  // a model has no count
    EXPECT_NEAR(std::stod(f[5]), e.mean, 1e-9 * e.mean);
    EXPECT_NEAR(std::pow(std::stod(f[6]), 2), e.variance, 1e-5 * e.variance);
    EXPECT_NEAR(std::stod(f[9]), e.covariance / e.variance, 1e-5);
  }
  const ReportStation noMean{
      "X", &kSeries, hours, {}, {{{"2", MonthBit(2)}, ModelParameters{0.4, 0.5, 0.1, 0.9, 0.6, 24, 24}}}};
  std::ostringstream blank;
  WriteStationReport(blank, noMean);
  EXPECT_NE(blank.str().find("X,2,model_hourly,all," + std::string(14, ',') + "\n"), std::string::npos);
}

}  // namespace
}  // namespace nimbra
