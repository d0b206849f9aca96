#include "parameter_table.h"

#include <gtest/gtest.h>

#include <cmath>

#include "date_time_text.h"
#include "series_files.h"

namespace nimbra {
namespace {

using ParametersCsv = SeriesFiles;

const std::string kHeader = "station,season,months,lambda,kappa,phi,alpha,nu,mu_x,sigma_x\n";
const std::string kCalibratedHeader =
    "season,lambda,kappa,phi,alpha,nu,mu_x,sigma_x,calibrated,rep_factor,rep_min\n";

TEST_F(ParametersCsv, StationRowsWinOverSharedRowsMonthByMonth) {
  const auto path = Write("params.csv", kHeader +
                                            ",all,,1,0.1,0.02,3,0.03,100,100\n"
                                            "B,DJF,12 1 2,2,0.1,0.02,3,0.03,100,100\n"
                                            "B,7,,3,0.1,0.02,3,0.03,100,90\n");
  const ParameterTable table = ParameterTable::Read(path);
  const ParametersByMonth a = table.For("A", kAllMonths);
  for (const ModelParameters& p : a) EXPECT_EQ(p.Lambda, 1);
  const ParametersByMonth b = table.For("B", kAllMonths);
  const std::array<double, 12> lambdas = {2, 2, 1, 1, 1, 1, 3, 1, 1, 1, 1, 2};
  for (int m = 0; m < 12; ++m) EXPECT_EQ(b[m].Lambda, lambdas[m]) << "month " << m + 1;
  EXPECT_EQ(b[6], (ModelParameters{3, 0.1, 0.02, 3, 0.03, 100, 90}));

  const auto rows = table.RowsFor("B");
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0].Season, (Season{"DJF", MonthBit(12) | MonthBit(1) | MonthBit(2)}));
  EXPECT_EQ(rows[2].Season.Name, "all");
  EXPECT_EQ(MonthListText(rows[2].Season.Months), "3, 4, 5, 6, 8, 9, 10, 11");
}

TEST_F(ParametersCsv, UncoveredMonthsOfTheDataStopTheRun) {
  const auto path =
      Write("params.csv", "season;lambda;kappa;phi;alpha;nu;mu_x;sigma_x\n7;1;0.1;0.02;3;0.03;100;100\n");
  const ParameterTable table = ParameterTable::Read(path);
  StationSeries june_to_august{*ParseDate("2010-06-30"), std::vector<double>(33, 0.0), {}};
  EXPECT_EQ(MonthsWithValues(june_to_august), MonthBit(6) | MonthBit(7) | MonthBit(8));
  EXPECT_EQ(MessageOf([&] { table.For("X", MonthsWithValues(june_to_august)); }),
            "{dir}/params.csv: station 'X' has days in months 6, 8, which no parameter set covers");
  june_to_august.Daily.front() = june_to_august.Daily.back() = std::nan("");
  EXPECT_NO_THROW(table.For("X", MonthsWithValues(june_to_august)));
}

TEST_F(ParametersCsv, BadFilesAreNamedByLineAndColumn) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"season,lambda,kappa,phi,alpha,nu,mu_x\n",
       "{dir}/p.csv, line 1: expected a column 'sigma_x' in the header, found "
       "'season,lambda,kappa,phi,alpha,nu,mu_x'"},
      {"season,lambda,kappa,phi,alpha,nu,mu_x,sigma_x\n",
       "{dir}/p.csv: expected at least one parameter set, found none"},
      {"season,lambda,kappa,phi,alpha,nu,mu_x,sigma_x\n13,1,1,1,1,1,1,1\n",
       "{dir}/p.csv, line 2: expected a column 'months' with the months of season '13'"},
      {kHeader + ",DJF,12 1 13,1,1,1,1,1,1,1\n",
       "{dir}/p.csv, line 2, column 3 (months): expected month numbers 1 to 12 separated by blanks, found "
       "'12 1 13'"},
      {kHeader + ",,,1,1,1,1,1,1,1\n",
       "{dir}/p.csv, line 2, column 2 (season): expected a month 1 to 12, 'all' or a season name, found ''"},
      {kHeader + ",all,,1,1,1,1,0,1,1\n",
       "{dir}/p.csv, line 2, column 8 (nu): expected a positive number, found '0'"},
      {kHeader + ",all,,1,1,1,1,1,1,1e999\n",
       "{dir}/p.csv, line 2, column 10 (sigma_x): expected a positive number, found '1e999'"},
      {kHeader + "A,JJA,6 7 8,1,1,1,1,1,1,1\nB,7,,1,1,1,1,1,1,1\nA,SON,9 10 11 8,1,1,1,1,1,1,1\n",
       "{dir}/p.csv, lines 2 and 4: station 'A' has two parameter sets for months 8"},
      {kHeader + ",all,,1,1,1,1,1,1,1\n,2,,1,1,1,1,1,1,1\n",
       "{dir}/p.csv, lines 2 and 3: every station has two parameter sets for months 2"},
      {kCalibratedHeader + "7,1,1,1,1,1,1,1,maybe,,\n",
       "{dir}/p.csv, line 2, column 9 (calibrated): expected yes, no or nothing, found 'maybe'"},
      {kCalibratedHeader + "7,1,1,1,1,1,1,1,yes,0,5\n",
       "{dir}/p.csv, line 2, column 10 (rep_factor): expected a whole number from 1 to 200, found '0'"},
      {kCalibratedHeader + "7,1,1,1,1,1,1,1,yes,20,1001\n",
       "{dir}/p.csv, line 2, column 11 (rep_min): expected a whole number from 1 to 1000, found '1001'"},
      {kCalibratedHeader + "7,1,1,1,1,1,1,1,yes,2.5,10\n",
       "{dir}/p.csv, line 2, column 10 (rep_factor): expected a whole number from 1 to 200, found '2.5'"},
  };
  for (const auto& [text, message] : cases) {
    const auto path = Write("p.csv", text);
    EXPECT_EQ(MessageOf([&] { ParameterTable::Read(path); }), message) << text;
  }
}

