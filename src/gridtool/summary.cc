#include "gridtool/summary.h"

#include "utl/console.h"

namespace vadz {

double majority_class(const std::vector<std::pair<double, double>>& classes) {
  double best = 0.0, best_area = -1.0;
  for (const auto& [cls, area] : classes)
    if (area > best_area || (area == best_area && cls < best)) {
      best = cls;
      best_area = area;
    }
  return best;
}

void fill_missing(const TargetGrid& g, const std::vector<uint8_t>& has, const Options& o,
                  std::vector<double>& out) {
  long count = 0, first = -1;
  for (size_t k = 0; k < has.size(); ++k)
    if (!has[k]) {
      if (first < 0) first = static_cast<long>(k);
      ++count;
    }
  if (count == 0) return;
  if (o.has("--fill")) {
    const double fill = o.real("--fill", 0.0);
    for (size_t k = 0; k < has.size(); ++k)
      if (!has[k]) out[k] = fill;
    return;
  }
  const int r = static_cast<int>(first / g.ncol) + 1;
  const int c = static_cast<int>(first % g.ncol) + 1;
  Diag d;
  d.where = "row " + std::to_string(r) + ", column " + std::to_string(c) + " (" +
            num(g.xw(c) + 0.5 * g.cell) + ", " + num(g.ys(r) + 0.5 * g.cell) + ")";
  d.what = "no valid source area in this cell";
  d.hint = "give --fill V for cells the source does not cover (its nodata or beyond its edge)";
  throw Fatal(ConsoleLine()
                  .text(std::to_string(count) + " cells without data, first at row " +
                        std::to_string(r) + " column " + std::to_string(c))
                  .str(),
              d);
}

void warn_missing_crs(const std::string& source_crs, const std::string& grid_crs,
                      const std::string& source) {
  if (source_crs.empty() == grid_crs.empty()) return;
  diag_write("warning: " + source +
             (source_crs.empty() ? ": names no CRS; its coordinates are taken as the grid's\r\n"
                                 : ": the parameter file names no CRS; the source's "
                                   "coordinates are taken as the grid's\r\n"));
}

void report_operations(const Overlay& ov, const char* unit) {
  for (const std::string& op : ov.operations)
    console_line(ConsoleLine().text("coordinate operation: " + op));
  if (!ov.operations.empty())
    console_line(ConsoleLine().text("outlines densified to " + std::to_string(ov.density) + " " +
                                    unit + " (last doubling changed a cell by " +
                                    num(ov.last_change) + " relative)"));
  if (ov.unplaced > 0)
    diag_write("warning: " + std::to_string(ov.unplaced) +
               " pixels with data lie where the coordinate operation is undefined; left out\r\n");
}

double written_total(const std::vector<double>& out) {
  double s = 0.0;
  for (double v : out) s += v;
  return s;
}

std::string coverage_counts(const TargetGrid& g, const std::vector<double>& area) {
  const double full = g.cell * g.cell;
  long partly = 0, none = 0, none_active = 0;
  for (size_t k = 0; k < area.size(); ++k) {
    if (!(area[k] > 0.0)) {
      ++none;
      if (g.ibound[k] != 0) ++none_active;
    } else if (area[k] < full * (1.0 - 1e-9)) {
      ++partly;
    }
  }
  return std::to_string(partly) + " cells partly covered, " + std::to_string(none) +
         " cells without data (" + std::to_string(none_active) + " of them active)";
}

}  // namespace vadz
