#include "run_sidecar.h"

#include <cmath>
#include <cstdio>

#include "date_time_text.h"
#include "format.h"

namespace nimbra {

namespace {

void WriteCommandLine(std::ostream& out, const std::vector<std::string>& arguments) {
  out << "  \"command_line\": [";
  for (std::size_t i = 0; i < arguments.size(); ++i) out << (i ? ", " : "") << JsonString(arguments[i]);
  out << "],\n";
}

void WriteInputOptions(std::ostream& out, const DailyCsvOptions& daily) {
  out << "  \"input_options\": {\"layout\": \"" << (daily.Wide ? "wide" : "long")
      << "\", \"station_column\": " << JsonString(daily.StationColumn)
      << ", \"date_column\": " << JsonString(daily.DateColumn)
      << ", \"value_column\": " << JsonString(daily.ValueColumn) << ", \"missing\": [";
  for (std::size_t i = 0; i < daily.MissingSentinels.size(); ++i) {
    out << (i ? ", " : "") << FormatSignificant(daily.MissingSentinels[i], 17);
  }
  out << "]},\n";
}

void WriteOptions(std::ostream& out, const RunSidecar& run) {
  const RunOptions& o = run.Options;
  out << "  \"options\": {\"day_start\": " << run.Format.DayStart << ", \"label\": \""
      << (run.Format.LabelsAtHourEnd ? "end" : "start") << "\", \"decimals\": " << run.Format.Decimals
      << ", \"adjust\": " << (o.PerformAdjustment ? "true" : "false")
      << ", \"rep_factor\": " << o.RepLevel1Factor << ", \"rep_min\": " << o.RepLevel1Min
      << ", \"rep_allowed\": " << o.RepAllowed
      << ", \"distance\": " << FormatSignificant(o.RepDistanceAllowed, 17) << ", \"level\": " << o.DetailLevel
      << "},\n";
}

void WriteParameters(std::ostream& out, const std::vector<SeasonParameters>& rows) {
  out << "  \"parameter_units\": {\"lambda\": \"1/d\", \"kappa\": \"1\", \"phi\": \"1\", \"alpha\": \"1\", "
         "\"nu\": \"d\", \"mu_x\": \"mm/d\", \"sigma_x\": \"mm/d\"},\n";
  out << "  \"parameters\": [";
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const SeasonParameters& r = rows[i];
    const ModelParameters& p = r.Parameters;
    out << (i ? "," : "") << "\n    {\"station\": " << JsonString(r.Station)
        << ", \"season\": " << JsonString(r.Season.Name) << ", \"months\": ["
        << MonthListText(r.Season.Months) << "], \"lambda\": " << FormatSignificant(p.Lambda, 17)
        << ", \"kappa\": " << FormatSignificant(p.Kappa, 17) << ", \"phi\": " << FormatSignificant(p.Phi, 17)
        << ", \"alpha\": " << FormatSignificant(p.Alpha, 17) << ", \"nu\": " << FormatSignificant(p.Nu, 17)
        << ", \"mu_x\": " << FormatSignificant(p.MuX, 17)
        << ", \"sigma_x\": " << FormatSignificant(p.SigmaX, 17) << "}";
  }
  out << "\n  ],\n";
}

void WriteSequences(std::ostream& out, const std::vector<FailedSequence>& sequences) {
  out << "[";
  for (std::size_t i = 0; i < sequences.size(); ++i) {
    const FailedSequence& f = sequences[i];
    out << (i ? ", " : "") << "{\"first_date\": \"" << FormatDate(f.FirstDay) << "\", \"days\": " << f.Days
        << ", \"message\": " << JsonString(f.Message) << "}";
  }
  out << "]";
}

void WriteStation(std::ostream& out, const StationSummary& s) {
  out << "\n    {\"station\": " << JsonString(s.Station) << ", \"seed\": " << s.Seed << ", \"first_date\": \""
      << FormatDate(s.FirstDay) << "\", \"days\": " << s.Days << ", \"wet_days\": " << s.WetDays
      << ", \"missing_days\": " << s.MissingDays << ", \"sequences\": " << s.Sequences
      << ", \"failed_sequences\": ";
  WriteSequences(out, s.Failed);
  out << ", \"warnings\": ";
  WriteSequences(out, s.Warnings);
  out << "}";
}

}  // namespace

StationSummary SummariseSeries(const std::string& station, const StationSeries& series) {
  StationSummary summary;
  summary.Station = station;
  summary.FirstDay = series.FirstDay;
  summary.Days = static_cast<std::int64_t>(series.Daily.size());
  for (double depth : series.Daily) {
    if (std::isnan(depth)) ++summary.MissingDays;
    if (depth >= kWetDayDepth) ++summary.WetDays;
  }
  return summary;
}

std::string JsonString(const std::string& text) {
  std::string quoted = "\"";
  for (const char c : text) {
    if (c == '"' || c == '\\') {
      quoted += '\\';
      quoted += c;
    } else if (static_cast<unsigned char>(c) < 0x20) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04x", c);
      quoted += escape;
    } else {
      quoted += c;
    }
  }
  return quoted + "\"";
}

void WriteSidecar(std::ostream& out, const RunSidecar& run) {
  out << "{\n  \"program\": \"nimbra-cli\",\n  \"version\": \"" << NIMBRA_VERSION << "\",\n";
  WriteCommandLine(out, run.CommandLine);
  out << "  \"input\": " << JsonString(run.InputPath)
      << ",\n  \"parameters_file\": " << JsonString(run.ParametersPath)
      << ",\n  \"input_sha256\": " << JsonString(run.InputSha256)
      << ",\n  \"parameters_sha256\": " << JsonString(run.ParametersSha256) << ",\n  \"seed\": " << run.Seed
      << ",\n";
  WriteInputOptions(out, run.Daily);
  WriteOptions(out, run);
  WriteParameters(out, run.Parameters);
  out << "  \"shard\": {\"index\": " << run.ShardIndex << ", \"count\": " << run.ShardCount
      << "},\n  \"rows\": " << run.Rows << ",\n  \"output_sha256\": " << JsonString(run.OutputSha256)
      << ",\n";
  out << "  \"stations\": [";
  for (std::size_t i = 0; i < run.Stations.size(); ++i) {
    out << (i ? "," : "");
    WriteStation(out, run.Stations[i]);
  }
  out << "\n  ]\n}\n";
}

}  // namespace nimbra
