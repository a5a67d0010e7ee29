// The model grid: rows, columns, square cells and the south-west corner,
// with its coordinate reference system. One setting of the run, fixed at
// start-up before any grid is allocated or read (GRID and CRS in the
// parameter file); without GRID it is 165 rows by 326 columns of one-mile
// cells. NROW, NCOL, NCELL, X0, Y0 and CELL name its values for the code
// that loops over cells.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace vadz {

// One model grid, with the conversion factors that follow from its cell area.
struct GridGeometry {
  int nrow = 165;
  int ncol = 326;
  double cell = 5280.0;  // side length of a cell, feet
  // South-west grid corner in the plane coordinate system, feet.
  double x0 = 266023.0;
  double y0 = 14092806.0;

  // Derived by make_grid from the five values above.
  int ncell = 165 * 326;             // 53,790
  double acres = 640.0;              // area of a cell in acres
  double af_to_inches = 0.01875;     // acre-feet over a cell to inches: 12 / acres
  double rch_inches = static_cast<double>(static_cast<float>(0.01875));  // the same, single
  double inches_to_af = 640.0 / 12.0;  // inches over a cell to acre-feet: acres / 12
  int maxwel = 14000;                // most wells a period's well list may hold

  // The coordinate reference system, when CRS named one: its name and its
  // definition as ESRI WKT1 (what a .prj file beside a grid holds).
  std::string crs_name;
  std::string crs_wkt;

  bool is_default() const;
  // The extent: west, south, east, north edges, feet.
  std::array<double, 4> extent() const;
};

// Checks the five values of a grid and derives the rest. Returns an empty
// string and sets g, or the reason the grid cannot be used. memory_bytes is
// the machine's memory (0: unknown, not checked).
std::string make_grid(int nrow, int ncol, double cell, double x0, double y0, GridGeometry& g,
                      uint64_t memory_bytes);
// The machine's physical memory in bytes, 0 when it cannot be told.
uint64_t physical_memory();
// The extent as a warning names it: "x 266,023 to 1,987,303, y 14,092,806
// to 14,964,006 feet", with " in <CRS name>" when there is one.
std::string extent_text(const GridGeometry& g);

namespace grid_detail {
inline GridGeometry current;
}

// The run's grid.
inline const GridGeometry& model_grid() { return grid_detail::current; }
// Sets the run's grid; only before any grid of the run is allocated.
void set_model_grid(const GridGeometry& g);
// Back to the default grid without a CRS (start of every parameter-file read).
void reset_model_grid();

inline const int& NROW = grid_detail::current.nrow;
inline const int& NCOL = grid_detail::current.ncol;
inline const int& NCELL = grid_detail::current.ncell;
inline const double& X0 = grid_detail::current.x0;
inline const double& Y0 = grid_detail::current.y0;
inline const double& CELL = grid_detail::current.cell;

// Cell grids hold one value per cell, column index fastest:
// cell (c, r), both from 1, row 1 northernmost, is element (r-1)*NCOL + (c-1).
using RealGrid = std::vector<double>;
using FlagGrid = std::vector<int32_t>;

inline RealGrid real_grid(double v = 0.0) { return RealGrid(NCELL, v); }
inline FlagGrid flag_grid(int32_t v = 0) { return FlagGrid(NCELL, v); }
inline int cell(int c, int r) { return (r - 1) * NCOL + (c - 1); }

// Cell-centre coordinates, feet.
inline double xc(int c) { return (c - 0.5) * CELL + X0; }
inline double yc(int r) { return (NROW - r + 0.5) * CELL + Y0; }

// A grid per state group plus their total: slot 0 total, slots 1..3 CO, KS, NE.
using SlotGrid = std::array<RealGrid, 4>;

}  // namespace vadz
