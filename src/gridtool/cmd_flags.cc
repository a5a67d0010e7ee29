#include "gridtool/cmd_flags.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "gridtool/crs_transform.h"
#include "gridtool/gridfile.h"
#include "gridtool/options.h"
#include "gridtool/overlay.h"
#include "gridtool/raster_source.h"
#include "gridtool/summary.h"
#include "gridtool/target_grid.h"
#include "gridtool/vector_source.h"
#include "utl/console.h"
#include "utl/scan.h"

namespace vadz {

namespace {

// Each polygon's rings in the grid's CRS, every source edge cut into pieces
// of at most 1/n of a cell's side (measured between its transformed ends);
// the outer ring adds its overlap to the zone, holes take theirs away.
Overlay overlay_polygons(const VectorLayer& v, const std::vector<int>& zone,
                         const TargetGrid& g, CrsTransform& tr, int n) {
  Overlay o = blank_overlay(g, Method::Majority);
  std::vector<double> xs, ys, ex, ey;
  std::vector<Pt> ring, work;
  for (size_t p = 0; p < v.polygons.size(); ++p) {
    const double z = zone[p];
    for (size_t k = 0; k < v.polygons[p].rings.size(); ++k) {
      const std::vector<Pt>& src = v.polygons[p].rings[k];
      ex.resize(src.size());
      ey.resize(src.size());
      for (size_t i = 0; i < src.size(); ++i) {
        ex[i] = src[i].x;
        ey[i] = src[i].y;
      }
      tr.apply(ex.data(), ey.data(), ex.size());
      xs.clear();
      ys.clear();
      bool ok = true;
      for (size_t i = 0; i < src.size() && ok; ++i) {
        const size_t j = (i + 1) % src.size();
        const double len = std::hypot(ex[j] - ex[i], ey[j] - ey[i]);
        if (!std::isfinite(len)) ok = false;
        const int pieces = tr.identity() || !ok ? 1 : std::max(1, static_cast<int>(
                                                            std::ceil(n * len / g.cell)));
        xs.push_back(src[i].x);
        ys.push_back(src[i].y);
        for (int s = 1; s < pieces; ++s) {
          const double t = static_cast<double>(s) / pieces;
          xs.push_back(src[i].x + t * (src[j].x - src[i].x));
          ys.push_back(src[i].y + t * (src[j].y - src[i].y));
        }
      }
      tr.apply(xs.data(), ys.data(), xs.size());
      ring.resize(xs.size());
      for (size_t i = 0; i < xs.size(); ++i) {
        ring[i] = {xs[i], ys[i]};
        if (!std::isfinite(xs[i])) ok = false;
      }
      if (!ok) {
        ++o.unplaced;
        continue;
      }
      const double sign = k == 0 ? 1.0 : -1.0;
      spread_polygon(g, ring, work, [&](long cell, double a) {
        const size_t c = static_cast<size_t>(cell);
        o.area[c] += sign * a;
        o.weighted[c] += sign * a * z;
        add_class(o.classes[c], z, sign * a);
      });
    }
  }
  return o;
}

// The zone names of --zones (comma-separated), which must hold every value
// found; zones named but not found stay empty.
std::vector<std::string> zone_order(const std::string& list, const std::vector<std::string>& found,
                                    const std::string& source) {
  std::vector<std::string> order;
  size_t at = 0;
  while (at <= list.size()) {
    const size_t end = std::min(list.find(',', at), list.size());
    order.push_back(list.substr(at, end - at));
    at = end + 1;
  }
  for (const std::string& f : found)
    if (std::find(order.begin(), order.end(), f) == order.end())
      error2("Zone " + f + " is not in --zones; found in", source);
  return order;
}

bool numeric_less(const std::string& a, const std::string& b) {
  double x = 0, y = 0;
  parse_real(a, x);
  parse_real(b, y);
  return x < y;
}

}  // namespace

int grid_flags(int argc, const char* const* argv) {
  const Options o =
      parse_options(argc, argv, 2, {}, {"--attribute", "--layer", "--band", "--zones"},
                    FLAGS_USAGE);
  if (o.args.size() != 3) error(FLAGS_USAGE);
  const TargetGrid g = read_target_grid(o.args[0]);
  std::vector<std::string> names;
  Overlay ov;
  const bool vector = is_vector(o.args[1]);
  if (vector) {
    if (!o.has("--attribute")) error("A vector layer needs --attribute NAME (the zone field)");
    const VectorLayer v = read_vector_layer(o.args[1], o.value("--layer"), o.value("--attribute"));
    warn_missing_crs(v.crs, g.crs, o.args[1]);
    for (const ZonePolygon& p : v.polygons) names.push_back(p.value);
    std::sort(names.begin(), names.end(),
              [&](const std::string& a, const std::string& b) {
                return v.numeric ? numeric_less(a, b) : a < b;
              });
    names.erase(std::unique(names.begin(), names.end()), names.end());
    if (o.has("--zones")) names = zone_order(o.value("--zones"), names, o.args[1]);
    std::vector<int> zone;
    for (const ZonePolygon& p : v.polygons)
      zone.push_back(static_cast<int>(std::find(names.begin(), names.end(), p.value) -
                                      names.begin()) + 1);
    CrsTransform tr(v.crs, g.crs);
    ov = tr.identity() ? overlay_polygons(v, zone, g, tr, 1)
                       : densify([&](int n) { return overlay_polygons(v, zone, g, tr, n); },
                               g.cell * g.cell, 0, 4096);
    ov.operations = tr.operations();
  } else {
    const RasterBand b = read_raster_band(o.args[1], o.integer("--band", 1));
    warn_missing_crs(b.crs, g.crs, o.args[1]);
    ov = overlay_raster(b, g, Method::Majority);
    // Zones are the raster's classes in ascending order.
    std::vector<double> cls;
    for (const auto& c : ov.classes)
      for (const auto& p : c) cls.push_back(p.first);
    std::sort(cls.begin(), cls.end());
    cls.erase(std::unique(cls.begin(), cls.end()), cls.end());
    for (auto& c : ov.classes)
      for (auto& p : c)
        p.first = static_cast<double>(std::lower_bound(cls.begin(), cls.end(), p.first) -
                                      cls.begin() + 1);
    for (double c : cls) names.push_back(num(c));
    if (o.has("--zones")) {
      // Zones in the order given: renumber the classes to match.
      const std::vector<std::string> order = zone_order(o.value("--zones"), names, o.args[1]);
      std::vector<double> to(names.size());
      for (size_t k = 0; k < names.size(); ++k)
        to[k] = static_cast<double>(std::find(order.begin(), order.end(), names[k]) -
                                    order.begin() + 1);
      for (auto& c : ov.classes)
        for (auto& p : c) p.first = to[static_cast<size_t>(p.first) - 1];
      names = order;
    }
  }
  if (names.size() > 99) error2("More than 99 zones in", o.args[1]);
  std::vector<int> zone(static_cast<size_t>(g.ncell()), 0);
  for (size_t k = 0; k < zone.size(); ++k)
    if (ov.area[k] > 0.0) zone[k] = static_cast<int>(majority_class(ov.classes[k]));
  report_operations(ov, vector ? "pieces per cell side" : "points per pixel edge");
  std::string list;
  for (size_t k = 0; k < names.size(); ++k)
    list += (k ? ", " : "") + std::to_string(k + 1) + " " + names[k];
  console_line(ConsoleLine().text(std::to_string(names.size()) + " zones: " + list));
  console_line(ConsoleLine().text(coverage_counts(g, ov.area) + "; uncovered cells are zone 0"));
  if (names.size() > 9)
    diag_write("warning: " + std::to_string(names.size()) +
               " zones: SOIL and BUDGET take at most 9\r\n");
  write_zoned_flags(o.args[2], g, names, zone);
  return 0;
}

}  // namespace vadz
