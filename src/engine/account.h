// Every acre-foot of a budget period (the steady period, or a transient
// year) accounted for: the pumping and returns of each state group over
// every cell, as the budget table sums them, and over the cells the model
// does not simulate (IBOUND 0 or below), whose wells and returns it never
// receives; and the recharge as the model receives it, after XFACTOR and
// in active cells only.
#pragma once
#include <array>
#include <string>

#include "engine/annual.h"
#include "engine/output.h"
#include "input/config.h"
#include "input/schedule.h"

namespace vadz {

// The water kinds of a state group, in the budget table's column order:
// irrigation pumping, municipal-industrial pumping and the three returns.
inline constexpr int NWATER = 5;
FileKind water_kind(int w);  // pmp, mi, rcg, rcs, rcc
int water_group(int w);      // the budget table's group (budget_label) of each
const char* water_name(int w);  // "groundwater irrigation pumping", ...
// Kinds 0 and 1 are withdrawals, the others recharge.
inline bool is_pumping(int w) { return w < 2; }

// One state group's water of one kind in a budget period, acre-feet.
struct GroupWater {
  double total = 0.0;    // every cell, summed in grid order as the budget table does
  double outside = 0.0;  // the cells of IBOUND 0 or below, in grid order
  int cells = 0;         // cells of IBOUND 0 or below with water of this kind
};

// The recharge kinds as the model receives them: Rcp, Rcg, Rcs, Rcc.
inline constexpr int NRECH = 4;

struct WaterAccount {
  int year = 0;  // -1 for the steady period
  // water[w][s]: kind w, state group s (0..2 for CO, KS, NE).
  std::array<std::array<GroupWater, 3>, NWATER> water{};
  // received[k][z]: recharge kind k of the period's recharge arrays, after
  // XFACTOR, summed over the active cells of budget zone z (1..9) and, in
  // z = 0, over every active cell; acre-feet.
  std::array<std::array<double, 10>, NRECH> received{};

  // Per state group, the cells of IBOUND 0 or below with water of any kind,
  // and the first of them in grid order (-1 when none).
  std::array<int, 3> outside_cells{};
  std::array<int, 3> first_outside{-1, -1, -1};
};

// The total of the state groups' values as the budget table's total column
// forms it: groups 1 to max(nbgt, 3) in order, those beyond the third 0.
double group_total(const std::array<double, 3>& v, int nbgt);

// applied and outside for a total such that applied + outside == total in
// double arithmetic, exactly, whenever the water outside lies between 0 and
// the total (as it does for pumping and returns that are not negative):
// applied = total - outside; outside is then taken as total - applied
// where that is exact and outside is not.
void split_total(double total, double outside, double& applied, double& out);

// Acre-feet for reading: "1,234.5 acre-feet".
std::string acre_feet(double v);

// The water of IBOUND 0 or below in words, naming only the parts that are
// not 0: "46.6 acre-feet of pumping and 16.5 acre-feet of returns fall in 3
// cells outside the active area (IBOUND 0 or below)".
std::string outside_words(double pumping, double returns, int cells);

// The sums over a budget period's annual arrays (slots 1..3) of every state
// group and kind into acct.water.
void sum_water(const FlagGrid& ibound, const AnnualArrays& ann, WaterAccount& acct);

// The run's accounts, formed as the run goes: each stress period's recharge
// as the model receives it, and at the end of each budget period its sums.
// Listed among the run's outputs before those that use it.
class WaterAccounting : public RunOutput {
 public:
  explicit WaterAccounting(const RunConfig& cfg) : cfg_(cfg) {}
  void period(const PeriodResult& p) override;
  bool beside() const override { return true; }
  void year(const YearResult& y) override;
  // The account of the budget period that ended last.
  const WaterAccount& last() const { return last_; }

 private:
  const RunConfig& cfg_;
  WaterAccount now_;  // the budget period under way
  WaterAccount last_;
};

}  // namespace vadz
