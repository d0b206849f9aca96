#include "cli_run.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "console_outlets.h"
#include "engine.h"
#include "input_output_check.h"
#include "interrupt.h"
#include "parameter_checks.h"
#include "run_outcome.h"
#include "step_loop.h"

namespace nimbra {

namespace {

constexpr int kDefaultTestSequences = 10;

class CliRun {
 public:
  CliRun(const CliOptions& options, std::ostream& out, std::ostream& err, bool showProgress)
      : options_(options), err_(err), showProgress_(showProgress), log_(out), ui_(err) {}

  int Run() {
    try {
      Start();
    } catch (const std::exception& e) {
      err_ << "nimbra-cli: " << e.what() << '\n';
      return 2;
    }
    Steps();
    return Finish();
  }

 private:
  // The input file is opened first, so that the options win over its parameters line.
  void Start() {
    CheckInputAndOutput(options_.input, options_.output);
    if (!options_.input.empty()) OpenInput();
    engine_.SetOptions(ApplyOptions(options_, engine_.View().Options));
    engine_.SetParameters(ApplyParameters(options_, engine_.View().Parameters));
    engine_.View().Parameters.Validate();
    for (const std::string& warning : ParameterWarnings(engine_.View().Parameters))
      err_ << "Warning: " << warning << '\n';
    if (!options_.output.empty()) OpenOutput();
  }

  void OpenInput() {
    input_.open(options_.input, std::ios::binary);
    if (!input_) throw InOutError("cannot open the input file " + options_.input);
    engine_.OpenInput(input_, options_.input);
  }

  void OpenOutput() {
    output_.open(options_.output, std::ios::binary | std::ios::trunc);
    if (!output_) throw InOutError("cannot create the output file " + options_.output);
    engine_.SetOutput(&output_, options_.output);
  }

  // A file runs to its end unless a count of sequences is given.
  void Steps() {
    std::optional<int> count = options_.sequences;
    if (!engine_.View().ReadFromFile && !count) count = kDefaultTestSequences;
    StepLoop loop(count, AtFailure::GoOn);
    while (loop.WantsStep(engine_) && !Interrupted()) loop.Took(Step());
    if (showProgress_) err_ << '\n';
    if (Interrupted()) log_.AddLine(InterruptionNote(engine_.View().SequenceNumber));
  }

  // An error ends its step only; the run still exits 1.
  StepResult Step() {
    const StepResult result = engine_.Step();
    if (result.Outcome == StepOutcome::Failed) {
      log_.Flush();
      err_ << "Error: " << result.Message << '\n';
    }
    if (result.Outcome == StepOutcome::Failed || result.Outcome == StepOutcome::StoppedByDateOrder) {
      status_ = 1;
      outcome_.NoteMissing(engine_.View());
    }
    if (showProgress_) ShowProgress();
    return result;
  }

  void ShowProgress() {
    err_ << "\rSequence #" << engine_.View().SequenceNumber;
    if (input_.is_open()) err_ << " (" << ShareOfInputRead() << "% of the input read)";
    err_ << std::flush;
  }

  int ShareOfInputRead() {
    const auto size = std::filesystem::file_size(options_.input);
    const auto position = input_.tellg();
    if (position < 0 || size == 0) return 100;
    return static_cast<int>(100 * static_cast<double>(position) / static_cast<double>(size));
  }

  int Finish() {
    try {
      if (options_.stats) engine_.PrintStatistics();
    } catch (const std::exception& e) {
      err_ << "Error: " << e.what() << '\n';
      status_ = 1;
    }
    log_.Flush();
    status_ = std::max(status_, outcome_.Report(engine_.View(), err_));
    if (Interrupted()) status_ = kInterruptedStatus;
    if (output_.is_open()) {
      output_.close();
      if (!output_) {
        err_ << "Error: writing the output file " << options_.output << " failed\n";
        status_ = 1;
      }
    }
    return status_;
  }

  const CliOptions& options_;
  std::ostream& err_;
  bool showProgress_;
  StreamLog log_;
  StreamUserInterface ui_;
  Engine engine_{log_, ui_};
  std::ifstream input_;
  std::ofstream output_;
  RunOutcome outcome_;
  int status_ = 0;
};

}  // namespace

int RunCli(const CliOptions& options, std::ostream& out, std::ostream& err, bool showProgress) {
  return CliRun(options, out, err, showProgress).Run();
}

}  // namespace nimbra
