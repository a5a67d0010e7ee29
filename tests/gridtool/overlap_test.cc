// Exact overlap areas of polygons with grid cells.
#include "gridtool/overlap.h"

#include <gtest/gtest.h>

namespace vadz {
namespace {

TargetGrid small_grid() {
  TargetGrid g;
  g.nrow = 3;
  g.ncol = 4;
  g.cell = 10.0;
  g.x0 = 1000.0;
  g.y0 = 2000.0;
  g.ibound.assign(12, 1);
  return g;
}

// A diamond centred on a cell corner: each of the four cells around the
// corner takes a quarter; its clipped areas add up to its own.
TEST(Overlap, DiamondSplitsIntoQuarters) {
  const TargetGrid g = small_grid();
  const std::vector<Pt> diamond{{1020, 2005}, {1025, 2010}, {1020, 2015}, {1015, 2010}};
  std::vector<Pt> work;
  double total = 0.0;
  std::vector<double> area(12, 0.0);
  spread_polygon(g, diamond, work, [&](long k, double a) {
    area[static_cast<size_t>(k)] += a;
    total += a;
  });
  EXPECT_DOUBLE_EQ(total, 50.0);
  // Corner (1020, 2010): columns 2 and 3, rows 2 and 3 (row 1 is north).
  for (long k : {g.index(2, 2), g.index(3, 2), g.index(2, 3), g.index(3, 3)})
    EXPECT_DOUBLE_EQ(area[static_cast<size_t>(k)], 12.5);
}

TEST(Overlap, RectangleMatchesPolygon) {
  const TargetGrid g = small_grid();
  std::vector<double> a(12, 0.0), b(12, 0.0);
  std::vector<Pt> work;
  spread_rect(g, 1003.5, 1031.0, 2001.0, 2027.25, [&](long k, double v) { a[k] += v; });
  spread_polygon(g, {{1003.5, 2001.0}, {1031.0, 2001.0}, {1031.0, 2027.25}, {1003.5, 2027.25}},
                 work, [&](long k, double v) { b[k] += v; });
  for (size_t k = 0; k < 12; ++k) EXPECT_NEAR(a[k], b[k], 1e-9) << k;
}

}  // namespace
}  // namespace vadz
