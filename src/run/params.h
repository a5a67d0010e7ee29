// Start-up: command line, parameter file keyword loop, checks and warnings.
#pragma once
#include "krige/krige.h"
#include "run/config.h"

namespace vadz {

// Reads the command line and the parameter file into cfg, then checks the
// configuration and prints the per-cell warnings. Fatal on any fault.
void read_parameters(int argc, const char* const* argv, RunConfig& cfg, Krig& krig);

}  // namespace vadz
