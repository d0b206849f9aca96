// The main window reads a CSV daily file as `nimbra-cli disaggregate` does: with its
// dates, its missing days, and the parameter sets of a file the user chooses.
#include <QAction>
#include <QTemporaryDir>
#include <QtTest>
#include <fstream>
#include <map>

#include "child_widget.h"
#include "civil_date.h"
#include "help_window.h"
#include "hourly_layout.h"
#include "input_file_choice.h"
#include "integer_field.h"
#include "log_window.h"
#include "main_window.h"
#include "scripted_prompts.h"
#include "started_engine.h"
#include "station_batch.h"
#include "station_run.h"
#include "station_seed.h"
#include "whole_file.h"

using namespace nimbra;

class CsvInputTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();
  void datedRecordRunsAsTheOneStationCall();
  void setsWithTheirOwnRepetitionsRunAsTheStationRunner();
  void badParameterSetsOpenNothing_data();
  void badParameterSetsOpenNothing();

 private:
  std::string Write(const char* name, const std::string& text) const;
  std::string Path(const char* name) const { return dir_->filePath(QLatin1String(name)).toStdString(); }
  // Opens the daily file with the parameter sets, runs to its end, and returns the output.
  std::string RunToEnd(const std::string& daily, const std::string& parameters);
  std::vector<std::string> LogLinesStartingWith(const std::vector<std::string>& starts) const;
  RunView S() { return window_->engine().View(); }

  std::unique_ptr<QTemporaryDir> dir_;  // one per test: no file outlives its test
  std::unique_ptr<ScriptedPrompts> prompts_;
  std::unique_ptr<LogWindow> log_;
  std::unique_ptr<HelpWindow> help_;
  std::unique_ptr<MainWindow> window_;
};

namespace {

// December to February: a wet run across the new year that a missing day ends, one
// across the end of January, and one day in February.
const std::int64_t kFirstDay = DaysFromCivil({2010, 12, 28});
const std::int64_t kLastDay = DaysFromCivil({2011, 2, 5});
const std::map<std::int64_t, double> kWetDays = {
    {DaysFromCivil({2010, 12, 30}), 4.5}, {DaysFromCivil({2010, 12, 31}), 12.25},
    {DaysFromCivil({2011, 1, 1}), 3.0},   {DaysFromCivil({2011, 1, 2}), 7.5},
    {DaysFromCivil({2011, 1, 4}), 0.4},   {DaysFromCivil({2011, 1, 31}), 5.0},
    {DaysFromCivil({2011, 2, 1}), 2.5},   {DaysFromCivil({2011, 2, 3}), 1.0}};
const std::int64_t kMissingDay = DaysFromCivil({2011, 1, 3});

const std::string kSetValues = ",1.05819,0.0586,2.69569,0.00628,24.33408,24.33408\n";
const std::string kParameters = "season,lambda,kappa,phi,alpha,nu,mu_x,sigma_x\n12,0.9396" + kSetValues +
                                "1,0.7" + kSetValues + "2,1.2" + kSetValues;

std::string DateText(std::int64_t day) {
  const CivilDate date = CivilFromDays(day);
  char text[16];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", date.Year, date.Month, date.Day);
  return text;
}

// Station Beta comes first by name; Zeta is left alone.
std::string DailyCsv() {
  std::string text = "station,date,precip_mm\nZeta,2011-01-01,9\n";
  for (std::int64_t day = kFirstDay; day <= kLastDay; ++day) {
    const auto wet = kWetDays.find(day);
    const std::string depth = day == kMissingDay      ? "NA"
                              : wet == kWetDays.end() ? "0"
                                                      : std::to_string(wet->second);
    text += "Beta," + DateText(day) + "," + depth + "\n";
  }
  return text;
}

StationSeries Series() {
  StationSeries series;
  series.FirstDay = kFirstDay;
  for (std::int64_t day = kFirstDay; day <= kLastDay; ++day) {
    const auto wet = kWetDays.find(day);
    series.Daily.push_back(day == kMissingDay ? NAN : wet == kWetDays.end() ? 0.0 : wet->second);
  }
  return series;
}

ParametersByMonth Sets() {
  ParametersByMonth sets;
  sets.fill({0.9396, 1.05819, 0.0586, 2.69569, 0.00628, 24.33408, 24.33408});
  sets[0].Lambda = 0.7;
  sets[1].Lambda = 1.2;
  return sets;
}

// The hours of each wet day, in the classic hourly layout.
std::string WetDayText(const std::vector<double>& hourly) {
  std::string text;
  for (const auto& [day, depth] : kWetDays) {
    const auto first = hourly.begin() + 24 * (day - kFirstDay);
    const CivilDate date = CivilFromDays(day);
    AppendHourlyLayoutDay(text, {date.Day, date.Month, date.Year, depth, {first, first + 24}},
                          FieldJoin::Touching);
  }
  return text;
}

std::string ExpectedHours() { return WetDayText(DisaggregateStation(Series(), Sets(), RunOptions{}).Hourly); }

// December and January ask for other repetitions than February: the station runner runs
// the two parts apart, each on its own months with its own seed.
const int kSeed = 4711;
const std::string kParametersWithRepetitions =
    "season,lambda,kappa,phi,alpha,nu,mu_x,sigma_x,rep_factor,rep_min\n"
    "12,0.9396,1.05819,0.0586,2.69569,0.00628,24.33408,24.33408,10,20\n"
    "1,0.7,1.05819,0.0586,2.69569,0.00628,24.33408,24.33408,10,20\n"
    "2,1.2,1.05819,0.0586,2.69569,0.00628,24.33408,24.33408,40,100\n";

std::string ExpectedPartedHours() {
  RunOptions first;
  first.RandomSeed = kSeed;
  first.RepLevel1Factor = 10;
  first.RepLevel1Min = 20;
  RunOptions second = first;
  second.RandomSeed = PartSeed(kSeed, 1);
  second.RepLevel1Factor = 40;
  second.RepLevel1Min = 100;
  const StationJob job{
      {"Beta", Series()}, Sets(), first, {{MonthBit(12) | MonthBit(1), first}, {MonthBit(2), second}}};
  return WetDayText(RunStationJob(job).Result.Hourly);
}

}  // namespace

