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

void total_recharge(const RealGrid& rcp, const AnnualArrays& ann, RealGrid& rech) {
  const RealGrid& rcg = ann.annrcg[0];
  const RealGrid& rcs = ann.annrcs[0];
  const RealGrid& rcc = ann.annrcc[0];
  rech.resize(NCELL);
  for (int i = 0; i < NCELL; ++i) rech[i] = rcp[i] + AF_TO_INCHES * ((rcg[i] + rcs[i]) + rcc[i]);
}

}  // namespace vadz
