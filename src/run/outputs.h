// The outputs a parameter file asks for beyond the model files: the one
// place where each is wired into the run.
#pragma once
#include <memory>
#include <vector>

#include "engine/output.h"
#include "input/config.h"

namespace vadz {

// Creates (and opens) every extra output of the run, in a fixed order.
std::vector<std::unique_ptr<RunOutput>> make_outputs(const RunConfig& cfg);

}  // namespace vadz
