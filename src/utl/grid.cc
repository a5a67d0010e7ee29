#include "utl/grid.h"

#include <cmath>
#include <cstdint>
#include <limits>

namespace vadz {

namespace {

constexpr double SQFT_PER_ACRE = 43560.0;
// A binary grid file frames its values with a 32-bit byte count.
constexpr int64_t MAX_CELLS = std::numeric_limits<int32_t>::max() / 8;

}  // namespace

bool GridGeometry::is_default() const {
  const GridGeometry d;
  return nrow == d.nrow && ncol == d.ncol && cell == d.cell && x0 == d.x0 && y0 == d.y0;
}

std::array<double, 4> GridGeometry::extent() const {
  return {x0, y0, x0 + ncol * cell, y0 + nrow * cell};
}

std::string make_grid(int nrow, int ncol, double cell, double x0, double y0, GridGeometry& g) {
  if (nrow < 1 || ncol < 1) return "rows and columns must be 1 or more";
  if (static_cast<int64_t>(nrow) * ncol > MAX_CELLS)
    return "more than " + std::to_string(MAX_CELLS) + " cells";
  if (!std::isfinite(cell) || cell <= 0.0) return "cell size must be more than 0";
  if (!std::isfinite(x0) || !std::isfinite(y0)) return "corner must be finite";
  GridGeometry n;
  n.nrow = nrow;
  n.ncol = ncol;
  n.cell = cell;
  n.x0 = x0;
  n.y0 = y0;
  n.ncell = nrow * ncol;
  n.acres = cell * cell / SQFT_PER_ACRE;
  if (!(n.acres > 0.0) || !std::isfinite(n.acres)) return "cell size out of range";
  n.af_to_inches = 12.0 / n.acres;
  n.rch_inches = static_cast<double>(static_cast<float>(n.af_to_inches));
  n.inches_to_af = n.acres / 12.0;
  // The well list's fixed limit belongs to the default grid; any other grid
  // can have a well in every cell.
  n.maxwel = n.is_default() ? GridGeometry().maxwel : n.ncell;
  n.crs_name = g.crs_name;
  n.crs_wkt = g.crs_wkt;
  g = n;
  return {};
}

void set_model_grid(const GridGeometry& g) { grid_detail::current = g; }

void reset_model_grid() { grid_detail::current = GridGeometry(); }

}  // namespace vadz
