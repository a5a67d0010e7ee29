// Small rasters and layers made with GDAL inside a test, and the grid files
// vadz grid writes, read back as numbers.
#pragma once
#include <array>
#include <string>
#include <vector>

namespace vadz::test {

// A single-band Float64 GeoTIFF of w x h pixels, row-major values, in the
// CRS `srs` (authority:code); `nodata` is set when not NaN.
void make_raster(const std::string& path, int w, int h, const std::array<double, 6>& gt,
                 const std::string& srs, const std::vector<double>& values, double nodata);

// A GeoPackage layer "zones" of polygons (WKT) with a text field "name".
void make_layer(const std::string& path, const std::string& srs,
                const std::vector<std::pair<std::string, std::string>>& wkt_name);

// The numbers of a text grid file, in file order.
std::vector<double> grid_values(const std::string& path);

// Points (x, y) from one CRS to another, easting or longitude first.
void transform_points(const std::string& from, const std::string& to, std::vector<double>& x,
                      std::vector<double>& y);

}  // namespace vadz::test
