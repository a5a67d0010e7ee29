// vadz grid as the user calls it: through vadz, on the default grid.
#include <gtest/gtest.h>

#include "gridtool/gis_fixture.h"
#include "support/testutil.h"

namespace vadz {
namespace {

using test::run_vadz;
using test::TempDir;
using test::write_file;

// "grid" is the command only before one of its words; alone it is still
// the name of a parameter file.
TEST(GridCommand, RunsThroughVadzAndLeavesParameterFileNames) {
  TempDir d;
  auto r = run_vadz(d.path(), {"grid", "--help"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out.rfind("Usage: vadz grid raster <parameter file>", 0), 0u) << r.out;
  r = run_vadz(d.path(), {"grid"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, " Error opening parameter file\r\n");
  r = run_vadz(d.path(), {"grid", "raster", "none.par", "a.tif", "o.txt"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out,
            " usage: vadz grid raster <parameter file> <raster> <output grid> "
            "--sum|--mean|--majority [--band N] [--scale F] [--fill V] [--bin]\r\n");
}

// Without GRID the grid is the run's own, IBOUND read by the run's reader:
// a well at the centre of cell (row 2, column 3) of the example, whose
// IBOUND marks the edges inactive, goes to the steady file in binary form.
TEST(GridCommand, DefaultGridWithTheExampleIbound) {
  TempDir d;
  test::make_example(d.path());
  write_file(d / "g.par", "IBOUND ibound.txt\n");
  const double x = 266023 + 2.5 * 5280, y = 14092806 + 163.5 * 5280;
  write_file(d / "w.csv", "x,y,af\n" + std::to_string(x) + "," + std::to_string(y) + ",12.5\n");
  const auto r = run_vadz(d.path(), {"grid", "points", "g.par", "w.csv", "out", "--x", "x", "--y",
                                     "y", "--value", "af", "--bin"});
  ASSERT_EQ(r.status, 0) << r.out << r.err;
  EXPECT_EQ(r.out,
            " 1 records, total 12.5, in 1 files\r\n"
            " 1 records in inactive cells, total 12.5, first on line 2 (written)\r\n");
  const std::string bin = test::read_file(d / "out/steady.pmp");
  ASSERT_EQ(bin.size(), 8u + 8u * 53790u);
  double v = 0;
  std::copy(bin.data() + 4 + 8 * (326 + 2), bin.data() + 12 + 8 * (326 + 2),
            reinterpret_cast<char*>(&v));
  EXPECT_EQ(v, 12.5);
}

}  // namespace
}  // namespace vadz
