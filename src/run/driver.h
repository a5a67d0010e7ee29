// The run: kriging preparation, model files, the steady period, the
// transient years and the annual tables.
#pragma once
#include "krige/krige.h"
#include "input/config.h"

namespace vadz {

// Carries the run from a checked configuration to its end. With read_ahead
// a second thread reads and parses the grid files ahead of the run (the
// outputs are the same either way).
void run_driver(const RunConfig& cfg, Krig& krig, bool read_ahead = true);

}  // namespace vadz
