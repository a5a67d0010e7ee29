// The grid reads of a whole run, planned ahead so that a second thread can
// read and parse the next files while the run computes and writes.
#pragma once
#include "input/prefetch.h"
#include "run/config.h"

namespace vadz {

// Every readfile call of the run, in the order the run makes them.
ReadPlan run_read_plan(const RunConfig& cfg);

// False when a file the run writes could be one it reads later: reading
// ahead could then see the file before the run has written it.
bool read_ahead_safe(const RunConfig& cfg, const ReadPlan& plan);

}  // namespace vadz
