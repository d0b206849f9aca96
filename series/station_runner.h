#pragma once
// The one way stations are run: each on a worker thread through the one-station call, and
// handed on in their order on the calling thread as soon as it and every station before it
// are done. At most two stations per thread are held at once (read, running, or done and
// waiting for one before it), so memory follows the threads, not the stations, and the
// results are the same for any number of threads.

#include <cstddef>
#include <functional>

#include "station_batch.h"

namespace nimbra {

// The job of station index with its series, called on a worker thread: the series may be
// read there.
using StationJobSource = std::function<StationJob(std::size_t index)>;
// Called on the calling thread, in the order of index.
using StationDelivery =
    std::function<void(std::size_t index, const StationJob& job, StationOutcome& outcome)>;

// The first error of source, a run or deliver stops the run: no further station starts, and
// the error is raised again once the workers have ended.
void RunStations(std::size_t count, int threads, const StationJobSource& source,
                 const StationDelivery& deliver);

}  // namespace nimbra
