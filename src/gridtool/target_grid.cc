#include "gridtool/target_grid.h"

#include <cmath>
#include <string_view>

#include "input/gridio.h"
#include "utl/console.h"
#include "utl/grid.h"
#include "utl/paramlines.h"
#include "utl/scan.h"
#include "utl/textio.h"

namespace vadz {

namespace {

// A plain flag file of any width: two characters per column, one line per
// row, row 1 first; a blank field is 0 and a short line is padded with blanks.
void read_plain_flags(const std::string& path, TargetGrid& g) {
  g.ibound.assign(static_cast<size_t>(g.ncell()), 1);
  if (rtrim(path) == "*") return;
  std::string buf;
  if (!read_whole_file(path, buf)) error2("Error opening file", path);
  LineReader rd(buf);
  std::string_view line;
  for (int r = 1; r <= g.nrow; ++r) {
    if (!rd.next(line)) error2("Error reading file", path);
    for (int c = 1; c <= g.ncol; ++c) {
      const size_t at = static_cast<size_t>(2 * (c - 1));
      std::string field;
      for (size_t k = at; k < at + 2 && k < line.size(); ++k)
        if (line[k] != ' ') field += line[k];
      int32_t v = 0;
      if (!field.empty() && !parse_int(field, v)) error2("Error reading file", path);
      g.ibound[static_cast<size_t>(g.index(c, r))] = v;
    }
  }
}

}  // namespace

TargetGrid read_target_grid(const std::string& path) {
  std::string content;
  if (!read_whole_file(path, content)) error2("Cannot open parameter file", path);
  TargetGrid g;
  g.nrow = NROW;
  g.ncol = NCOL;
  g.cell = CELL;
  g.x0 = X0;
  g.y0 = Y0;
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
      int32_t nr = 0, nc = 0;
      double cell = 0, x = 0, y = 0;
      int s1 = 0, s2 = 0, s3 = 0, s4 = 0, s5 = 0;
      nr = intin(line, pos, pos, s1);
      nc = intin(line, pos, pos, s2);
      cell = realin(line, pos, pos, s3);
      x = realin(line, pos, pos, s4);
      y = realin(line, pos, pos, s5);
      if (s1 != 0 || s2 != 0 || s3 != 0 || s4 != 0 || s5 != 0 || nr <= 0 || nc <= 0 ||
          !(cell > 0.0) || !std::isfinite(cell) || !std::isfinite(x) || !std::isfinite(y))
        error("Invalid GRID line");
      if (static_cast<long>(nr) * nc > 200000000L) error("Invalid GRID line");
      g.nrow = nr;
      g.ncol = nc;
      g.cell = cell;
      g.x0 = x;
      g.y0 = y;
    } else if (kw == "CRS") {
      std::string def = charin(line, pos, pos, st);
      if (st != 0) error("Invalid CRS line");
      std::string wkt;
      // A file holds WKT; anything else is a definition such as EPSG:2265.
      g.crs = read_whole_file(def, wkt) ? wkt : def;
    } else if (kw == "IBOUND") {
      ibound = charin(line, pos, pos, st);
      if (st != 0) error("Invalid IBOUND file name ");
    }
  }
  if (ibound.empty()) {
    g.ibound.assign(static_cast<size_t>(g.ncell()), 1);
  } else if (g.nrow == NROW && g.ncol == NCOL) {
    FlagGrid flags = flag_grid();
    std::vector<std::string> names;
    int n = 0;
    readflags(ibound, flags, names, n, 0);
    g.ibound.assign(flags.begin(), flags.end());
  } else {
    read_plain_flags(ibound, g);
  }
  return g;
}

}  // namespace vadz
