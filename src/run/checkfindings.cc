#include "run/checkfindings.h"

#include "utl/diag.h"
#include "utl/format.h"
#include "utl/grid.h"

namespace vadz {

std::string number(double v, int d) {
  char buf[GROUPED_MAX];
  return std::string(buf, put_grouped(buf, d, v));
}

std::string shortest(double v) {
  char buf[SHORTEST_MAX];
  return std::string(buf, put_shortest(buf, v));
}

std::string grid_cell(int index) {
  const int r = index / NCOL + 1, c = index % NCOL + 1;
  // The year's place without its year: one form for every cell.
  const std::string s = cell_place(0, r, c, xc(c), yc(r));
  return s.substr(s.find(", ") + 2);
}

}  // namespace vadz
