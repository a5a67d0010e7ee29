// The input check of values that run but are probably wrong: no-data codes
// in the grids and station values, irrigated acres of a cell beyond the
// cell, station coordinates off the grid, flag files of the wrong width,
// active cells without a soil, and what the parameter reader noted.
#pragma once
#include <array>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "input/config.h"
#include "input/inventory.h"
#include "input/schedule.h"
#include "run/checkfindings.h"
#include "utl/grid.h"

namespace vadz {

class ValueCheck {
 public:
  explicit ValueCheck(const RunConfig& cfg);
  // A grid file the run reads (present), in the run's order.
  void grid(const PlannedRead& r, const RealGrid& g);
  // Everything found, the grids' findings and the configuration's.
  void report(Findings& f);

 private:
  // No-data codes in the files of one folder and kind.
  struct Codes {
    std::string dir, tag;
    std::vector<InputPeriod> periods;
    long cells = 0;
    std::string first;  // the first file's path and cell
    double value = 0.0;
  };
  // A state group's irrigated acres (agw, asw, aco) of one year, added up.
  struct Acres {
    std::array<RealGrid, 3> kind{real_grid(), real_grid(), real_grid()};
    std::vector<char> over = std::vector<char>(NCELL, 0);  // cells above 640 in any year
    std::vector<InputPeriod> years;
    double worst = 0.0;
    int worst_year = 0, worst_cell = -1;
    std::array<double, 3> worst_parts{};
    bool filled = false;
  };
  void close_year();
  void stations(Findings& f) const;
  void flag_widths(Findings& f) const;
  void soils(Findings& f) const;

  const RunConfig& cfg_;
  std::map<std::pair<int, FileKind>, Codes> codes_;
  std::array<Acres, 3> acres_;
  int acres_year_ = 0;
};

}  // namespace vadz
