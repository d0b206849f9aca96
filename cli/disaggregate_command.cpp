#include "disaggregate_command.h"

#include <optional>

#include "errors.h"
#include "input_output_check.h"
#include "progress_meter.h"
#include "subcommand_run.h"

namespace nimbra {

int RunDisaggregate(const DisaggregateOptions& options, std::ostream& out, std::ostream& err) {
  std::optional<ProgressMeter> progress;
  const DisaggregationOutlets outlets{out, err, [&](const ProgressCounts& counts) {
                                        if (progress) progress->Update(counts);
                                      }};
  std::optional<DisaggregationJob> job;
  const int started = AtCommandBoundary("disaggregate", err, 2, [&] {
    CheckFiles(
        {{options.Input, "-i"}, {options.Parameters, "-p"}, {options.ObservedHourly, "--observed-hourly"}},
        {{options.Output, "-o"},
         {options.Output + ".json", "the sidecar of -o"},
         {options.Report, "--report"}});
    job.emplace(options, outlets);
    return 0;
  });
  if (started != 0) return started;
  return AtCommandBoundary("disaggregate", err, 1, [&] {
    if (options.Progress) progress.emplace(err, options.Terminal);
    const bool complete = job->Run(JobControl{}).Complete;
    if (progress) progress->Finish();
    return complete ? 0 : 1;
  });
}

}  // namespace nimbra
