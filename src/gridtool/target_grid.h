// The model grid that `vadz grid` writes onto: size, cell, south-west corner,
// CRS and active cells, read from a parameter file's GRID, CRS and IBOUND
// lines (nothing else of the file is read).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace vadz {

struct TargetGrid {
  int nrow = 0;
  int ncol = 0;
  double cell = 0.0;  // side of a square cell, feet
  double x0 = 0.0;    // south-west corner, feet
  double y0 = 0.0;
  std::string crs;    // PROJ definition (authority:code or WKT); empty: none given
  std::vector<int32_t> ibound;  // nrow * ncol, row 1 (north) first; nonzero active

  long ncell() const { return static_cast<long>(nrow) * ncol; }
  // Element of cell (column c, row r), both from 1.
  long index(int c, int r) const { return static_cast<long>(r - 1) * ncol + (c - 1); }
  // Cell edges: column c spans [xw(c), xw(c + 1)], row r spans [ys(r), ys(r - 1)].
  double xw(int c) const { return x0 + (c - 1) * cell; }
  double ys(int r) const { return y0 + (nrow - r) * cell; }
  double xmax() const { return x0 + ncol * cell; }
  double ymax() const { return y0 + nrow * cell; }
};

// Reads GRID, CRS and IBOUND from the parameter file at `path`. Without GRID
// the grid is the run's default one; without IBOUND every cell is active.
TargetGrid read_target_grid(const std::string& path);

}  // namespace vadz
