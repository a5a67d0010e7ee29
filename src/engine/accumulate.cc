#include "engine/accumulate.h"

namespace vadz {

// Each routine forms the product first and then adds it to the old value, so
// the sums of many state-group files come out the same whatever the grid.

void add(RealGrid& target, double factor, const RealGrid& source) {
  for (int i = 0; i < NCELL; ++i) target[i] = target[i] + factor * source[i];
}

void condadd(RealGrid& target, double factor, const RealGrid& source, const FlagGrid& mask) {
  for (int i = 0; i < NCELL; ++i) {
    if (mask[i] == 0) target[i] = target[i] + factor * source[i];
  }
}

void condadd3(RealGrid& target, double factor, const RealGrid& source, const FlagGrid& mask) {
  for (int i = 0; i < NCELL; ++i) {
    if (mask[i] != 0) {
      target[i] = target[i] + factor * source[i];
    } else {
      target[i] = target[i] + source[i];
    }
  }
}

}  // namespace vadz
