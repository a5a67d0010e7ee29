// Grid output files: one grid times a factor, text or framed binary.
#pragma once
#include <string_view>

#include "utl/grid.h"

namespace vadz {

// Names: dir/steady.ext (year <= 0), dir/YYYY.ext (month <= 0),
// dir/YYYY.MM.ext otherwise. Nothing is written for factor 0; an all-zero
// product is not written either, and an earlier file of its name is removed.
void storemonth(const RealGrid& grid, double factor, int year, int month, std::string_view dir,
                std::string_view ext, int ibin);

}  // namespace vadz
