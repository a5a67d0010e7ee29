// `vadz grid ...` runs the program vadz-grid beside vadz: only that program
// needs GDAL and PROJ, so a run needs neither.
#pragma once

namespace vadz {

// "grid" followed by one of its commands (raster, points, flags) or --help;
// anything else leaves "grid" a parameter file's name, as it always was.
bool is_grid_command(int argc, const char* const* argv);

// Runs vadz-grid with argv[2..] and returns its exit status (on POSIX the
// process becomes vadz-grid). Stops with a line when it is not there.
int run_grid_command(int argc, const char* const* argv);

}  // namespace vadz
