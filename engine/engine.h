#pragma once
// The disaggregation engine as every front end drives it. Set the model parameters and
// the run options, choose an input file (file mode) or none (test mode) and an output,
// then step; read the results through the run's view and the statistics. The
// engine reports through its two outlets: the log, and the user interface for message
// boxes and for the parameters an input file sets.

#include <iosfwd>
#include <memory>
#include <string>

#include "dated_input.h"
#include "model_parameters.h"
#include "output_log.h"
#include "run_options.h"
#include "run_view.h"
#include "user_interface.h"

namespace nimbra {

class EngineCore;

enum class StepOutcome {
  Done,                // a sequence was disaggregated
  StoppedByDateOrder,  // the input's dates went backwards; the message was shown
  EndOfInput,          // the input file holds no more wet days
  Failed,              // an error ended the step; Message says why
};

struct StepResult {
  StepOutcome Outcome = StepOutcome::Done;
  std::string Message;
};

class Engine {
 public:
  // Starts with the default parameters and options, in test mode, with a run started.
  Engine(OutputLog& log, UserInterface& ui);
  ~Engine();
  Engine(const Engine&) = delete;
  Engine& operator=(const Engine&) = delete;

  // New parameters restart the run. Throws when the run cannot start from them (a bad
  // Lambda); the parameters are kept as given and the next step reports any other.
  void SetParameters(const ModelParameters& parameters);
  // Options take effect from the next step; the seed from the next restart.
  void SetOptions(const RunOptions& options);
  // Starts the run again: the seed is taken anew, the log and the sequence count cleared.
  void RestartRun();
  // Restarts the run, reads the input file's header again, and forgets the collected
  // statistics and storms.
  void Initialise();

  // File mode: sequences come from input, which stays open while the engine uses it.
  // Reads the file's header; a parameters line in it sets the parameters.
  void OpenInput(std::istream& input, const std::string& name);
  // File mode from a station's dated series, which stays alive while the engine uses it.
  // Each sequence takes its month's set, as SetParameters would, without a restart.
  void OpenDatedInput(const DatedInput& input, const std::string& name);
  // Test mode: the model synthesises the observed sequences.
  void CloseInput();
  // The hourly output of each step is appended to output; nullptr writes nothing.
  void SetOutput(std::ostream* output, const std::string& name);

  StepResult Step();

  // Summarises what the run has collected into the view's statistics; PrintStatistics
  // also writes the report to the log.
  void ComputeStatistics();
  void PrintStatistics();

  RunView View() const;

 private:
  friend struct EngineTestSeam;
  std::unique_ptr<EngineCore> core_;
};

}  // namespace nimbra
