// vadz grid points and vadz grid flags (polygon layers) end to end.
#include <gtest/gtest.h>

#include <cstdio>

#include "gridtool/gis_fixture.h"
#include "support/testutil.h"

namespace vadz {
namespace {

using test::crlf;
using test::read_file;
using test::run_vadz;
using test::TempDir;
using test::write_file;

const std::string PAR = "GRID 10 12 5280 1300000 700000\nCRS EPSG:3419\nIBOUND ib.txt\n";

// Every cell active but column 1 of row 10, the south-west corner.
std::string ibound() {
  std::vector<std::string> rows(10, std::string(24, ' '));
  for (auto& r : rows)
    for (int c = 0; c < 12; ++c) r[2 * c + 1] = '1';
  rows[9][1] = '0';
  return crlf(rows);
}

std::string fmt(double v) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.10f", v);
  return buf;
}

// Wells given by their projected coordinates and by longitude and latitude
// land in the same cells: the two runs write the same files.
TEST(GridPoints, LonLatLandWhereProjectedDo) {
  TempDir d;
  write_file(d / "g.par", PAR);
  write_file(d / "ib.txt", ibound());
  struct Well {
    double x, y, af;
    int year, month;
  };
  const std::vector<Well> wells{{1312333, 716349, 10, 1990, 5},   {1312400, 716000, 2.5, 1990, 5},
                                {1302000, 702000, 4, 1990, 5},    {1290000, 710000, 7, 1990, 6},
                                {1362000, 752000, 1.25, 1991, 7}, {1330001, 730001, 3, 1990, 6}};
  std::string proj = "well,x,y,af,year,month\n";
  std::vector<double> x, y;
  for (const Well& w : wells) {
    x.push_back(w.x);
    y.push_back(w.y);
  }
  test::transform_points("EPSG:3419", "EPSG:4326", x, y);
  std::string geo = "well,lon,lat,af,year,month\n";
  for (size_t k = 0; k < wells.size(); ++k) {
    const Well& w = wells[k];
    const std::string tail = "," + fmt(w.af) + "," + std::to_string(w.year) + "," +
                             std::to_string(w.month) + "\n";
    proj += "w" + std::to_string(k) + "," + fmt(w.x) + "," + fmt(w.y) + tail;
    geo += "w" + std::to_string(k) + "," + fmt(x[k]) + "," + fmt(y[k]) + tail;
  }
  write_file(d / "proj.csv", proj);
  write_file(d / "geo.csv", geo);
  const auto a = run_vadz(d.path(), {"grid", "points", "g.par", "proj.csv", "a", "--x", "x", "--y",
                                     "y", "--value", "af", "--year", "year", "--month", "month"});
  ASSERT_EQ(a.status, 0) << a.out << a.err;
  EXPECT_EQ(a.out,
            " 6 records, total 27.75, in 3 files\r\n"
            " 1 records outside the grid, total 7, first on line 5 (not written)\r\n"
            " 1 records in inactive cells, total 4, first on line 4 (written)\r\n");
  const auto b = run_vadz(d.path(), {"grid", "points", "g.par", "geo.csv", "b", "--x", "lon",
                                     "--y", "lat", "--value", "af", "--year", "year", "--month",
                                     "month", "--crs", "EPSG:4326"});
  ASSERT_EQ(b.status, 0) << b.out << b.err;
  for (const char* f : {"1990.05.pmp", "1990.06.pmp", "1991.07.pmp"})
    EXPECT_EQ(read_file(d / (std::string("a/") + f)), read_file(d / (std::string("b/") + f))) << f;
  // 1990.05: 12.5 af in row 7 column 3, 4 af in the inactive corner.
  const std::vector<double> may = test::grid_values(d / "a/1990.05.pmp");
  EXPECT_EQ(may[6 * 12 + 2], 12.5);
  EXPECT_EQ(may[9 * 12 + 0], 4.0);
  EXPECT_FALSE(test::exists(d / "a/1990.06.rcg"));
}

TEST(GridPoints, YearlyKindsNeedAYear) {
  TempDir d;
  write_file(d / "g.par", PAR);
  write_file(d / "ib.txt", ibound());
  write_file(d / "p.csv", "x,y,ac\n1312333,716349,40\n");
  auto r = run_vadz(d.path(), {"grid", "points", "g.par", "p.csv", "o", "--x", "x", "--y", "y",
                               "--value", "ac", "--kind", "agw"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, " Kind agw is read per year: give --year\r\n");
  r = run_vadz(d.path(), {"grid", "points", "g.par", "p.csv", "o", "--x", "x", "--y", "y",
                          "--value", "ac", "--kind", "mi"});
  EXPECT_EQ(r.status, 0) << r.out;
  EXPECT_TRUE(test::exists(d / "o/steady.mi"));
}

// Soils as polygons, one with a hole, in the grid's CRS and in UTM: each cell
// takes the soil covering most of it.
TEST(GridFlags, PolygonLayerByMajority) {
  TempDir d;
  write_file(d / "g.par", PAR);
  write_file(d / "ib.txt", ibound());
  // Sand west of x = 1328000 (inside column 6), loam east of it; the loam
  // polygon has a hole over the cell of row 5, column 10 and a bit more.
  const std::vector<std::pair<std::string, std::string>> soils{
      {"POLYGON((1300000 700000,1328000 700000,1328000 752800,1300000 752800,1300000 700000))",
       "sand"},
      {"POLYGON((1328000 700000,1363360 700000,1363360 752800,1328000 752800,1328000 700000),"
       "(1346000 726000,1353000 726000,1353000 732000,1346000 732000,1346000 726000))",
       "loam"}};
  test::make_layer(d / "soils.gpkg", "EPSG:3419", soils);
  auto r = run_vadz(d.path(), {"grid", "flags", "g.par", "soils.gpkg", "soil.txt", "--attribute",
                               "name"});
  ASSERT_EQ(r.status, 0) << r.out << r.err;
  std::vector<std::string> want{"loam sand"};
  for (int row = 1; row <= 10; ++row)
    want.push_back(row == 5 ? "222221111011" : "222221111111");
  EXPECT_EQ(read_file(d / "soil.txt"), crlf(want));
  EXPECT_EQ(r.out,
            " 2 zones: 1 loam, 2 sand\r\n 8 cells partly covered, 1 cells without data (1 of them "
            "active); uncovered cells are zone 0\r\n");

  // The same layer in UTM 14N (its edges densified so that they stay lines
  // in the grid's CRS).
  std::vector<std::pair<std::string, std::string>> utm;
  for (const auto& [wkt, name] : soils) {
    std::string out = "POLYGON(";
    size_t at = std::string("POLYGON(").size();
    while (at < wkt.size() && wkt[at] == '(') {
      const size_t end = wkt.find(')', at);
      std::vector<double> xs, ys;
      for (const std::string& p : test::split(wkt.substr(at + 1, end - at - 1), ',')) {
        double px = 0, py = 0;
        std::sscanf(p.c_str(), "%lf %lf", &px, &py);
        xs.push_back(px);
        ys.push_back(py);
      }
      std::vector<double> dx, dy;
      for (size_t i = 0; i + 1 < xs.size(); ++i)
        for (int s = 0; s < 200; ++s) {
          dx.push_back(xs[i] + (xs[i + 1] - xs[i]) * s / 200.0);
          dy.push_back(ys[i] + (ys[i + 1] - ys[i]) * s / 200.0);
        }
      dx.push_back(xs.back());
      dy.push_back(ys.back());
      test::transform_points("EPSG:3419", "EPSG:26914", dx, dy);
      out += at > 8 ? ",(" : "(";
      for (size_t i = 0; i < dx.size(); ++i)
        out += (i ? "," : "") + fmt(dx[i]) + " " + fmt(dy[i]);
      out += ")";
      at = end + 2;
    }
    utm.emplace_back(out + ")", name);
  }
  test::make_layer(d / "soils_utm.gpkg", "EPSG:26914", utm);
  r = run_vadz(d.path(), {"grid", "flags", "g.par", "soils_utm.gpkg", "soil2.txt", "--attribute",
                          "name"});
  ASSERT_EQ(r.status, 0) << r.out << r.err;
  EXPECT_EQ(read_file(d / "soil2.txt"), crlf(want));

  // Zones in the order the recharge curves take them.
  r = run_vadz(d.path(), {"grid", "flags", "g.par", "soils.gpkg", "soil3.txt", "--attribute",
                          "name", "--zones", "sand,loam,clay"});
  ASSERT_EQ(r.status, 0) << r.out << r.err;
  want[0] = "sand loam clay";
  for (size_t k = 1; k < want.size(); ++k)
    for (char& ch : want[k]) ch = ch == '1' ? '2' : ch == '2' ? '1' : ch;
  EXPECT_EQ(read_file(d / "soil3.txt"), crlf(want));
}

}  // namespace
}  // namespace vadz
