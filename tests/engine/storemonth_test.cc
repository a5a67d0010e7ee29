#include "engine/storemonth.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <unistd.h>
#endif

#include <cfloat>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "input/gridio.h"
#include "support/testutil.h"
#include "utl/console.h"

namespace vadz {
namespace {

using test::TempDir;

using test::fatal_line;

TEST(StoreMonth, FileNames) {
  TempDir tmp;
  RealGrid g = real_grid(0.0);
  g[cell(5, 7)] = 2.5;
  struct Case {
    int year, month;
    std::string dir, ext, name;
  } cases[] = {
      {1950, -1, tmp.path(), "rpp", "1950.rpp"},
      {1950, 0, tmp.path() + "   ", "rpp  ", "1950.rpp"},  // trailing blanks dropped
      {1950, 7, tmp.path(), "rpp", "1950.07.rpp"},
      {1990, 10, tmp.path(), "x", "1990.10.x"},
      {2150, 12, tmp.path(), "x", "2150.12.x"},
      {0, 5, tmp.path(), "rcp", "steady.rcp"},
      {-1, -1, tmp.path(), "irr", "steady.irr"},
  };
  for (const Case& c : cases) {
    storemonth(g, 1.0, c.year, c.month, c.dir, c.ext, 0);
    EXPECT_TRUE(test::exists(tmp / c.name)) << c.name;
  }
}

// Values that need all 17 significant digits, signed zero, the ends of the
// fixed form and the exponent form must come back exactly.
TEST(StoreMonth, RoundTripTextAndBinary) {
  const std::vector<double> specials = {1e-300, -0.0, 1e17, 0.1, 0.09999999999999999,
                                        99999999999999984.0, 1.0 / 3.0, -2.0 / 3.0, 5e-324,
                                        DBL_MAX / 640.0, -123456.78901234567, 1e-5, 7.0};
  for (int ibin : {0, 1}) {
    TempDir tmp;
    RealGrid g = real_grid(0.0);
    for (size_t i = 0; i < specials.size(); ++i) g[i * 4001] = specials[i];
    for (int i = 0; i < NCELL; i += 7) g[i] = g[i] + i * 0.37;
    storemonth(g, 640.0, 1950, -1, tmp.path(), "irr", ibin);
    GridReader reader(ibin);
    RealGrid back = real_grid(-9.0);
    reader.readfile(back, tmp.path(), "1950", "irr", 1);
    for (int i = 0; i < NCELL; ++i) {
      const double want = 640.0 * g[i];
      ASSERT_EQ(std::memcmp(&back[i], &want, 8), 0)
          << "ibin " << ibin << " cell " << i << " wrote " << want << " read " << back[i];
    }
  }
}

TEST(StoreMonth, TextLayout) {
  TempDir tmp;
  RealGrid g = real_grid(0.0);
  g[cell(1, 1)] = 1.0;
  g[cell(2, 1)] = -1.5;
  g[cell(326, 165)] = 0.01;
  storemonth(g, 1.0, 1950, -1, tmp.path(), "rpp", 0);
  const std::string s = test::read_file(tmp / "1950.rpp");
  const std::string zero = "  0.0000000000000000     ";
  ASSERT_EQ(s.size(), 165u * 8478u);
  std::string row1 = " " + std::string("  1.0000000000000000     ") + " " +
                     std::string(" -1.5000000000000000     ");
  for (int c = 3; c <= 326; ++c) row1 += " " + zero;
  row1 += "\r\n";
  EXPECT_EQ(s.substr(0, 8478), row1);
  std::string last = " " + zero;
  for (int c = 2; c <= 325; ++c) last += " " + zero;
  last += "   1.0000000000000000E-002\r\n";
  EXPECT_EQ(s.substr(164u * 8478u), last);
}

TEST(StoreMonth, BinaryFraming) {
  TempDir tmp;
  RealGrid g = real_grid(0.0);
  g[0] = 1.0;
  g[NCELL - 1] = -2.0;
  storemonth(g, 1.0, 1951, -1, tmp.path(), "b", 1);
  const std::string s = test::read_file(tmp / "1951.b");
  ASSERT_EQ(s.size(), 430328u);
  const std::string count("\xF0\x90\x06\x00", 4);  // 430,320 little-endian
  EXPECT_EQ(s.substr(0, 4), count);
  EXPECT_EQ(s.substr(430324), count);
  EXPECT_EQ(s.substr(4, 8), std::string("\x00\x00\x00\x00\x00\x00\xF0\x3F", 8));
  EXPECT_EQ(s.substr(430316, 8), std::string("\x00\x00\x00\x00\x00\x00\x00\xC0", 8));
}

TEST(StoreMonth, NothingWrittenForZeroFactorOrZeroGrid) {
  TempDir tmp;
  RealGrid zero = real_grid(0.0);
  RealGrid g = real_grid(0.0);
  g[100] = 3.0;
  storemonth(g, 0.0, 1950, -1, tmp.path(), "a", 0);
  EXPECT_FALSE(test::exists(tmp / "1950.a"));
  // A file of an earlier run goes: it would read as this run's grid.
  test::write_file(tmp / "1950.b", "old");
  storemonth(zero, 640.0, 1950, -1, tmp.path(), "b", 1);
  EXPECT_FALSE(test::exists(tmp / "1950.b"));
  // Values of opposite sign do not cancel: the test is on absolute values.
  RealGrid pm = real_grid(0.0);
  pm[0] = 1.0;
  pm[1] = -1.0;
  storemonth(pm, 1.0, 1950, -1, tmp.path(), "c", 0);
  EXPECT_TRUE(test::exists(tmp / "1950.c"));
}

TEST(StoreMonth, ReplacesAnOlderLongerFile) {
  TempDir tmp;
  test::write_file(tmp / "1950.a", std::string(500000, 'x'));
  RealGrid g = real_grid(0.5);
  storemonth(g, 1.0, 1950, -1, tmp.path(), "a", 1);
  EXPECT_EQ(test::read_file(tmp / "1950.a").size(), 430328u);
}

TEST(StoreMonth, Failures) {
  TempDir tmp;
  RealGrid g = real_grid(1.0);
  const std::string missing = tmp / "nodir";
  EXPECT_EQ(fatal_line([&] { storemonth(g, 1.0, 1950, -1, missing, "a", 0); }),
            " Cannot open file " + missing + "/1950.a\r\n");
#ifndef _WIN32
  // A device that is always full: every write fails.
  if (test::exists("/dev/full")) {
    ASSERT_EQ(symlink("/dev/full", (tmp / "1950.full").c_str()), 0);
    for (int ibin : {0, 1}) {
      EXPECT_EQ(fatal_line([&] { storemonth(g, 1.0, 1950, -1, tmp.path(), "full", ibin); }),
                " Cannot write to file " + tmp.path() + "/1950.full\r\n");
    }
  }
#endif
}

}  // namespace
}  // namespace vadz
