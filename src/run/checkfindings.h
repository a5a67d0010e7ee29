// What the input check's value checks found: placed errors (the run would
// stop) and warnings (it runs, probably wrongly), and the cells the
// warnings cover, for the count line.
#pragma once
#include <string>
#include <vector>

#include "utl/diag.h"

namespace vadz {

struct Findings {
  std::vector<Diag> errors, warnings;
  long cells = 0;  // cells covered by the warnings about cells

  void warn(Diag d, long ncells = 0) {
    warnings.push_back(std::move(d));
    cells += ncells;
  }
};

// A value as written in a data file: the shortest form ("-9999", "960", "-1e+30").
std::string shortest(double v);
// A number for a message: grouped digits, d decimals ("-12,845,812.67").
std::string number(double v, int d);
// A model cell's place without a year: "row R, column C (x, y)".
std::string grid_cell(int index);

}  // namespace vadz
