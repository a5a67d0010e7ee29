// Grid output files: one grid times a factor, text or framed binary.
#pragma once
#include <string_view>

#include "utl/grid.h"

namespace vadz {

// Names: dir/steady.ext (year <= 0), dir/YYYY.ext (month <= 0),
// dir/YYYY.MM.ext otherwise. Nothing is written for factor 0 or an all-zero
// product.
void storemonth(const RealGrid& grid, double factor, int year, int month, std::string_view dir,
                std::string_view ext, int ibin);

}  // namespace vadz
