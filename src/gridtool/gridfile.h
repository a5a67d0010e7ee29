// Writers of the grids the run reads, for a grid of any size: real grids as
// text (one row per line, the 25-column reals of the run's own grid files)
// or framed binary, and zoned flag files.
#pragma once
#include <string>
#include <vector>

#include "gridtool/target_grid.h"

namespace vadz {

void write_real_grid(const std::string& path, const TargetGrid& g, const std::vector<double>& v,
                     bool binary);

// Header line of zone names, then one line per row of zone numbers 0..n in
// one-character fields (n <= 9) or two-character fields.
void write_zoned_flags(const std::string& path, const TargetGrid& g,
                       const std::vector<std::string>& names, const std::vector<int>& zone);

}  // namespace vadz
