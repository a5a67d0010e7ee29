#include "gridtool/overlap.h"

#include <cmath>

namespace vadz {

namespace {

// Keeps the part of `in` on the inner side of one edge of the rectangle:
// axis 0 tests x, 1 tests y; keep_above keeps values >= bound.
void clip_edge(const std::vector<Pt>& in, std::vector<Pt>& out, int axis, double bound,
               bool keep_above) {
  out.clear();
  const size_t n = in.size();
  if (n == 0) return;
  auto inside = [&](const Pt& p) {
    const double v = axis == 0 ? p.x : p.y;
    return keep_above ? v >= bound : v <= bound;
  };
  auto cross = [&](const Pt& a, const Pt& b) {
    if (axis == 0) {
      const double t = (bound - a.x) / (b.x - a.x);
      return Pt{bound, a.y + t * (b.y - a.y)};
    }
    const double t = (bound - a.y) / (b.y - a.y);
    return Pt{a.x + t * (b.x - a.x), bound};
  };
  Pt prev = in[n - 1];
  bool prev_in = inside(prev);
  for (size_t i = 0; i < n; ++i) {
    const Pt& cur = in[i];
    const bool cur_in = inside(cur);
    if (cur_in != prev_in) out.push_back(cross(prev, cur));
    if (cur_in) out.push_back(cur);
    prev = cur;
    prev_in = cur_in;
  }
}

}  // namespace

double signed_area(const std::vector<Pt>& ring) {
  const size_t n = ring.size();
  if (n < 3) return 0.0;
  // Coordinates taken relative to the first vertex: state-plane feet are
  // large numbers and the products would lose the area's digits.
  const double ox = ring[0].x, oy = ring[0].y;
  double s = 0.0;
  for (size_t i = 1; i + 1 < n; ++i) {
    const double ax = ring[i].x - ox, ay = ring[i].y - oy;
    const double bx = ring[i + 1].x - ox, by = ring[i + 1].y - oy;
    s += ax * by - bx * ay;
  }
  return 0.5 * s;
}

double clipped_area(const std::vector<Pt>& ring, double x0, double x1, double y0, double y1,
                    std::vector<Pt>& work) {
  // Whole ring inside the cell: no clipping needed.
  bool inside = true;
  for (const Pt& p : ring)
    if (p.x < x0 || p.x > x1 || p.y < y0 || p.y > y1) {
      inside = false;
      break;
    }
  if (inside) return std::fabs(signed_area(ring));
  thread_local std::vector<Pt> a;
  clip_edge(ring, a, 0, x0, true);
  clip_edge(a, work, 0, x1, false);
  clip_edge(work, a, 1, y0, true);
  clip_edge(a, work, 1, y1, false);
  return std::fabs(signed_area(work));
}

bool cell_range(const TargetGrid& g, double xa, double xb, double ya, double yb, int& c0,
                int& c1, int& r0, int& r1) {
  if (!(xb > g.x0) || !(xa < g.xmax()) || !(yb > g.y0) || !(ya < g.ymax())) return false;
  c0 = std::max(1, static_cast<int>(std::floor((xa - g.x0) / g.cell)) + 1);
  c1 = std::min(g.ncol, static_cast<int>(std::floor((xb - g.x0) / g.cell)) + 1);
  // Rows count from the north.
  r0 = std::max(1, g.nrow - static_cast<int>(std::floor((yb - g.y0) / g.cell)));
  r1 = std::min(g.nrow, g.nrow - static_cast<int>(std::floor((ya - g.y0) / g.cell)));
  return c0 <= c1 && r0 <= r1;
}

}  // namespace vadz
