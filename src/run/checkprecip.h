// The input check of precipitation: every year's field as the run takes it
// (kriged from the stations with the run's weights, or the year's PRISM
// grid) at the active cells, against what stops the run: a negative value
// or one beyond the recharge curves' last precipitation.
#pragma once
#include <string>

#include "input/config.h"
#include "run/checkfindings.h"
#include "utl/grid.h"

namespace vadz {

class PrecipCheck {
 public:
  explicit PrecipCheck(const RunConfig& cfg) : cfg_(cfg) {}
  // The kriged field of every steady-window and transient year with station
  // data, in run order. Nothing when the kriging system fails (an error of
  // its own).
  void kriged_years();
  // One year's PRISM grid (path: its file), in run order.
  void prism_grid(int year, const RealGrid& p, const std::string& path);
  // An error for negative or non-finite values and one for values beyond the
  // curves: the extreme value, its year and cell, and where the run stops.
  void report(Findings& f) const;

 private:
  struct Extreme {
    double value = 0.0;
    int year = 0, cell = -1;
    std::string source;  // the PRISM grid; empty when kriged
    long cells = 0;      // cell-years
    int first_year = 0, last_year = 0;
  };
  struct Stop {
    int year = 0, cell = -1;
    double value = 0.0;
  };
  void field(int year, const RealGrid& p, const std::string& source);
  Diag describe(const Extreme& e, const std::string& what, const char* most) const;

  const RunConfig& cfg_;
  Extreme low_, high_;
  Stop first_;  // the run's first stop: a year and cell in run order
};

}  // namespace vadz
