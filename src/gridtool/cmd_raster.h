// vadz grid raster: a raster onto the model grid by exact overlap area
// (--sum, --mean or --majority), written as the grid file the run reads.
#pragma once

namespace vadz {

inline constexpr const char* RASTER_USAGE =
    "usage: vadz grid raster <parameter file> <raster> <output grid> --sum|--mean|--majority "
    "[--band N] [--scale F] [--fill V] [--bin]";

int grid_raster(int argc, const char* const* argv);

}  // namespace vadz
