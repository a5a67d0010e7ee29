// vadz grid: GIS rasters, point records and zone layers onto the model grid.
#pragma once

namespace vadz {

// argv[1] is the command (raster, points, flags); returns the exit status.
int gridtool_main(int argc, const char* const* argv);

}  // namespace vadz
