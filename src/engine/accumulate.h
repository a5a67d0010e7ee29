// Grid accumulation over all cells in grid order. The product is formed
// first, then added to the target's old value.
#pragma once
#include "utl/grid.h"

namespace vadz {

// target += factor * source
void add(RealGrid& target, double factor, const RealGrid& source);
// mask == 0: target += factor * source; otherwise unchanged
void condadd(RealGrid& target, double factor, const RealGrid& source, const FlagGrid& mask);
// mask != 0: target += factor * source; mask == 0: target += source
void condadd3(RealGrid& target, double factor, const RealGrid& source, const FlagGrid& mask);

}  // namespace vadz
