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

// Acre-feet spread over a cell, in inches (12 / the cell's acres; 12/640 = 0.01875
// for a one-mile cell).
inline const double& AF_TO_INCHES = grid_detail::current.af_to_inches;

// A transient year's total recharge per cell, inches: the recharge from
// precipitation (inches) plus the three irrigation returns of slot 0
// (acre-feet over the cell), added in the order annrech.csv was defined with.
void total_recharge(const RealGrid& rcp, const AnnualArrays& ann, RealGrid& rech);

}  // namespace vadz
