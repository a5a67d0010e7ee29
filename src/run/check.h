// The input check (vadz --check): everything a run would read, read in full
// and reported at once, with nothing written.
#pragma once

namespace vadz {

// Reads the parameter file as a run does (argv[1], then an optional STRESSF
// f1 f2 f3 f4; a fault there is fatal with the run's line), then every grid
// file the run would read. Prints on standard output the inventory of the
// inputs, a `warning: ` line for each thing that looks like a mistake, an
// `error: <file>: <message>` line for each fault that would stop the run,
// and a last line counting them. Writes no file. Returns the exit status:
// 1 when there is an error line, else 0.
int run_check(int argc, const char* const* argv);

}  // namespace vadz
