// vadz grid points: point records (wells, diversions) summed into the cells
// of the model grid, one grid file per period named as the run reads them.
#pragma once

namespace vadz {

inline constexpr const char* POINTS_USAGE =
    "usage: vadz grid points <parameter file> <csv> <output folder> --x COL --y COL "
    "--value COL [--year COL --month COL] [--kind pmp|mi|rcg|rcs|rcc|agw|asw|aco] [--crs CRS] "
    "[--bin]";

int grid_points(int argc, const char* const* argv);

}  // namespace vadz
