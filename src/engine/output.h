// The outputs of a run behind one interface: once a stress period's
// stresses or a year's balance are complete, the run hands them to every
// output in turn (the model files, and whatever else the parameter file asks
// for). A new output format is a new implementation, not a branch in the run.
#pragma once
#include <array>
#include <memory>
#include <string_view>
#include <vector>

#include "engine/annual.h"
#include "engine/budget.h"
#include "input/config.h"
#include "utl/grid.h"

namespace vadz {

// A stress period's stresses, complete.
struct PeriodResult {
  const RunConfig& cfg;
  std::string_view label;  // "Steady " or "MM/YYYY"
  int year = 0;            // -1 for the steady period
  int seconds = 0;         // period length
  // Per cell, acre-feet in the period: recharge from precipitation, then the
  // returns from groundwater-, surface-water- and commingled-irrigated land.
  const std::array<RealGrid, 4>& rech;
  const RealGrid& pump;  // acre-feet withdrawn in the period
  // The year's annual arrays, this period included (each state group's
  // share of the stresses, before XFACTOR).
  const AnnualArrays& ann;
  bool xfactor = false;  // Rcg and Rcs of rech were multiplied by the XFACTOR grid
};

// A year's balance, complete once its budget row is formed: after the steady
// period (year -1, the window's mean) and after each transient year.
struct YearResult {
  const RunConfig& cfg;
  int year = 0;               // -1 for the steady period
  const RealGrid& rcp;        // recharge from precipitation, inches per year
  const RealGrid& rpp;        // precipitation, inches per year (transient years)
  const AnnualArrays& ann;    // slot 0 holds the totals over the state groups
  const BudgetRow& budget;    // the row of the budget table
};

class RunOutput {
 public:
  virtual ~RunOutput() = default;
  virtual void period(const PeriodResult&) {}
  // True when period() reads only the period's results and the output's own
  // state: it then runs on a helper thread beside the outputs that do not
  // (the model files' formatting, the longest), in the order listed.
  virtual bool beside() const { return false; }
  virtual void year(const YearResult&) {}
  // The run ended normally: flush and close, checking every write.
  virtual void finish() {}
};

using RunOutputs = std::vector<RunOutput*>;

}  // namespace vadz
