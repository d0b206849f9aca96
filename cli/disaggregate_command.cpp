#include "disaggregate_command.h"

#include <optional>

#include "errors.h"
#include "progress_meter.h"

namespace nimbra {

int RunDisaggregate(const DisaggregateOptions& options, std::ostream& out, std::ostream& err) {
  std::optional<ProgressMeter> progress;
  const DisaggregationOutlets outlets{out, err, [&](std::int64_t days) {
                                        if (progress) progress->StationDone(days);
                                      }};
  std::optional<DisaggregationJob> job;
  try {
    job.emplace(options, outlets);
  } catch (const NimbraError& e) {
    err << "nimbra-cli disaggregate: " << e.what() << '\n';
    return 2;
  }
  try {
    if (options.Progress) progress.emplace(err, options.Terminal, job->Work().Stations, job->Work().Days);
    const bool complete = job->Run(JobControl{}).Complete;
    if (progress) progress->Finish();
    return complete ? 0 : 1;
  } catch (const NimbraError& e) {
    err << "nimbra-cli disaggregate: " << e.what() << '\n';
    return 1;
  }
}

}  // namespace nimbra
