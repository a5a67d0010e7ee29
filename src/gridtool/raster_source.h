// One band of a raster read through GDAL: its values, which of them hold
// data, where each pixel lies and in which CRS.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace vadz {

struct RasterBand {
  int width = 0;
  int height = 0;
  // Pixel (i, j), from 0, column i of row j, covers the parallelogram with
  // corners at pixel coordinates (i, j) .. (i + 1, j + 1) mapped by
  // x = gt[0] + u gt[1] + v gt[2], y = gt[3] + u gt[4] + v gt[5]. GDAL has
  // already moved pixel-is-point and cell-centre origins to the corner.
  std::array<double, 6> gt{};
  std::string crs;            // WKT; empty when the raster names none
  std::vector<double> value;  // row-major, width * height
  std::vector<uint8_t> valid; // 0 where the band or its mask says no data

  bool axis_aligned() const { return gt[2] == 0.0 && gt[4] == 0.0; }
  double px(double u, double v) const { return gt[0] + u * gt[1] + v * gt[2]; }
  double py(double u, double v) const { return gt[3] + u * gt[4] + v * gt[5]; }
};

// Reads band `band` (from 1) of the raster at `path`; stops with a line
// naming the file when GDAL cannot open it or the band is missing.
RasterBand read_raster_band(const std::string& path, int band);

// Opens GDAL's drivers once.
void gdal_init();

// Stops with "message path"; GDAL's own reason follows on standard error.
[[noreturn]] void gdal_fault(const std::string& message, const std::string& path);

}  // namespace vadz
