// The program entry: options, the parameter file, the run, the exit status.
#pragma once

namespace vadz {

// Returns the process exit status: 0 for a completed run (or --help,
// --version), 1 after a fatal stop, whose console line has been printed.
int main_program(int argc, const char* const* argv);

}  // namespace vadz