// Sets the storm generator cannot draw with are refused before any station runs, at the
// column of the parameter the classic mode's check names.
TEST_F(ParametersCsv, UndrawableSetsAreRefusedAtTheirColumn) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {kHeader + ",all,,60,0.1,0.02,3,0.03,100,100\n", "column 4 (lambda): The model parameter Lambda"},
      {kHeader + ",all,,0.5,10,0.001,3,0.03,100,100\n",
       "column 5 (kappa): The model parameters Kappa and Phi"},
      {kHeader + ",all,,0.5,0.1,0.02,0.01,0.03,100,100\n", "column 7 (alpha): The model parameter Alpha"},
      {kHeader + ",all,,0.5,0.1,0.02,3,1e-9,100,100\n", "column 8 (nu): The model parameter Nu"},
      {kHeader + ",all,,0.5,0.1,0.02,3,0.03,100,1e-5\n", "column 10 (sigma_x): The model parameter SigmaX"},
  };
  for (const auto& [text, start] : cases) {
    const auto path = Write("p.csv", text);
    const std::string message = MessageOf([&] { ParameterTable::Read(path); });
    EXPECT_TRUE(message.starts_with("{dir}/p.csv, line 2, " + start)) << message;
  }
}

TEST_F(ParametersCsv, StationsTheDataLacksAndSlowSetsAreNamedByLine) {
  const auto path = Write("p.csv", kHeader +
                                       ",all,,0.5,0.1,0.02,3,0.03,100,100\n"
                                       "B,7,,2,0.1,0.02,3,0.03,100,100\n"
                                       "Z,7,,0.5,0.1,0.02,3,0.03,100,100\n");
  const ParameterTable table = ParameterTable::Read(path);
  EXPECT_EQ(MessageOf([&] {
              table.RefuseUnknownStations({"A", "B"}, "daily.csv");
            }),
            "{dir}/p.csv, line 4: station 'Z' is not in daily.csv");
  EXPECT_NO_THROW(table.RefuseUnknownStations({"A", "B", "Z"}, "daily.csv"));
  const std::vector<std::string> warnings = table.Warnings();
  ASSERT_EQ(warnings.size(), 1u);
  EXPECT_TRUE(warnings[0].starts_with((dir / "p.csv").string() +
                                      ", line 3: Lambda 2 puts 60 storms in a 30-day sequence on average"))
      << warnings[0];
}

TEST_F(ParametersCsv, AStationWithoutValuesNeedsNoSetOfItsOwn) {
  const auto path = Write("p.csv", kHeader + "A,7,,0.5,0.1,0.02,3,0.03,100,100\n");
  const ParameterTable table = ParameterTable::Read(path);
  const ParametersByMonth sets = table.For("B", 0);
  for (const ModelParameters& set : sets) EXPECT_NO_THROW(set.Validate());
  EXPECT_EQ(MessageOf([&] { table.For("B", MonthBit(7)); }),
            "{dir}/p.csv: station 'B' has days in months 7, which no parameter set covers");
}

}  // namespace
}  // namespace nimbra
