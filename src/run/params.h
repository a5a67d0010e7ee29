// Start-up: command line, parameter file keyword loop, checks and warnings.
#pragma once
#include <string>
#include <vector>

#include "input/config.h"
#include "krige/krige.h"

namespace vadz {

// Reads the command line and the parameter file into cfg, then checks the
// configuration and prints the per-cell warnings. Fatal on any fault.
void read_parameters(int argc, const char* const* argv, RunConfig& cfg, Krig& krig);

// Every keyword the parameter file accepts, in the reader's table order.
std::vector<std::string> parameter_keywords();

}  // namespace vadz
