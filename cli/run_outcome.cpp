#include "run_outcome.h"

namespace nimbra {

// A test-mode step may fail before its sequence has a date: it is named by its number.
void RunOutcome::NoteMissing(const RunView& s) {
  if (!s.ReadFromFile) {
    missing_.push_back("sequence #" + std::to_string(s.SequenceNumber) + " of the test run");
    return;
  }
  const SequenceDate& d = s.SequenceStart;
  const int days = s.OriginalDaily.Count;
  missing_.push_back("day " + std::to_string(d.Day) + ", tag " + std::to_string(d.Tag) + ", period " +
                     std::to_string(d.Period) + ", " + std::to_string(days) + (days == 1 ? " day" : " days"));
}

int RunOutcome::Report(const RunView& s, std::ostream& err) const {
  if (!missing_.empty()) {
    err << "Error: " << missing_.size() << (missing_.size() == 1 ? " sequence is" : " sequences are")
        << " missing from the output:\n";
    for (const std::string& sequence : missing_) err << "  " << sequence << '\n';
  }
  if (s.InputDropped) {
    err << "Error: the input file was not read to its end (see the message above): its later records are "
           "missing from the output.\n";
  }
  return missing_.empty() && !s.InputDropped ? 0 : 1;
}

}  // namespace nimbra