void CsvInputTest::init() {
  dir_ = std::make_unique<QTemporaryDir>();
  prompts_ = std::make_unique<ScriptedPrompts>();
  log_ = std::make_unique<LogWindow>(*prompts_);
  help_ = std::make_unique<HelpWindow>();
  window_ = std::make_unique<MainWindow>(*log_, *prompts_, *help_);
}

void CsvInputTest::cleanup() {
  window_.reset();
  help_.reset();
  log_.reset();
  dir_.reset();
}

std::string CsvInputTest::Write(const char* name, const std::string& text) const {
  std::ofstream(Path(name), std::ios::binary) << text;
  return Path(name);
}

std::string CsvInputTest::RunToEnd(const std::string& daily, const std::string& parameters) {
  prompts_->QueueOpen(daily);
  prompts_->QueueOpen(Write("params.csv", parameters));
  Child<QAction>(window_, "input")->trigger();
  if (!S().ReadFromFile) return "(not opened)";
  prompts_->QueueSave(Path("hourly.txt"));
  Child<QAction>(window_, "output")->trigger();
  Child<IntegerField>(window_, "count")->SetValue(10);
  window_->StepMany();
  if (!QTest::qWaitFor([this] { return !window_->RunGoing(); }, 60000)) return "(still running)";
  Child<QAction>(window_, "output")->trigger();
  return ReadWhole(Path("hourly.txt"));
}

std::vector<std::string> CsvInputTest::LogLinesStartingWith(const std::vector<std::string>& starts) const {
  std::vector<std::string> found;
  for (const std::string& line : log_->Lines()) {
    for (const std::string& start : starts) {
      if (line.starts_with(start)) found.push_back(line);
    }
  }
  return found;
}

void CsvInputTest::datedRecordRunsAsTheOneStationCall() {
  const std::string daily = Write("daily.csv", DailyCsv());
  QCOMPARE(RunToEnd(daily, kParameters), ExpectedHours());
  QCOMPARE(prompts_->Filters()[1], std::string(kParameterFileFilters));
  QCOMPARE(S().SequenceNumber, 5);         // four sequences, then the end of the input
  QVERIFY(prompts_->Calls().size() == 3);  // the three file dialogs, no message
  // The set of the first sequence is in use from the opening on.
  const std::vector<std::string> expected = {
      "Parameter set: season 12 (params.csv, line 2)", StationTakenLine({"Beta", 2, {}, {}}, daily),
      "Parameter set: season 1 (params.csv, line 3)", "Parameter set: season 2 (params.csv, line 4)"};
  QCOMPARE(LogLinesStartingWith({"Station ", "Parameter set: ", "Repetition settings: "}), expected);
  QCOMPARE(S().Parameters.Lambda, 1.2);
}

// The run across January's end is cut where the parts meet, as the station runner cuts it.
void CsvInputTest::setsWithTheirOwnRepetitionsRunAsTheStationRunner() {
  EditOptions(window_->engine(), [](RunOptions& o) { o.RandomSeed = kSeed; });
  QCOMPARE(RunToEnd(Write("daily.csv", DailyCsv()), kParametersWithRepetitions), ExpectedPartedHours());
  QCOMPARE(S().SequenceNumber, 6);  // five sequences, then the end of the input
  const std::vector<std::string> expected = {"Repetition settings: factor 10, minimum 20",
                                             "Repetition settings: factor 40, minimum 100"};
  QCOMPARE(LogLinesStartingWith({"Repetition settings: "}), expected);
}

void CsvInputTest::badParameterSetsOpenNothing_data() {
  QTest::addColumn<QString>("parameters");
  QTest::addColumn<QString>("named");
  QTest::newRow("a month without a set")
      << QString::fromStdString("season,lambda,kappa,phi,alpha,nu,mu_x,sigma_x\n12,0.9396" + kSetValues +
                                "1,0.7" + kSetValues)
      << QStringLiteral("2");
  QTest::newRow("a bad field") << QString::fromStdString(
                                      "season,lambda,kappa,phi,alpha,nu,mu_x,sigma_x\nall,x" + kSetValues)
                               << QStringLiteral("line 2");
}

void CsvInputTest::badParameterSetsOpenNothing() {
  QFETCH(QString, parameters);
  QFETCH(QString, named);
  prompts_->QueueOpen(Write("daily.csv", DailyCsv()));
  prompts_->QueueOpen(Write("params.csv", parameters.toStdString()));
  Child<QAction>(window_, "input")->trigger();
  QVERIFY(!S().ReadFromFile);
  QVERIFY(!Child<QAction>(window_, "input")->isChecked());
  const std::string error = prompts_->Calls().back();
  QVERIFY2(error.find(Path("params.csv")) != std::string::npos, error.c_str());
  QVERIFY2(error.find(named.toStdString()) != std::string::npos, error.c_str());
  prompts_->QueueOpen(Path("daily.csv"));
  prompts_->QueueOpenCancel();  // no parameter sets: nothing opens
  Child<QAction>(window_, "input")->trigger();
  QVERIFY(!S().ReadFromFile);
}

QTEST_MAIN(CsvInputTest)
#include "csv_input_test.moc"
