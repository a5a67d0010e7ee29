#include "engine/annual.h"

#include <algorithm>

namespace vadz {

namespace {

void allocate(SlotGrid& g) {
  for (RealGrid& slot : g) slot = real_grid();
}

void zero(SlotGrid& g) {
  for (RealGrid& slot : g) std::fill(slot.begin(), slot.end(), 0.0);
}

}  // namespace

AnnualArrays::AnnualArrays() {
  for (SlotGrid* g : {&annpump, &annmi, &annrcg, &annrcs, &annrcc, &gwarea, &coarea, &swarea}) {
    allocate(*g);
  }
}

void AnnualArrays::clear() {
  for (SlotGrid* g : {&annpump, &annmi, &annrcg, &annrcs, &annrcc, &gwarea, &coarea, &swarea}) {
    zero(*g);
  }
}

}  // namespace vadz
