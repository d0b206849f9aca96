#include "cli_run.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "console_outlets.h"
#include "input_output_check.h"
#include "interrupt.h"
#include "parameter_checks.h"
#include "run_outcome.h"

namespace nimbra {

namespace {

constexpr int kDefaultTestSequences = 10;

class CliRun {
 public:
  CliRun(const CliOptions& options, std::ostream& out, std::ostream& err, bool showProgress)
      : options_(options), err_(err), showProgress_(showProgress), log_(out), ui_(err) {
    ui_.Attach(engine_);
  }

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
  // The program's start, the input file opened as the input-file command opens it,
  // then the options, which win over a parameters line of the file.
  void Start() {
    EngineState& s = engine_.State();
    CheckInputAndOutput(options_.input, options_.output);
    engine_.SetDefaults();
    engine_.InitialiseRun();
    s.OriginalHourlyAvailable = true;
    engine_.UpdateIntensityChoice();
    if (!options_.input.empty()) OpenInput();
    ApplyOptions(options_, engine_);
    engine_.InitialiseRun();
    engine_.CheckModelParameters();
    for (const std::string& warning : ParameterWarnings(ParametersOf(s)))
      err_ << "Warning: " << warning << '\n';
    if (!options_.output.empty()) OpenOutput();
  }

  void OpenInput() {
    input_.open(options_.input, std::ios::binary);
    if (!input_) throw InOutError("cannot open the input file " + options_.input);
    EngineState& s = engine_.State();
    s.InputFile = &input_;
    s.InputFileName = options_.input;
    s.ReadFromFile = true;
    s.UseConstLength = false;
    engine_.InitialiseRun();
    engine_.ReadInputHeader();
  }

  void OpenOutput() {
    output_.open(options_.output, std::ios::binary | std::ios::trunc);
    if (!output_) throw InOutError("cannot create the output file " + options_.output);
    engine_.State().OutputFile = &output_;
    engine_.State().OutputFileName = options_.output;
    engine_.State().WriteToFile = true;
  }

  void Steps() {
    const EngineState& s = engine_.State();
    if (s.ReadFromFile && !options_.sequences) {
      while (!s.EndOfInput && !Interrupted()) Step();
    } else {
      const int n = options_.sequences.value_or(kDefaultTestSequences);
      for (int i = 0; i < n; ++i) {
        if (!s.EndOfInput && !Interrupted()) Step();
      }
    }
    if (showProgress_) err_ << '\n';
    if (Interrupted()) log_.AddLine(InterruptionNote(s.SequenceNumber));
  }

  // An error ends its step only, as a desktop user would press the button again.
  void Step() {
    try {
      if (!engine_.NextSequence()) outcome_.NoteMissing(engine_.State());
    } catch (const std::exception& e) {
      log_.Flush();
      err_ << "Error: " << e.what() << '\n';
      status_ = 1;
      outcome_.NoteMissing(engine_.State());
    }
    if (showProgress_) ShowProgress();
  }

  void ShowProgress() {
    err_ << "\rSequence #" << engine_.State().SequenceNumber;
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
    status_ = std::max(status_, outcome_.Report(engine_.State(), err_));
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
