// The fixed model grid: 165 rows by 326 columns of one-mile cells.
#pragma once
#include <array>
#include <cstdint>
#include <vector>

namespace vadz {

inline constexpr int NROW = 165;
inline constexpr int NCOL = 326;
inline constexpr int NCELL = NROW * NCOL;  // 53,790

// South-west grid corner in the plane coordinate system, feet.
inline constexpr double X0 = 266023.0;
inline constexpr double Y0 = 14092806.0;
inline constexpr double CELL = 5280.0;

// Cell grids hold one value per cell, column index fastest:
// cell (c, r), both from 1, row 1 northernmost, is element (r-1)*326 + (c-1).
using RealGrid = std::vector<double>;
using FlagGrid = std::vector<int32_t>;

inline RealGrid real_grid(double v = 0.0) { return RealGrid(NCELL, v); }
inline FlagGrid flag_grid(int32_t v = 0) { return FlagGrid(NCELL, v); }
inline constexpr int cell(int c, int r) { return (r - 1) * NCOL + (c - 1); }

// Cell-centre coordinates, feet.
inline double xc(int c) { return (c - 0.5) * CELL + X0; }
inline double yc(int r) { return (NROW - r + 0.5) * CELL + Y0; }

// A grid per state group plus their total: slot 0 total, slots 1..3 CO, KS, NE.
using SlotGrid = std::array<RealGrid, 4>;

}  // namespace vadz
