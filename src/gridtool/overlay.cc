#include "gridtool/overlay.h"

#include <algorithm>
#include <cmath>

#include "gridtool/crs_transform.h"
#include "gridtool/overlap.h"

namespace vadz {

namespace {

constexpr double CONVERGED = 1e-9;

struct Acc {
  Overlay& o;
  Method m;
  // One pixel of value v and area A overlapping cell k by a.
  void add(long k, double v, double a, double A) {
    const size_t i = static_cast<size_t>(k);
    o.area[i] += a;
    if (m == Method::Sum) {
      o.weighted[i] += v * (a / A);
      o.inside_total += v * (a / A);
    } else {
      o.weighted[i] += v * a;
    }
    if (m == Method::Majority) add_class(o.classes[i], v, a);
  }
};

// Same CRS: pixels are rectangles (or parallelograms) in grid coordinates.
void overlay_same(const RasterBand& b, const TargetGrid& g, Acc& acc) {
  std::vector<Pt> ring(4), work;
  const double A = std::fabs(b.gt[1] * b.gt[5] - b.gt[2] * b.gt[4]);
  for (int j = 0; j < b.height; ++j)
    for (int i = 0; i < b.width; ++i) {
      const size_t k = static_cast<size_t>(j) * static_cast<size_t>(b.width) + i;
      if (!b.valid[k]) continue;
      const double v = b.value[k];
      acc.o.source_total += v;
      auto add = [&](long cell, double a) { acc.add(cell, v, a, A); };
      if (b.axis_aligned()) {
        const double xa = b.px(i, j), xb = b.px(i + 1, j);
        const double ya = b.py(i, j), yb = b.py(i, j + 1);
        spread_rect(g, std::min(xa, xb), std::max(xa, xb), std::min(ya, yb), std::max(ya, yb),
                    add);
      } else {
        ring[0] = {b.px(i, j), b.py(i, j)};
        ring[1] = {b.px(i + 1, j), b.py(i + 1, j)};
        ring[2] = {b.px(i + 1, j + 1), b.py(i + 1, j + 1)};
        ring[3] = {b.px(i, j + 1), b.py(i, j + 1)};
        spread_polygon(g, ring, work, add);
      }
    }
}

// Another CRS: each pixel's outline, n points per edge, transformed. The
// points lie on the lines between pixel rows and columns and are transformed
// once for the two pixels that share them, so neighbours meet exactly: no
// area is lost or counted twice between them.
void overlay_other(const RasterBand& b, const TargetGrid& g, CrsTransform& tr, int n,
                   Acc& acc) {
  const size_t W = static_cast<size_t>(b.width), N = static_cast<size_t>(n);
  // A row line v = const: points u = i + s/n, i = 0..W-1, s = 0..n-1, and u = W.
  auto row_line = [&](int v, std::vector<double>& x, std::vector<double>& y) {
    x.resize(W * N + 1);
    y.resize(W * N + 1);
    for (size_t q = 0; q <= W * N; ++q) {
      const double u = static_cast<double>(q / N) + static_cast<double>(q % N) / n;
      x[q] = b.px(u, v);
      y[q] = b.py(u, v);
    }
    tr.apply(x.data(), y.data(), x.size());
  };
  std::vector<double> tx, ty, bx, by, vx, vy;
  std::vector<Pt> ring(4 * N), work;
  row_line(0, tx, ty);
  for (int j = 0; j < b.height; ++j) {
    const size_t rowk = static_cast<size_t>(j) * W;
    row_line(j + 1, bx, by);
    // Column lines u = i between the row lines: v = j + s/n, s = 1..n-1.
    vx.resize((W + 1) * (N - 1));
    vy.resize(vx.size());
    for (size_t i = 0; i <= W; ++i)
      for (size_t s = 1; s < N; ++s) {
        const double v = j + static_cast<double>(s) / n;
        vx[i * (N - 1) + s - 1] = b.px(static_cast<double>(i), v);
        vy[i * (N - 1) + s - 1] = b.py(static_cast<double>(i), v);
      }
    tr.apply(vx.data(), vy.data(), vx.size());
    for (size_t i = 0; i < W; ++i) {
      if (!b.valid[rowk + i]) continue;
      const double v = b.value[rowk + i];
      acc.o.source_total += v;
      // Counter-clockwise in pixel space: top, right side, bottom, left side.
      size_t m = 0;
      for (size_t s = 0; s < N; ++s) ring[m++] = {tx[i * N + s], ty[i * N + s]};
      ring[m++] = {tx[(i + 1) * N], ty[(i + 1) * N]};
      for (size_t s = 1; s < N; ++s)
        ring[m++] = {vx[(i + 1) * (N - 1) + s - 1], vy[(i + 1) * (N - 1) + s - 1]};
      for (size_t s = 0; s < N; ++s) ring[m++] = {bx[(i + 1) * N - s], by[(i + 1) * N - s]};
      ring[m++] = {bx[i * N], by[i * N]};
      for (size_t s = N - 1; s >= 1; --s)
        ring[m++] = {vx[i * (N - 1) + s - 1], vy[i * (N - 1) + s - 1]};
      bool ok = true;
      for (const Pt& p : ring)
        if (!std::isfinite(p.x)) ok = false;
      if (!ok) {
        ++acc.o.unplaced;
        continue;
      }
      const double A = std::fabs(signed_area(ring));
      if (!(A > 0.0)) continue;
      spread_polygon(g, ring, work, [&](long cell, double a) { acc.add(cell, v, a, A); });
    }
    tx.swap(bx);
    ty.swap(by);
  }
}

// The largest change of a cell between two overlays, relative to what the
// cell holds when fully covered: the cell's area for the covered area, and
// the weighted value scaled up to the whole cell for the value. A sliver of
// a pixel at the cell's edge then counts by its effect on the cell, not by
// its own tiny size.
double largest_change(const Overlay& a, const Overlay& b, double cell_area) {
  double worst = 0.0;
  for (size_t k = 0; k < a.area.size(); ++k) {
    worst = std::max(worst, std::fabs(a.area[k] - b.area[k]) / cell_area);
    const double d = std::fabs(a.weighted[k] - b.weighted[k]);
    if (d == 0.0) continue;
    const double cover = std::max(std::fabs(a.area[k]), std::fabs(b.area[k]));
    const double full = std::max(std::fabs(a.weighted[k]), std::fabs(b.weighted[k])) *
                        std::max(1.0, cell_area / cover);
    worst = std::max(worst, d / full);
  }
  return worst;
}

}  // namespace

Overlay blank_overlay(const TargetGrid& g, Method m) {
  Overlay o;
  const size_t n = static_cast<size_t>(g.ncell());
  o.area.assign(n, 0.0);
  o.weighted.assign(n, 0.0);
  if (m == Method::Majority) o.classes.assign(n, {});
  return o;
}

void add_class(std::vector<std::pair<double, double>>& cls, double v, double a) {
  for (auto& p : cls)
    if (p.first == v) {
      p.second += a;
      return;
    }
  cls.emplace_back(v, a);
}

Overlay densify(const std::function<Overlay(int)>& pass, double cell_area, int density,
                int most) {
  if (density > 0) {
    Overlay o = pass(density);
    o.density = density;
    return o;
  }
  int n = 1;
  Overlay o = pass(n);
  o.density = n;
  while (n < most) {
    n *= 2;
    Overlay next = pass(n);
    next.density = n;
    next.last_change = largest_change(o, next, cell_area);
    o = std::move(next);
    if (o.last_change <= CONVERGED) break;
  }
  return o;
}

Overlay overlay_raster(const RasterBand& b, const TargetGrid& g, Method m, int density) {
  CrsTransform tr(b.crs, g.crs);
  if (tr.identity()) {
    Overlay o = blank_overlay(g, m);
    Acc acc{o, m};
    overlay_same(b, g, acc);
    return o;
  }
  Overlay o = densify(
      [&](int n) {
        Overlay p = blank_overlay(g, m);
        Acc acc{p, m};
        overlay_other(b, g, tr, n, acc);
        return p;
      },
      g.cell * g.cell, density);
  o.operations = tr.operations();
  return o;
}

}  // namespace vadz
