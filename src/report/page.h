// The report's web page: one HTML file that opens from the file system in
// any browser, with its styles, charts and year stepper inline (nothing is
// fetched from elsewhere); the maps are the PNG files beside it.
#pragma once
#include <string>
#include <vector>

#include "engine/account.h"
#include "engine/budget.h"
#include "input/config.h"
#include "input/inventory.h"
#include "report/mapimage.h"

namespace vadz {

// A quantity shown as maps.
struct MapLayer {
  std::string file;   // a yearly map's stem (maps/<file>_<year>.png), else the
                      // map's whole name (maps/<file>.png)
  std::string title;
  std::string unit;
  MapScale scale;
  bool soils = false;  // categories of the SOIL file instead of a scale
};

// Everything the page shows.
struct ReportContent {
  explicit ReportContent(const RunConfig& c) : cfg(c) {}
  const RunConfig& cfg;
  std::vector<int> years;          // transient years, in run order
  std::vector<BudgetRow> rows;     // budget rows in run order
  std::vector<int> row_year;       // year of each row, -1 for the steady period
  std::vector<WaterAccount> water; // the water account of each row's period
  std::vector<MapLayer> yearly;    // one map per transient year each
  std::vector<MapLayer> once;      // one map per run each
  Inventory inventory;             // the grid inputs read, present and absent
  std::vector<std::string> grids;  // stems of the yearly ESRI grids (grids/<stem>_<year>.asc)
  bool steady_grid = false;        // grids/rcp_steady.asc exists
  int active = 0;                  // active cells
  std::string zone_outline;        // path data of the budget zones' outlines (overlay.h)
  std::string group_outline;       // and of the state groups' outlines
  std::string monthly;             // the monthly view (monthly.h)
};

// Where the files of a report lie inside its folder.
std::string yearly_map(const std::string& stem, int year);  // "maps/ppt_1990.png"
std::string once_map(const std::string& name);              // "maps/soils.png"
std::string yearly_grid(const std::string& stem, int year); // "grids/ppt_1990.asc"

// The page's text (index.html).
std::string report_page(const ReportContent& content);

}  // namespace vadz
