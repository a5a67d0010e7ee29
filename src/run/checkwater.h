// The input check's count of the water the model never receives: pumping
// and irrigation returns in cells of IBOUND 0 or below. --check reads each
// grid file once, in the run's order; from them the annual arrays of every
// budget period are rebuilt as the run's stress periods form them, and
// summed as the run's accounts are, so that the figures are the run's.
#pragma once
#include <vector>

#include "engine/account.h"
#include "engine/annual.h"
#include "input/config.h"
#include "input/schedule.h"
#include "run/checkfindings.h"
#include "utl/diag.h"

namespace vadz {

class CheckWater {
 public:
  explicit CheckWater(const RunConfig& cfg) : cfg_(cfg) {}
  // A grid of the run's read plan, read; in plan order, each file once
  // (a file that two state groups share serves both).
  void add(const PlannedRead& r, const RealGrid& grid);
  // A warning for each state group and budget period with water in cells
  // of IBOUND 0 or below, in period order, with the cells it covers.
  void report(Findings& found);

 private:
  void close();  // the budget period under way is complete

  const RunConfig& cfg_;
  AnnualArrays ann_;
  int year_ = 0;  // budget period under way: -1 steady, a year, 0 none yet
  std::vector<WaterAccount> done_;
};

}  // namespace vadz
