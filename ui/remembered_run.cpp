#include "remembered_run.h"

#include <QSettings>
#include <array>
#include <exception>
#include <utility>

namespace nimbra {

namespace {

constexpr int kRecentFileCount = 8;
const QString kRecentFilesKey = QStringLiteral("Files/Recent");

using ParameterField = std::pair<const char*, double ModelParameters::*>;
constexpr std::array<ParameterField, 7> kParameterFields = {{{"Lambda", &ModelParameters::Lambda},
                                                             {"Kappa", &ModelParameters::Kappa},
                                                             {"Phi", &ModelParameters::Phi},
                                                             {"Alpha", &ModelParameters::Alpha},
                                                             {"Nu", &ModelParameters::Nu},
                                                             {"MuX", &ModelParameters::MuX},
                                                             {"SigmaX", &ModelParameters::SigmaX}}};

using OptionField = std::pair<const char*, int RunOptions::*>;
constexpr std::array<OptionField, 7> kOptionFields = {{{"RandomSeed", &RunOptions::RandomSeed},
                                                       {"RepLevel1Factor", &RunOptions::RepLevel1Factor},
                                                       {"RepLevel1Min", &RunOptions::RepLevel1Min},
                                                       {"RepAllowed", &RunOptions::RepAllowed},
                                                       {"DaysPerMonth", &RunOptions::DaysPerMonth},
                                                       {"DetailLevel", &RunOptions::DetailLevel},
                                                       {"ConstLength", &RunOptions::ConstLength}}};

QString Key(const char* name) { return QStringLiteral("Run/") + QLatin1String(name); }

}  // namespace

void RememberRun(const RememberedRun& run) {
  QSettings settings;
  for (const auto& [name, field] : kParameterFields) settings.setValue(Key(name), run.Parameters.*field);
  for (const auto& [name, field] : kOptionFields) settings.setValue(Key(name), run.Options.*field);
  settings.setValue(Key("RepDistanceAllowed"), run.Options.RepDistanceAllowed);
  settings.setValue(Key("PerformAdjustment"), run.Options.PerformAdjustment);
  settings.setValue(Key("Count"), run.Count);
}

std::optional<RememberedRun> RecallRun(const RunOptions& options) {
  QSettings settings;
  if (!settings.contains(Key("Count"))) return std::nullopt;
  RememberedRun run{{}, options, settings.value(Key("Count")).toInt()};
  for (const auto& [name, field] : kParameterFields)
    run.Parameters.*field = settings.value(Key(name)).toDouble();
  for (const auto& [name, field] : kOptionFields)
    run.Options.*field = settings.value(Key(name), options.*field).toInt();
  run.Options.RepDistanceAllowed =
      settings.value(Key("RepDistanceAllowed"), options.RepDistanceAllowed).toDouble();
  run.Options.PerformAdjustment =
      settings.value(Key("PerformAdjustment"), options.PerformAdjustment).toBool();
  try {
    run.Parameters.Validate();
  } catch (const std::exception&) {
    return std::nullopt;  // edited by hand, or from another version of the program
  }
  return run;
}

QStringList RecentFiles() { return QSettings().value(kRecentFilesKey).toStringList(); }

void AddRecentFile(const QString& path) {
  QStringList files = RecentFiles();
  files.removeAll(path);
  files.prepend(path);
  QSettings().setValue(kRecentFilesKey, files.mid(0, kRecentFileCount));
}

}  // namespace nimbra
