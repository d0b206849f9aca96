#include "disaggregate_page.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <algorithm>
#include <thread>

#include "disaggregation_command_line.h"
#include "spin_box.h"
#include "told_lines.h"

namespace nimbra {

namespace {

// The inputs of the run as the comparison needs them, and its figures, on the worker.
void KeepForComparison(FinishedRun& run) {
  const DisaggregationRequest& r = run.Request;
  for (NamedSeries& station : ReadDailyCsv(r.Input, r.Daily)) {
    const auto ran = std::find_if(run.Outcome.Stations.begin(), run.Outcome.Stations.end(),
                                  [&](const StationSummary& s) { return s.Station == station.Station; });
    if (ran != run.Outcome.Stations.end()) run.Daily.push_back(std::move(station));
  }
  std::vector<StationHours> observed;
  if (!r.ObservedHourly.empty())
    observed = ReadHourlyCsv(r.ObservedHourly,
                             {r.Format.DayStart, r.Format.LabelsAtHourEnd, r.Daily.MissingSentinels});
  run.Table = ParameterTable::Read(r.Parameters);
  for (std::size_t i = 0; i < run.Daily.size(); ++i) {
    const NamedSeries& station = run.Daily[i];
    run.Observed.push_back(ObservedHoursFor(station, observed));
    run.Figures.push_back(CompareSeasons(station.Series, run.Observed.back(), run.Outcome.Hours[i],
                                         run.Table.RowsFor(station.Station)));
  }
}

}  // namespace

DisaggregatePage::DisaggregatePage(Prompts& prompts, QWidget* parent) : QWidget(parent) {
  AllStations = new QRadioButton(tr("All stations"));
  ChosenStations = new QRadioButton(tr("The stations chosen on the Records page"));
  AllStations->setChecked(true);
  Output = new FileField(prompts, FileField::Purpose::Save, tr("Hourly CSV file to write"),
                         QStringLiteral("disaggregate/output"));
  ReportBox = new QCheckBox(tr("Write the statistics report"));
  Report = new FileField(prompts, FileField::Purpose::Save, tr("Statistics report to write"),
                         QStringLiteral("disaggregate/report"));
  Observed = new FileField(prompts, FileField::Purpose::Open, tr("Observed hourly CSV file (optional)"),
                           QStringLiteral("disaggregate/observed"));
  SeedBox = MakeSpinBox(-2147483647, 2147483647, 0);
  ThreadsBox = MakeSpinBox(1, 1024, static_cast<int>(std::max(1u, std::thread::hardware_concurrency())));
  DecimalsBox = MakeSpinBox(0, 6, HourlyCsvFormat{}.Decimals);
  LabelBox = new QComboBox;
  LabelBox->addItems({tr("start"), tr("end")});
  Bar = new TaskBar(tr("&Disaggregate"));
  Bar->Messages->setMaximumHeight(QWIDGETSIZE_MAX);  // each station's counts are the run's result here
  auto* stations = new QHBoxLayout;
  stations->addWidget(AllStations);
  stations->addWidget(ChosenStations);
  auto* form = new QFormLayout;
  form->addRow(tr("Stations:"), stations);
  form->addRow(tr("Hourly CSV file:"), Output);
  form->addRow(ReportBox, Report);
  form->addRow(tr("Observed hours:"), Observed);
  form->addRow(tr("Seed:"), SeedBox);
  form->addRow(tr("Threads:"), ThreadsBox);
  form->addRow(tr("Decimals:"), DecimalsBox);
  form->addRow(tr("Hours labelled by their:"), LabelBox);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(Bar, 1);
}

DisaggregationRequest DisaggregatePage::Request(const DisaggregationInputs& inputs) const {
  DisaggregationRequest request;
  request.Input = inputs.DailyPath.toStdString();
  request.Parameters = inputs.ParametersPath.toStdString();
  request.Output = Output->PathText();
  if (ReportBox->isChecked()) request.Report = Report->PathText();
  request.ObservedHourly = Observed->PathText();
  request.Daily = inputs.Daily;
  request.Format.DayStart = inputs.DayStart;
  request.Format.Decimals = DecimalsBox->value();
  request.Format.LabelsAtHourEnd = LabelBox->currentIndex() == 1;
  request.Run.RandomSeed = SeedBox->value();
  request.Threads = ThreadsBox->value();
  if (ChosenStations->isChecked()) request.Stations = inputs.Stations;
  request.KeepHours = true;
  request.CommandLine = DisaggregationCommandLine(request);
  return request;
}

void DisaggregatePage::Run(const DisaggregationInputs& inputs) {
  auto run = std::make_shared<FinishedRun>();
  run->Request = Request(inputs);
  Bar->Start(
      [run](const JobControl& control) {
        std::ostream engineLog(nullptr);  // the engine's log lines per sequence are for the command line
        ToldLines messages(control);
        run->Outcome = RunDisaggregationJob(run->Request, control, {engineLog, messages});
        KeepForComparison(*run);
      },
      [this, run] { emit Disaggregated(run); });
}

}  // namespace nimbra
