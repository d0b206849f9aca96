#pragma once
// What a command-line run lost: the sequences whose steps failed, and input that a bad
// record kept from being read. Told at the end of the run, where a user looks.

#include <ostream>
#include <string>
#include <vector>

#include "run_view.h"

namespace nimbra {

class RunOutcome {
 public:
  // The sequence of the step that just ended without reaching the output.
  void NoteMissing(const RunView& s);
  // Writes what was lost to err; returns 1 when anything was, else 0.
  int Report(const RunView& s, std::ostream& err) const;

 private:
  std::vector<std::string> missing_;
};

}  // namespace nimbra
