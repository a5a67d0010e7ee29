// The report's monthly view: for each transient year its twelve stress
// periods, per state group the pumping and the three irrigation returns,
// and over all groups the four recharge kinds, in acre-feet as the model
// files receive them (returns after XFACTOR).
#pragma once
#include <array>
#include <string>
#include <vector>

#include "engine/output.h"

namespace vadz {

// Acre-feet of one stress period.
struct MonthFigures {
  // Per state group (CO, KS, NE): pumping (irrigation and municipal), then
  // the returns Rcg, Rcs, Rcc.
  std::array<std::array<double, 4>, 3> group{};
  // Over all groups, the sums of the period's grids: pumping, then the
  // recharge Rcp, Rcg, Rcs, Rcc.
  std::array<double, 5> total{};
};

class MonthlyFigures {
 public:
  // Takes a transient period's figures (the steady period is left out).
  // A state group's share is the change of its annual arrays since the
  // year's previous period.
  void period(const PeriodResult& p);
  // Per year taken, in run order: the year and its months taken so far.
  struct Year {
    int year = 0;
    std::vector<MonthFigures> months;
  };
  const std::vector<Year>& years() const { return years_; }

 private:
  std::vector<Year> years_;
  std::array<std::array<double, 4>, 3> sofar_{};  // the year's group sums so far
};

// The view: a table per year (months down, groups and kinds across), each
// in an element with data-i the year's index in the run, all but the first
// hidden, for the year stepper of the page.
std::string monthly_view(const MonthlyFigures& m);

}  // namespace vadz
