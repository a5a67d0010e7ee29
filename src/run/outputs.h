// The outputs a parameter file asks for beyond the model files: the one
// place where each is wired into the run.
#pragma once
#include <memory>
#include <vector>

#include "engine/output.h"
#include "input/config.h"
#include "utl/staging.h"

namespace vadz {

// Creates (and opens) every extra output of the run, in a fixed order. Their
// files are staged: they appear only when the run commits `staged`.
std::vector<std::unique_ptr<RunOutput>> make_outputs(const RunConfig& cfg, Staging& staged);

}  // namespace vadz
