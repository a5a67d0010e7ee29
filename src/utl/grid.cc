#include "utl/grid.h"

#include <cmath>
#include <cstdint>
#include <limits>

#include "utl/format.h"

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace vadz {

namespace {

constexpr double SQFT_PER_ACRE = 43560.0;
// A binary grid file frames its values with a 32-bit byte count.
constexpr int64_t MAX_CELLS = std::numeric_limits<int32_t>::max() / 8;
// What a run holds per cell at its peak: the configuration's flag grids,
// the period's, year's and annual grids, kriging weights and read-ahead
// buffers (about 900 bytes on a 1,000 x 1,000 grid over three years). A
// grid needing more memory than the machine has would be ended by the
// system halfway through the run.
constexpr uint64_t RUN_BYTES_PER_CELL = 1000;

// Feet as a message shows them: whole feet grouped in threes, else 2 decimals.
std::string feet(double v) {
  char buf[GROUPED_MAX];
  return std::string(buf, put_grouped(buf, v == std::round(v) ? 0 : 2, v));
}

}  // namespace

bool GridGeometry::is_default() const {
  const GridGeometry d;
  return nrow == d.nrow && ncol == d.ncol && cell == d.cell && x0 == d.x0 && y0 == d.y0;
}

std::array<double, 4> GridGeometry::extent() const {
  return {x0, y0, x0 + ncol * cell, y0 + nrow * cell};
}

std::string make_grid(int nrow, int ncol, double cell, double x0, double y0, GridGeometry& g,
                      uint64_t memory_bytes) {
  if (nrow < 1 || ncol < 1) return "rows and columns must be 1 or more";
  const int64_t cells = static_cast<int64_t>(nrow) * ncol;
  if (cells > MAX_CELLS) return "more than " + std::to_string(MAX_CELLS) + " cells";
  if (memory_bytes > 0 && static_cast<uint64_t>(cells) * RUN_BYTES_PER_CELL > memory_bytes)
    return std::to_string(cells) + " cells need about " +
           std::to_string((static_cast<uint64_t>(cells) * RUN_BYTES_PER_CELL) >> 20) +
           " MiB of memory, more than the machine's " + std::to_string(memory_bytes >> 20) +
           " MiB";
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

uint64_t physical_memory() {
#ifdef _WIN32
  MEMORYSTATUSEX m;
  m.dwLength = sizeof m;
  return GlobalMemoryStatusEx(&m) ? static_cast<uint64_t>(m.ullTotalPhys) : 0;
#else
  const long pages = sysconf(_SC_PHYS_PAGES), size = sysconf(_SC_PAGE_SIZE);
  return pages > 0 && size > 0 ? static_cast<uint64_t>(pages) * static_cast<uint64_t>(size) : 0;
#endif
}

std::string extent_text(const GridGeometry& g) {
  const std::array<double, 4> e = g.extent();
  std::string s = "x " + feet(e[0]) + " to " + feet(e[2]) + ", y " + feet(e[1]) + " to " +
                  feet(e[3]) + " feet";
  if (!g.crs_name.empty()) s += " in " + g.crs_name;
  return s;
}

void set_model_grid(const GridGeometry& g) { grid_detail::current = g; }

void reset_model_grid() { grid_detail::current = GridGeometry(); }

}  // namespace vadz
