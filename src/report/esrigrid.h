// ESRI ASCII grids: the form GIS tools (QGIS, GDAL, R terra, rasterio) read.
// Six header lines place the grid (lower-left corner and cell size in the
// model's plane coordinates, feet), then one line per grid row from north to
// south; cells outside the active area hold the NODATA value. With a CRS,
// a .prj file beside each grid names it.
#pragma once
#include <string>

#include "utl/grid.h"
#include "utl/staging.h"

namespace vadz {

// The NODATA value of the grids (written as -9999).
inline constexpr double ESRI_NODATA = -9999;

// Writes values (inactive cells, IBOUND <= 0, as NODATA) at full precision.
// buf is working room reused between calls. The file is staged; with a CRS,
// also path's .prj. Fatal: "Cannot open file " and "Cannot write to file "
// with the path.
void write_esri_grid(Staging& staged, const std::string& path, const RealGrid& values,
                     const FlagGrid& ibound, std::string& buf);

}  // namespace vadz
