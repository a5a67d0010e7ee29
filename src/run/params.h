// Start-up: command line, parameter file keyword loop, checks and warnings.
#pragma once
#include <string>
#include <vector>

#include "input/config.h"
#include "krige/krige.h"

namespace vadz {

// What reading the parameter file produces besides the configuration and
// its notices. A run writes the FUNCTION table file and the terrain plot
// file and prints the budget table's heading as their keywords are read;
// the input check reads every keyword the same way and produces none of them.
enum class ParamMode { Run, Check };

// Reads the command line and the parameter file into cfg, then checks the
// configuration and prints the per-cell warnings. Fatal on any fault.
void read_parameters(int argc, const char* const* argv, RunConfig& cfg, Krig& krig,
                     ParamMode mode = ParamMode::Run);

// Every keyword the parameter file accepts, in the reader's table order.
std::vector<std::string> parameter_keywords();

}  // namespace vadz
