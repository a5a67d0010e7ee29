// The budget table on standard output, by budget zone.
#pragma once
#include <array>
#include <string_view>

#include "engine/annual.h"
#include "input/config.h"

namespace vadz {

// The eleven groups of the table, in column order.
inline constexpr int NBGROUP = 11;
// A group's label as the heading shows it ("act.cells", ..., "RchRcc_af").
const char* budget_label(int group);
// The group of the recharge from precipitation: the only one of a steady row.
inline constexpr int RCP_GROUP = 7;

// The numbers of one row of the table, unrounded.
struct BudgetRow {
  bool steady = false;
  int nbgt = 0;  // zone columns 1..nbgt; 0 when the run has no budget zones
  // value[g][z]: group g, zone z (1..nbgt), z = 0 the group's total column.
  // A steady row holds only group RCP_GROUP.
  std::array<std::array<double, 10>, NBGROUP> value{};
};

// The heading line(s), printed when BUDGET is read.
void budget_heading(const RunConfig& cfg);

// One row: "SS  " for the steady period (Rcp columns only), the year text for
// a transient year. A transient row also forms slot 0 of the annual arrays
// (always, budget zones or not); rows are printed only when cfg.nbgt > 0.
// Returns the row's numbers.
BudgetRow budget(const RunConfig& cfg, std::string_view name, const RealGrid& rcp, AnnualArrays& ann,
            const RealGrid& rpp);

}  // namespace vadz
