#include "utl/grid.h"

#include <gtest/gtest.h>

#include <string>

namespace vadz {
namespace {

// The default grid's factors are the constants the model files were always
// written with: 12/640 in single precision, 640/12.
TEST(GridTest, DefaultFactors) {
  GridGeometry g;
  ASSERT_EQ(make_grid(165, 326, 5280.0, 266023.0, 14092806.0, g, 0), "");
  EXPECT_TRUE(g.is_default());
  EXPECT_EQ(g.ncell, 53790);
  EXPECT_EQ(g.acres, 640.0);
  EXPECT_EQ(g.af_to_inches, 0.01875);
  EXPECT_EQ(g.rch_inches, static_cast<double>(0.01875f));
  EXPECT_EQ(g.inches_to_af, 53.333333333333336);
  EXPECT_EQ(g.maxwel, 14000);
  const GridGeometry d;
  EXPECT_EQ(d.acres, g.acres);
  EXPECT_EQ(d.rch_inches, g.rch_inches);
  EXPECT_EQ(d.inches_to_af, g.inches_to_af);
  EXPECT_EQ(extent_text(d), "x 266,023 to 1,987,303, y 14,092,806 to 14,964,006 feet");
}

TEST(GridTest, HalfMileCells) {
  GridGeometry g;
  g.crs_name = "NAD83 / Kansas North (ftUS)";
  ASSERT_EQ(make_grid(60, 90, 2640.0, 1000000.0, 300000.0, g, 0), "");
  EXPECT_FALSE(g.is_default());
  EXPECT_EQ(g.acres, 160.0);
  EXPECT_EQ(g.af_to_inches, 0.075);
  EXPECT_EQ(g.rch_inches, static_cast<double>(0.075f));
  EXPECT_EQ(g.maxwel, 5400);
  EXPECT_EQ(extent_text(g),
            "x 1,000,000 to 1,237,600, y 300,000 to 458,400 feet in NAD83 / Kansas North (ftUS)");
}

TEST(GridTest, RefusedGrids) {
  const struct {
    int nrow, ncol;
    double cell;
    unsigned long long memory;
    const char* why;
  } cases[] = {
      {0, 90, 2640, 0, "rows and columns must be 1 or more"},
      {60, -1, 2640, 0, "rows and columns must be 1 or more"},
      {60, 90, 0, 0, "cell size must be more than 0"},
      {60, 90, -10, 0, "cell size must be more than 0"},
      {100000, 100000, 10, 0, "more than 268435455 cells"},
      {1000, 1000, 10, 512ull << 20,
       "1000000 cells need about 953 MiB of memory, more than the machine's 512 MiB"},
  };
  for (const auto& c : cases) {
    GridGeometry g;
    EXPECT_EQ(make_grid(c.nrow, c.ncol, c.cell, 0.0, 0.0, g, c.memory), c.why) << c.why;
    EXPECT_TRUE(g.is_default());
  }
}

}  // namespace
}  // namespace vadz
