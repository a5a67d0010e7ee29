// The eight annual arrays: per-cell totals of a year by state group.
#pragma once
#include "utl/grid.h"

namespace vadz {

struct AnnualArrays {
  SlotGrid annpump;  // groundwater irrigation pumping, acre-feet
  SlotGrid annmi;    // municipal and industrial pumping, acre-feet
  SlotGrid annrcg;   // recharge from groundwater-irrigated land, acre-feet
  SlotGrid annrcs;   // recharge from surface-water-irrigated land, acre-feet
  SlotGrid annrcc;   // recharge from commingled land, acre-feet
  SlotGrid gwarea;   // groundwater-irrigated area, acres
  SlotGrid coarea;   // commingled irrigated area, acres
  SlotGrid swarea;   // surface-water-irrigated area, acres

  AnnualArrays();
  // All four slots of all eight arrays to 0.
  void clear();
};

}  // namespace vadz
