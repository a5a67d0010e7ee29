// The run: kriging preparation, model files, the steady period, the
// transient years and the annual tables.
#pragma once
#include "krige/krige.h"
#include "run/config.h"

namespace vadz {

// Carries the run from a checked configuration to its end.
void run_driver(const RunConfig& cfg, Krig& krig);

}  // namespace vadz
