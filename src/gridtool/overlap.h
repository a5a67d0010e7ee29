// Exact overlap areas of a polygon with the cells of the model grid: the
// polygon is clipped to each cell's square (Sutherland-Hodgman against the
// four edges) and the clipped part measured by the shoelace formula.
#pragma once
#include <algorithm>
#include <vector>

#include "gridtool/target_grid.h"

namespace vadz {

struct Pt {
  double x, y;
};

// Signed area (counter-clockwise positive).
double signed_area(const std::vector<Pt>& ring);

// Area of the simple polygon `ring` inside the rectangle [x0, x1] x [y0, y1].
// Orientation does not matter; `work` is scratch space.
double clipped_area(const std::vector<Pt>& ring, double x0, double x1, double y0, double y1,
                    std::vector<Pt>& work);

// Calls add(cell index, area) for every cell the polygon overlaps, in grid
// order, with the overlap area (> 0).
template <class Add>
void spread_polygon(const TargetGrid& g, const std::vector<Pt>& ring, std::vector<Pt>& work,
                    Add&& add);

// The same for an axis-aligned rectangle: the overlaps are products of
// interval lengths.
template <class Add>
void spread_rect(const TargetGrid& g, double xa, double xb, double ya, double yb, Add&& add);

// Columns and rows touched by [xa, xb] x [ya, yb], clamped to the grid;
// false when it misses the grid.
bool cell_range(const TargetGrid& g, double xa, double xb, double ya, double yb, int& c0,
                int& c1, int& r0, int& r1);

template <class Add>
void spread_polygon(const TargetGrid& g, const std::vector<Pt>& ring, std::vector<Pt>& work,
                    Add&& add) {
  if (ring.size() < 3) return;
  double xa = ring[0].x, xb = xa, ya = ring[0].y, yb = ya;
  for (const Pt& p : ring) {
    if (p.x < xa) xa = p.x;
    if (p.x > xb) xb = p.x;
    if (p.y < ya) ya = p.y;
    if (p.y > yb) yb = p.y;
  }
  int c0, c1, r0, r1;
  if (!cell_range(g, xa, xb, ya, yb, c0, c1, r0, r1)) return;
  for (int r = r0; r <= r1; ++r)
    for (int c = c0; c <= c1; ++c) {
      const double a = clipped_area(ring, g.xw(c), g.xw(c + 1), g.ys(r), g.ys(r - 1), work);
      if (a > 0.0) add(g.index(c, r), a);
    }
}

template <class Add>
void spread_rect(const TargetGrid& g, double xa, double xb, double ya, double yb, Add&& add) {
  int c0, c1, r0, r1;
  if (!cell_range(g, xa, xb, ya, yb, c0, c1, r0, r1)) return;
  for (int r = r0; r <= r1; ++r) {
    const double h = std::min(yb, g.ys(r - 1)) - std::max(ya, g.ys(r));
    if (!(h > 0.0)) continue;
    for (int c = c0; c <= c1; ++c) {
      const double w = std::min(xb, g.xw(c + 1)) - std::max(xa, g.xw(c));
      if (w > 0.0) add(g.index(c, r), w * h);
    }
  }
}

}  // namespace vadz
