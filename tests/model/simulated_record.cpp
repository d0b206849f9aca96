#include "simulated_record.h"

#include <cmath>
#include <memory>

#include "engine_core.h"
#include "memory_log.h"

namespace nimbra {

namespace {

class SilentInterface : public UserInterface {
 public:
  void ShowMessage(const std::string&) override {}
  void ParametersChanged() override {}
  void DisableNextCommands() override {}
};

// Adds a storm's hourly depths to the record, the storm shifted to start in bin 1.
void AddStorm(const Storm& storm, StormSet& set, HourlySeries& hourly, HourlyRecord& record) {
  const double startHour = std::floor(storm[1].origin * 24);
  set.Count = 1;
  set[1] = storm;
  for (int c = 1; c <= storm.Count; ++c) set[1][c].origin -= startHour / 24;
  EngineCore::ComputeHourlyDepths(set, hourly, HourlySeries::kCapacity);
  for (int k = 1; k <= HourlySeries::kCapacity; ++k) {
    const auto index = static_cast<std::int64_t>(startHour) + k - 1;
    if (index >= 0 && index < static_cast<std::int64_t>(record.Hours.size()))
      record.Hours[static_cast<std::size_t>(index)] += hourly[k];
  }
}

}  // namespace

HourlyRecord SimulateRecord(const ModelParameters& parameters, std::int64_t firstDay, std::int64_t days,
                            int seed) {
  MemoryLog log;
  SilentInterface ui;
  EngineCore core(log, ui);
  core.SetDefaults();
  core.SetParameters(parameters);
  RunOptions options;
  options.RandomSeed = seed;
  core.SetOptions(options);
  core.InitialiseRun();
  HourlyRecord record{firstDay, std::vector<double>(static_cast<std::size_t>(days * 24), 0.0)};
  auto storm = std::make_unique<Storm>();
  auto set = std::make_unique<StormSet>();
  auto hourly = std::make_unique<HourlySeries>();
  for (double t = core.NextStormOrigin(-30); t < static_cast<double>(days); t = core.NextStormOrigin(t)) {
    core.GenerateStorm(*storm, parameters.GammaIntensity(), t);
    AddStorm(*storm, *set, *hourly, record);
  }
  return record;
}

}  // namespace nimbra
