#include "station_runner.h"

#include "ordered_pool.h"

namespace nimbra {

namespace {

struct RunStation {
  StationJob Job;
  StationOutcome Outcome;
};

}  // namespace

void RunStations(std::size_t count, int threads, const StationJobSource& source,
                 const StationDelivery& deliver) {
  OrderedPool<RunStation>::Run(
      count, threads,
      [&](std::size_t index) {
        RunStation run{source(index), {}};
        run.Outcome = RunStationJob(run.Job);
        return run;
      },
      [&](std::size_t index, RunStation& run) { deliver(index, run.Job, run.Outcome); });
}

}  // namespace nimbra
