#include "input/curves.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "support/testutil.h"
#include "utl/console.h"
#include "utl/scan.h"

namespace vadz {
namespace {

using test::TempDir;

using test::fatal_line;

// A parameter file positioned as the keyword loop leaves it on FUNCTION:
// the keyword line cleaned, the scan column behind the keyword.
struct Block {
  explicit Block(const std::string& text) : file(text) {
    ls.file = &file;
    file.next(ls.line);
    linefix(ls.line);
    int status = 0;
    charin(ls.line, 1, ls.ipos, status);
  }
  ParamLines file;
  LineState ls;
};

// Reads a block; returns the table.
CurveTable read_block(const std::string& text, int nsoil) {
  Block b(text);
  CurveTable t;
  write_function_table(readfunction(b.ls, t, nsoil), t, nsoil);
  return t;
}

TEST(ReadFunction, TableFileBytes) {
  TempDir d;
  std::string name = d / "fn.txt";
  // Two soils; soil 2's irrigated curve overflows its F8.3 field.
  read_block("FUNCTION " + name + " 1\n0 0 0 0 0\n0.3 0.3 0.6 -3 30000\n", 2);
  EXPECT_EQ(test::read_file(name),
            test::crlf({"Precip Soil  1 Soil  1 Soil  2 Soil  2",
                        "   0.0   0.000   0.000   0.000   0.000",
                        "   0.1   0.100   0.200  -1.000********",
                        "   0.2   0.200   0.400  -2.000********"}));
}

TEST(ReadFunction, LinearAndQuadraticFit) {
  TempDir d;
  std::string name = d / "fn.txt";
  const std::string data = "0 0 0\n10 1 1\n20 5 5\n";
  CurveTable t1 = read_block("FUNCTION " + name + " 1\n" + data, 1);
  EXPECT_EQ(t1.ncurv, 201);
  EXPECT_EQ(t1.at(151, 1, 0), 15.0);
  EXPECT_EQ(t1.at(151, 1, 1), 3.0);
  EXPECT_EQ(t1.at(201, 2, 1), 5.0);
  std::string text = test::read_file(name);
  EXPECT_NE(text.find("\r\n  15.0   3.000   3.000\r\n"), std::string::npos);

  CurveTable t2 = read_block("FUNCTION " + name + " 2\n" + data, 1);
  // First interval slope 0.1; second b = 0.1, c = 0.03.
  EXPECT_NEAR(t2.at(151, 1, 1), 2.25, 1e-14);
  EXPECT_NEAR(t2.at(51, 2, 1), 0.5, 1e-15);
  EXPECT_EQ(t2.at(201, 1, 1), 5.0);
  text = test::read_file(name);
  EXPECT_NE(text.find("\r\n  15.0   2.250   2.250\r\n"), std::string::npos);
}

TEST(ReadFunction, BlockEndsAtFirstNonNumberAndPushesItBack) {
  TempDir d;
  Block b("FUNCTION \"" + (d / "f n.txt") + "\" 1 extra\n# note\n0.0 0 1\n\n\t\n10 1 2\n" +
          "STEADY 1950 1960\n20 9 9\n");
  CurveTable t;
  // The table file's name comes back, quotes gone; nothing is written yet.
  EXPECT_EQ(readfunction(b.ls, t, 1), d / "f n.txt");
  EXPECT_FALSE(test::exists(d / "f n.txt"));
  EXPECT_EQ(t.ncurv, 101);
  EXPECT_EQ(t.at(101, 2, 1), 2.0);
  std::string next;
  ASSERT_TRUE(b.file.next(next));
  EXPECT_EQ(next, "STEADY 1950 1960");

  // The end of the file also ends the block; nothing to push back.
  Block e("FUNCTION " + (d / "g.txt") + " 1\n0 0 0\n10 -1 -2");
  readfunction(e.ls, t, 1);
  EXPECT_EQ(t.at(101, 1, 1), -1.0);
  EXPECT_FALSE(e.file.next(next));
}

TEST(ReadFunction, TabulationPointCount) {
  TempDir d;
  struct Case {
    std::string pmax;
    int ncurv;
  } cases[] = {{"0.7", 7}, {"35.3", 353}, {"40", 401}, {"0.1", 2}, {"819.1", 8192},
               {"0.30000000000000004", 4}};
  for (const auto& k : cases) {
    CurveTable t = read_block("FUNCTION " + (d / "f.txt") + " 1\n0 0 0\n" + k.pmax + " 1 1\n", 1);
    EXPECT_EQ(t.ncurv, k.ncurv) << k.pmax;
    EXPECT_EQ(t.at(k.ncurv, 1, 0), (k.ncurv - 1) / 10.0);
  }
}

TEST(ReadFunction, Messages) {
  TempDir d;
  const std::string f = d / "f.txt";
  std::string many;
  for (int i = 0; i < 65; ++i) many += std::to_string(i) + " 0 0\n";
  struct Case {
    std::string text;
    int nsoil;
    std::string line;
  } cases[] = {
      {"FUNCTION " + f + " 1\n0 0 0\n1 1 1\n", 0, " No SOILs specified before FUNCTION\r\n"},
      {"FUNCTION   \t\n0 0 0\n", 1, " Invalid FUNCTION output file name FUNCTION\r\n"},
      {"FUNCTION \"open\n", 1, " Invalid FUNCTION output file name FUNCTION \"open\r\n"},
      {"FUNCTION out\n", 1, " Invalid FUNCTION spline type FUNCTION out\r\n"},
      {"FUNCTION out 3\n", 1, " Invalid FUNCTION spline type FUNCTION out 3\r\n"},
      {"FUNCTION out 1.0\n", 1, " Invalid FUNCTION spline type FUNCTION out 1.0\r\n"},
      {"FUNCTION out x\n", 1, " Invalid FUNCTION spline type FUNCTION out x\r\n"},
      {"FUNCTION " + f + " 1\n" + many, 1, " Too many FUNCTION data\r\n"},
      {"FUNCTION " + f + " 1\n0.001 0 0\n1 1 1\n", 1, " FUNCTION data must start at zero\r\n"},
      {"FUNCTION " + f + " 1\n0 0 0\n5 1 1\n5 2 2\n", 1,
       " FUNCTION data not monotone increasing\r\n"},
      {"FUNCTION " + f + " 1\n0 0 0\n5 1 1\n4 2 2\n", 1,
       " FUNCTION data not monotone increasing\r\n"},
      {"FUNCTION " + f + " 1\n0 0 0\n10 1\t \n", 1, " Invalid FUNCTION data 10 1\r\n"},
      {"FUNCTION " + f + " 1\n0 0 0 0 0\n10 1 1 1,5 1\n", 2,
       " Invalid FUNCTION data 10 1 1 1,5 1\r\n"},
      {"FUNCTION " + f + " 1\nNaN 0 0\n", 1, " Invalid FUNCTION data NaN 0 0\r\n"},
      {"FUNCTION " + f + " 1\n0 0 0\nInf 0 0\n", 1, " Invalid FUNCTION data Inf 0 0\r\n"},
      {"FUNCTION " + f + " 1\n0 0 0\n10 0 nan\n", 1, " Invalid FUNCTION data 10 0 nan\r\n"},
      {"FUNCTION " + f + " 1\n0 0 0\n819.2 1 1\n", 1, " FUNCTION range too large\r\n"},
      {"FUNCTION " + f + " 1\n0 0 0\n1e300 1 1\n", 1, " FUNCTION range too large\r\n"},
      {"FUNCTION " + f + " 1\n0 0 0\nSTEADY 1 2\n", 1, " Cannot fit spline to one point\r\n"},
      {"FUNCTION " + f + " 1\nSTEADY 1 2\n", 1, " Cannot fit spline to one point\r\n"},
      {"FUNCTION " + f + " 1\n", 1, " Cannot fit spline to one point\r\n"},
      {"FUNCTION " + (d / "no/such/dir.txt") + " 1\n0 0 0\n1 1 1\n", 1,
       " Error opening file " + (d / "no/such/dir.txt") + "\r\n"},
  };
  for (const auto& k : cases) {
    Block b(k.text);
    CurveTable t;
    EXPECT_EQ(fatal_line([&] { write_function_table(readfunction(b.ls, t, k.nsoil), t, k.nsoil); }),
              k.line)
        << k.text;
  }
}

TEST(Spline, Messages) {
  std::vector<double> x(1025), y(1025, 0.0), ye(2);
  for (int i = 0; i < 1025; ++i) x[i] = i;
  double xe[2] = {0.5, 1024.5};
  EXPECT_EQ(fatal_line([&] { spline(x.data(), y.data(), 1, xe, ye.data(), 1, 1); }),
            " Cannot fit spline to one point\r\n");
  EXPECT_EQ(fatal_line([&] { spline(x.data(), y.data(), 1025, xe, ye.data(), 1, 1); }),
            " Too many points to fit spline\r\n");
  EXPECT_EQ(fatal_line([&] { spline(x.data(), y.data(), 1024, xe, ye.data(), 2, 2); }),
            " Spline eval data out of range\r\n");
  double below = -0.1;
  EXPECT_EQ(fatal_line([&] { spline(x.data(), y.data(), 3, &below, ye.data(), 1, 1); }),
            " Spline eval data out of range\r\n");
}

TEST(Spline, InteriorPointsUseTheIntervalStartingThere) {
  const double x[] = {0, 1, 3, 6};
  const double y[] = {0, 2, 0, 9};
  const double xe[] = {0, 1, 3, 6, 2};
  double ye[5];
  for (int type : {1, 2}) {
    spline(x, y, 4, xe, ye, 5, type);
    EXPECT_EQ(ye[0], 0.0);
    EXPECT_EQ(ye[1], 2.0);
    EXPECT_NEAR(ye[2], 0.0, 1e-15);
    EXPECT_NEAR(ye[3], 9.0, 1e-14);
  }
  // Quadratic: slope 2 into x = 1, then c = (0 - 2 - 2*2)/4 = -1.5: at 2, 2 + 2 - 1.5.
  EXPECT_EQ(ye[4], 2.5);
}

TEST(BinFind, OnPointsAndBetween) {
  const double x[] = {0.0, 0.1, 0.2, 0.30000000000000004, 0.4};
  const double y[] = {5, 7, -1, 4, 9};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(binfind(x[i], x, y, 5), y[i]) << i;
  EXPECT_EQ(binfind(0.05, x, y, 5), 6.0);  // w = 0.5 exactly
  EXPECT_EQ(binfind(0.1, x + 1, y + 1, 1), 7.0);  // a one-point table
}

TEST(BinFind, OutOfRange) {
  const double x[] = {0.0, 10.0, 20.0};
  const double y[] = {0.0, 1.0, 5.0};
  EXPECT_EQ(binfind(20.0, x, y, 3), 5.0);
  EXPECT_EQ(fatal_line([&] { binfind(20.05, x, y, 3); }),
            " Value out of range in BINFIND    20.050000000000001     \r\n");
  EXPECT_EQ(fatal_line([&] { binfind(-0.25, x, y, 3); }),
            " Value out of range in BINFIND  -0.25000000000000000     \r\n");
  EXPECT_EQ(fatal_line([&] { binfind(1.0, x, y, 0); }),
            " Value out of range in BINFIND    1.0000000000000000     \r\n");
  EXPECT_NE(fatal_line([&] { binfind(std::nan(""), x, y, 3); }), "");
}

TEST(ReadFunction, LookupOfAShortTable) {
  TempDir d;
  CurveTable t = read_block("FUNCTION " + (d / "f.txt") + " 1\n0 0 0\n0.7 7 14\n", 1);
  ASSERT_EQ(t.ncurv, 7);
  EXPECT_NEAR(binfind(0.6, t.curve(1, 0), t.curve(2, 1), t.ncurv), 12.0, 1e-13);
  EXPECT_NEAR(binfind(0.35, t.curve(1, 0), t.curve(1, 0), t.ncurv), 0.35, 1e-15);
  EXPECT_NE(fatal_line([&] { binfind(0.65, t.curve(1, 0), t.curve(1, 1), t.ncurv); }), "");
}

}  // namespace
}  // namespace vadz
