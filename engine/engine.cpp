#include "engine.h"

#include <exception>

#include "dated_input.h"
#include "engine_core.h"

namespace nimbra {

Engine::Engine(OutputLog& log, UserInterface& ui) : core_(std::make_unique<EngineCore>(log, ui)) {
  core_->SetDefaults();
  core_->InitialiseRun();
  core_->State().OriginalHourlyAvailable = true;
}

Engine::~Engine() = default;

void Engine::SetParameters(const ModelParameters& parameters) {
  core_->SetParameters(parameters);
  core_->InitialiseRun();
}

void Engine::SetOptions(const RunOptions& options) { core_->SetOptions(options); }

void Engine::RestartRun() { core_->InitialiseRun(); }

void Engine::Initialise() {
  EngineState& s = core_->State();
  core_->InitialiseRun();
  if (s.Dated != nullptr) {
    core_->RewindDatedInput();
  } else if (s.ReadFromFile) {
    core_->ReadInputHeader();
  }
  core_->ResetStatistics();
  s.SequenceNumber = 0;
  s.Storms.Count = 0;
  s.OriginalStorms.Count = 0;
  s.AllValuesCount = 0;
}

namespace {

// A file run starts from its first record, and never with the constant-length mode of
// a test-mode run.
void StartFileRun(EngineCore& core, std::istream* file, const DatedInput* dated, const std::string& name) {
  EngineState& s = core.State();
  s.InputFile = file;
  s.Dated = dated;
  s.InputFileName = name;
  s.ReadFromFile = true;
  RunOptions options = s.Options;
  options.UseConstLength = false;
  core.SetOptions(options);
  core.InitialiseRun();
}

}  // namespace

void Engine::OpenInput(std::istream& input, const std::string& name) {
  StartFileRun(*core_, &input, nullptr, name);
  core_->ReadInputHeader();
}

void Engine::OpenDatedInput(const DatedInput& input, const std::string& name) {
  StartFileRun(*core_, nullptr, &input, name);
  core_->RewindDatedInput();
}

void Engine::CloseInput() {
  EngineState& s = core_->State();
  s.InputFile = nullptr;
  s.Dated = nullptr;
  s.ReadFromFile = false;
  s.OriginalHourlyAvailable = true;
}

void Engine::SetOutput(std::ostream* output, const std::string& name) {
  EngineState& s = core_->State();
  s.OutputFile = output;
  s.OutputFileName = name;
  s.WriteToFile = output != nullptr;
}

StepResult Engine::Step() {
  try {
    if (!core_->NextSequence()) return {StepOutcome::StoppedByDateOrder, {}};
  } catch (const std::exception& e) {
    return {StepOutcome::Failed, e.what()};
  }
  return {core_->State().EndOfInput ? StepOutcome::EndOfInput : StepOutcome::Done, {}};
}

void Engine::ComputeStatistics() { core_->ComputeStatistics(); }

void Engine::PrintStatistics() { core_->PrintStatistics(); }

RunView Engine::View() const {
  const EngineState& s = core_->State();
  return {s.Parameters,
          s.Options,
          s.SequenceNumber,
          s.SequenceStart,
          s.EndOfInput,
          s.ReadFromFile,
          s.Dated != nullptr,
          s.InputDropped,
          s.WriteToFile,
          s.OriginalHourlyAvailable,
          s.InputFileName,
          s.OutputFileName,
          s.Dated != nullptr && s.DatedSetMonth != 0
              ? s.Dated->SetNames[static_cast<std::size_t>(s.DatedSetMonth - 1)]
              : std::string(),
          s.Storms,
          s.OriginalStorms,
          s.OriginalDaily,
          s.SyntheticDaily,
          s.OriginalHourly,
          s.SyntheticHourly,
          s.AllStatsOriginal,
          s.AllStatsSynthetic,
          s.WetDayStatsOriginal,
          s.WetDayStatsSynthetic,
          s.WetHourStatsOriginal,
          s.WetHourStatsSynthetic};
}

}  // namespace nimbra
