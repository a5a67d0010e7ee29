// What the report draws over its maps, as SVG in cell units (x the column
// from the west edge, y the row from the north edge, 326 by 165), so that
// the PNG maps stay as they are and the browser scales both together: the
// outlines of the budget zones and of the state groups, and the
// precipitation stations.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "engine/annual.h"
#include "input/stations.h"
#include "utl/grid.h"

namespace vadz {

// SVG path data of the cell edges between two cells whose labels differ and
// of which one at least is above 0, merged into runs along rows and columns
// ("M c r h n", "M c r v n"). With within, only edges between two cells
// where within is above 0. The grid's own border is left out: the map's
// frame shows it.
std::string outline_path(const FlagGrid& label, const FlagGrid* within = nullptr);

// Where each state group's data lie. The run has no map of the groups: a
// group's data files cover the whole grid and hold values only where the
// group has land, wells or returns. A cell belongs to the group whose data
// lie nearest to it, so the outline follows the state line as closely as
// the data do.
class GroupAreas {
 public:
  GroupAreas() : has_(NCELL, 0) {}
  // Notes the cells where a group's areas, pumping or returns of a period
  // (the steady window or a year) are not 0.
  void add(const AnnualArrays& ann);
  // Each cell's group, 1..3 (CO, KS, NE): the group with data in the cell
  // (the first of them where several have), else the one whose data lie
  // fewest steps along rows and columns away. 0 everywhere when no group
  // has data.
  FlagGrid areas() const;

 private:
  std::vector<uint8_t> has_;  // per cell, bit s-1 for group s
};

// The stations as SVG circles, each with its name, place and the year's
// precipitation of each of years (inches) on hover; stations off the grid
// are left out.
std::string station_marks(const StationTable& st, const std::vector<int>& years);

// The page's parts of the overlay: the outlines once, as SVG definitions
// (zones and groups: path data of outline_path), with a key whose boxes
// show and hide each kind of line; and over one map, the outlines with the
// stations' marks (empty for none).
std::string overlay_defs(const std::string& zones, const std::string& groups, bool stations);
std::string map_overlay(const std::string& marks);

}  // namespace vadz
