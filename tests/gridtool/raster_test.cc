// vadz grid raster on small GeoTIFFs made in the test: totals conserved,
// cells equal to an exact overlap computation, means, majorities, nodata.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "gridtool/gis_fixture.h"
#include "gridtool/overlay.h"
#include "gridtool/raster_source.h"
#include "gridtool/target_grid.h"
#include "support/testutil.h"

namespace vadz {
namespace {

using test::grid_values;
using test::make_raster;
using test::run_vadz;
using test::TempDir;
using test::write_file;

// 10 rows by 12 columns of one-mile cells in Kansas North, US survey feet.
const std::string PAR = "GRID 10 12 5280 1300000 700000\nCRS EPSG:3419\n";
constexpr double X0 = 1300000, Y0 = 700000, CELL = 5280;
constexpr int NR = 10, NC = 12;
const double NODATA = -9999;

double total(const std::vector<double>& v) {
  double s = 0;
  for (double x : v) s += x;
  return s;
}

double overlap(double a0, double a1, double b0, double b1) {
  return std::max(0.0, std::min(a1, b1) - std::max(a0, b0));
}

// Pixels of 1234.5 by 987.25 feet that align with nothing, some without
// data: every cell is the overlap-weighted sum worked out here cell by cell.
TEST(GridRaster, SumSameCrsEqualsExactOverlap) {
  TempDir d;
  write_file(d / "g.par", PAR);
  const int w = 30, h = 40;
  const double px = 1234.5, py = 987.25, left = 1301234.5, top = 751000;
  std::vector<double> v(w * h);
  double valid_total = 0;
  for (int j = 0; j < h; ++j)
    for (int i = 0; i < w; ++i) {
      const bool hole = (i + j) % 17 == 0;
      v[j * w + i] = hole ? NODATA : 1 + (i * 7 + j * 13) % 11 + 0.125 * i;
      if (!hole) valid_total += v[j * w + i];
    }
  make_raster(d / "in.tif", w, h, {left, px, 0, top, 0, -py}, "EPSG:3419", v, NODATA);
  const auto res = run_vadz(d.path(), {"grid", "raster", "g.par", "in.tif", "out.txt", "--sum",
                                       "--fill", "0"});
  ASSERT_EQ(res.status, 0) << res.out << res.err;
  const std::vector<double> got = grid_values(d / "out.txt");
  ASSERT_EQ(got.size(), static_cast<size_t>(NR * NC));
  for (int r = 1; r <= NR; ++r)
    for (int c = 1; c <= NC; ++c) {
      const double cx0 = X0 + (c - 1) * CELL, cy0 = Y0 + (NR - r) * CELL;
      double want = 0;
      for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i) {
          if (v[j * w + i] == NODATA) continue;
          const double a = overlap(left + i * px, left + (i + 1) * px, cx0, cx0 + CELL) *
                           overlap(top - (j + 1) * py, top - j * py, cy0, cy0 + CELL);
          want += v[j * w + i] * (a / (px * py));
        }
      EXPECT_NEAR(got[(r - 1) * NC + c - 1], want, 1e-9 * std::max(1.0, want)) << r << " " << c;
    }
  EXPECT_NEAR(total(got), valid_total, 1e-9 * valid_total);
}

// A UTM raster in metres onto the feet grid: the total is kept, and every
// cell is within 1e-6 of an overlay with outlines of 256 points per edge.
TEST(GridRaster, SumAcrossCrsConservesAndMatchesFineOutlines) {
  TempDir d;
  write_file(d / "g.par", PAR);
  std::vector<double> x{1310000}, y{740000};
  test::transform_points("EPSG:3419", "EPSG:26914", x, y);
  const int w = 60, h = 50;
  std::vector<double> v(w * h);
  for (int k = 0; k < w * h; ++k) v[k] = 1 + (k * 37) % 23;
  make_raster(d / "utm.tif", w, h, {x[0], 100, 0, y[0], 0, -100}, "EPSG:26914", v, NODATA);
  const auto res = run_vadz(d.path(), {"grid", "raster", "g.par", "utm.tif", "out.txt", "--sum",
                                       "--fill", "0"});
  ASSERT_EQ(res.status, 0) << res.out << res.err;
  EXPECT_NE(res.out.find(" coordinate operation: Inverse of UTM zone 14N + SPCS83 Kansas North "
                         "zone (US Survey feet)\r\n"),
            std::string::npos)
      << res.out;
  const std::vector<double> got = grid_values(d / "out.txt");
  EXPECT_NEAR(total(got), total(v), 1e-9 * total(v));

  const TargetGrid g = read_target_grid(d / "g.par");
  const Overlay fine = overlay_raster(read_raster_band(d / "utm.tif", 1), g, Method::Sum, 256);
  for (size_t k = 0; k < got.size(); ++k)
    EXPECT_NEAR(got[k], fine.weighted[k], 1e-6 * std::max(1e-3, std::fabs(fine.weighted[k]))) << k;
}

TEST(GridRaster, MeanOfConstantIsConstant) {
  TempDir d;
  write_file(d / "g.par", PAR);
  std::vector<double> x{1305000}, y{745000};
  test::transform_points("EPSG:3419", "EPSG:26914", x, y);
  make_raster(d / "c.tif", 70, 60, {x[0], 250, 0, y[0], 0, -250}, "EPSG:26914",
              std::vector<double>(70 * 60, 3.25), NODATA);
  const auto res = run_vadz(d.path(), {"grid", "raster", "g.par", "c.tif", "out.txt", "--mean",
                                       "--fill", "-1"});
  ASSERT_EQ(res.status, 0) << res.out << res.err;
  int covered = 0;
  for (double got : grid_values(d / "out.txt")) {
    if (got == -1) continue;
    ++covered;
    EXPECT_NEAR(got, 3.25, 1e-12);
  }
  EXPECT_GT(covered, 50);
}

// Two classes split along x = 1329000, inside column 6 (1326400..1331680):
// class 2 covers the larger part of column 6. The flag file of the same
// raster names the classes as zones.
TEST(GridRaster, MajorityFollowsTheSplit) {
  TempDir d;
  write_file(d / "g.par", PAR);
  const int w = 317, h = 264;
  std::vector<double> v(w * h);
  for (int j = 0; j < h; ++j)
    for (int i = 0; i < w; ++i) v[j * w + i] = X0 + (i + 0.5) * 200 < 1329000 ? 10 : 20;
  make_raster(d / "cls.tif", w, h, {X0, 200, 0, Y0 + NR * CELL, 0, -200}, "EPSG:3419", v, NODATA);
  auto res = run_vadz(d.path(), {"grid", "raster", "g.par", "cls.tif", "out.txt", "--majority"});
  ASSERT_EQ(res.status, 0) << res.out << res.err;
  const std::vector<double> got = grid_values(d / "out.txt");
  for (int r = 1; r <= NR; ++r)
    for (int c = 1; c <= NC; ++c) EXPECT_EQ(got[(r - 1) * NC + c - 1], c <= 5 ? 10 : 20);

  res = run_vadz(d.path(), {"grid", "flags", "g.par", "cls.tif", "zones.txt"});
  ASSERT_EQ(res.status, 0) << res.out << res.err;
  std::vector<std::string> want{"10 20"};
  for (int r = 1; r <= NR; ++r) want.push_back("111112222222");
  EXPECT_EQ(test::read_file(d / "zones.txt"), test::crlf(want));
  EXPECT_EQ(res.out,
            " 2 zones: 1 10, 2 20\r\n 0 cells partly covered, 0 cells without data (0 of them "
            "active); uncovered cells are zone 0\r\n");
}

// Quarter-cell pixels of 1 over the whole grid: 16 in every cell, the
// summary line, and the binary form.
TEST(GridRaster, AlignedSummaryAndBinary) {
  TempDir d;
  write_file(d / "g.par", PAR);
  make_raster(d / "one.tif", 4 * NC, 4 * NR, {X0, 1320, 0, Y0 + NR * CELL, 0, -1320}, "EPSG:3419",
              std::vector<double>(16 * NR * NC, 1.0), NODATA);
  const auto res =
      run_vadz(d.path(), {"grid", "raster", "g.par", "one.tif", "out.bin", "--sum", "--bin"});
  ASSERT_EQ(res.status, 0) << res.out << res.err;
  EXPECT_EQ(res.out,
            " source total 1920 (inside the grid 1920), written total 1920; 0 cells partly "
            "covered, 0 cells without data (0 of them active)\r\n");
  const std::string bin = test::read_file(d / "out.bin");
  ASSERT_EQ(bin.size(), 8u + 8u * NR * NC);
  for (int k = 0; k < NR * NC; ++k) {
    double x;
    std::copy(bin.data() + 4 + 8 * k, bin.data() + 12 + 8 * k, reinterpret_cast<char*>(&x));
    EXPECT_EQ(x, 16.0);
  }
}

// Cells the raster does not reach stop the command without --fill.
TEST(GridRaster, CellsWithoutDataStop) {
  TempDir d;
  write_file(d / "g.par", PAR);
  make_raster(d / "part.tif", 2, 2, {X0 + 5280, 5280, 0, Y0 + 5280 * 3, 0, -5280}, "EPSG:3419",
              {1, 2, 3, NODATA}, NODATA);
  const auto res = run_vadz(d.path(), {"grid", "raster", "g.par", "part.tif", "o.txt", "--mean"});
  EXPECT_EQ(res.status, 1);
  EXPECT_EQ(res.out, " 117 cells without data, first at row 1 column 1\r\n");
  EXPECT_EQ(res.err,
            "row 1, column 1 (1302640, 750160): error: no valid source area in this cell\r\n"
            "hint: give --fill V for cells the source does not cover (its nodata or beyond its "
            "edge)\r\n");
  EXPECT_FALSE(test::exists(d / "o.txt"));
}

}  // namespace
}  // namespace vadz
