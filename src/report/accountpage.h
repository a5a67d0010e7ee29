// The report's account of the pumping and returns: per state group and
// budget period (the steady period first), the water of every kind, how
// much of it falls outside the active area where the model never receives
// it, and the recharge as the model receives it (after XFACTOR, active
// cells only).
#pragma once
#include <string>

#include "report/page.h"

namespace vadz {

// The section's HTML: a sentence for every period with water outside the
// active area, a chart of that water by kind, and the table of the accounts.
std::string account_section(const ReportContent& rc);

}  // namespace vadz
