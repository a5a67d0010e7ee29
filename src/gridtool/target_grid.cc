#include "gridtool/target_grid.h"

#include <cmath>
#include <string_view>

#include "gis/crs.h"
#include "input/gridio.h"
#include "utl/console.h"
#include "utl/grid.h"
#include "utl/paramlines.h"
#include "utl/scan.h"
#include "utl/textio.h"

namespace vadz {

TargetGrid read_target_grid(const std::string& path) {
  std::string content;
  if (!read_whole_file(path, content)) error2("Cannot open parameter file", path);
  // The run's default grid unless GRID sets another.
  reset_model_grid();
  TargetGrid g;
  std::string ibound;
  ParamLines lines(std::move(content));
  std::string line;
  while (lines.next(line)) {
    if (linefix(line) != 0) continue;
    int pos = 1;
    int st = 0;
    std::string kw = charin(line, 1, pos, st);
    uppercase(kw);
    if (kw == "GRID") {
      // Read and checked as the run reads it: the same limits and messages.
      int s1 = 0, s2 = 0, s3 = 0, s4 = 0, s5 = 0;
      const int32_t nr = intin(line, pos, pos, s1);
      const int32_t nc = intin(line, pos, pos, s2);
      const double cell = realin(line, pos, pos, s3);
      const double x = realin(line, pos, pos, s4);
      const double y = realin(line, pos, pos, s5);
      if (s1 != 0) error2("Invalid GRID rows", line);
      if (s2 != 0) error2("Invalid GRID columns", line);
      if (s3 != 0 || !std::isfinite(cell)) error2("Invalid GRID cell size", line);
      if (s4 != 0 || s5 != 0 || !std::isfinite(x) || !std::isfinite(y)) error2("Invalid GRID corner", line);
      GridGeometry geom = model_grid();
      const std::string why = make_grid(nr, nc, cell, x, y, geom, physical_memory());
      if (!why.empty()) error("Invalid GRID: " + why);
      set_model_grid(geom);
    } else if (kw == "CRS") {
      std::string def = charin(line, pos, pos, st);
      if (st != 0) error2("Invalid CRS", line);
      // Refused as the run refuses it (no linear unit, not in feet).
      resolve_crs(def);
      std::string wkt;
      // A file holds WKT; anything else is a definition such as EPSG:2265.
      g.crs = read_whole_file(def, wkt) ? wkt : def;
    } else if (kw == "IBOUND") {
      ibound = charin(line, pos, pos, st);
      if (st != 0) error("Invalid IBOUND file name ");
    }
  }
  g.nrow = NROW;
  g.ncol = NCOL;
  g.cell = CELL;
  g.x0 = X0;
  g.y0 = Y0;
  if (ibound.empty()) {
    g.ibound.assign(static_cast<size_t>(g.ncell()), 1);
  } else {
    FlagGrid flags = flag_grid();
    std::vector<std::string> names;
    int n = 0;
    readflags(ibound, flags, names, n, 0);
    g.ibound.assign(flags.begin(), flags.end());
  }
  return g;
}

}  // namespace vadz
