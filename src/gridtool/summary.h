// Pieces shared by the raster and flag commands: the class of a cell by
// majority, cells without data, and the lines that report an overlay.
#pragma once
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "gridtool/options.h"
#include "gridtool/overlay.h"
#include "gridtool/target_grid.h"

namespace vadz {

// The class with the largest area; of equal areas the smallest class.
double majority_class(const std::vector<std::pair<double, double>>& classes);

// Cells without data (has == 0) take --fill; without it the command stops
// with their count and the first of them.
void fill_missing(const TargetGrid& g, const std::vector<uint8_t>& has, const Options& o,
                  std::vector<double>& out);

// A warning on standard error when only one of the raster and the grid
// names a CRS (the raster's coordinates are then taken as the grid's).
void warn_missing_crs(const std::string& source_crs, const std::string& grid_crs,
                      const std::string& source);

// Console lines naming the coordinate operations PROJ used and the outline
// density, and a warning for pixels PROJ could not place.
void report_operations(const Overlay& ov, const char* unit = "points per pixel edge");

double written_total(const std::vector<double>& out);

// "<p> cells partly covered, <u> cells without data (<a> of them active)".
std::string coverage_counts(const TargetGrid& g, const std::vector<double>& area);

}  // namespace vadz
