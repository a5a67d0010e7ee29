// The budget table on standard output, by budget zone.
#pragma once
#include <string_view>

#include "engine/annual.h"
#include "run/config.h"

namespace vadz {

// The heading line(s), printed when BUDGET is read.
void budget_heading(const RunConfig& cfg);

// One row: "SS  " for the steady period (Rcp columns only), the year text for
// a transient year. A transient row also forms slot 0 of the annual arrays
// (always, budget zones or not); rows are printed only when cfg.nbgt > 0.
void budget(const RunConfig& cfg, std::string_view name, const RealGrid& rcp, AnnualArrays& ann,
            const RealGrid& rpp);

}  // namespace vadz
