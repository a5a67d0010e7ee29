// A raster's pixels laid over the model grid by exact overlap area, in the
// grid's CRS. Pixels are areas: each cell takes from each pixel the share of
// the pixel's area that lies inside the cell.
#pragma once
#include <functional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "gridtool/raster_source.h"
#include "gridtool/target_grid.h"

namespace vadz {

enum class Method { Sum, Mean, Majority };

struct Overlay {
  std::vector<double> area;  // area of valid pixels inside each cell, square feet
  // Sum: the pixels' values times the share of each pixel inside the cell.
  // Mean and majority: values times overlap areas.
  std::vector<double> weighted;
  // Majority: (class, area) of every class in each cell.
  std::vector<std::vector<std::pair<double, double>>> classes;
  double source_total = 0.0;  // every valid pixel's value
  double inside_total = 0.0;  // each valid pixel's value times its share inside the grid
  long unplaced = 0;          // valid pixels PROJ could not transform
  int density = 1;            // points per pixel edge (1: corners only)
  double last_change = 0.0;   // largest relative change of a cell at the last doubling
  std::set<std::string> operations;  // coordinate operations PROJ used
};

// Overlays band `b` on grid `g`. Across CRSs each pixel outline has `density`
// points per edge; density 0 doubles it from 1 until a doubling changes no
// cell by more than 1e-9 relative to the cell fully covered (its area, and
// its weighted value scaled to the whole cell), at most 256 points per edge.
Overlay overlay_raster(const RasterBand& b, const TargetGrid& g, Method m, int density = 0);

// The doubling of outline points: pass(n) overlays with n points per edge;
// density > 0 runs that one pass, 0 doubles n from 1 as above up to `most`.
Overlay densify(const std::function<Overlay(int)>& pass, double cell_area, int density,
                int most = 256);

// An empty overlay of grid g (classes kept for majority).
Overlay blank_overlay(const TargetGrid& g, Method m);

// Adds `a` of class `cls` to the class list of one cell.
void add_class(std::vector<std::pair<double, double>>& cls, double v, double a);

}  // namespace vadz
