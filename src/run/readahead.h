// Reading the run's grid files ahead (the plan: input/schedule.h).
#pragma once
#include "input/config.h"
#include "input/prefetch.h"

namespace vadz {

// False when a file the run writes could be one it reads later: reading
// ahead could then see the file before the run has written it.
bool read_ahead_safe(const RunConfig& cfg, const ReadPlan& plan);

}  // namespace vadz
