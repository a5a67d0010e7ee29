#include "input/terrain.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "support/testutil.h"
#include "utl/console.h"
#include "utl/grid.h"
#include "utl/paramlines.h"
#include "utl/scan.h"

namespace vadz {
namespace {

using test::crlf;
using test::flag_file;
using test::TempDir;
using test::write_file;

// Runs readterrain on the parameter line "TERRAIN " + rest, scanning from
// just after the keyword. Returns the fatal line, or "" when it returned.
std::string run(const std::string& rest, RealGrid& trn) {
  LineState ls;
  ls.line = "TERRAIN " + rest;
  int status = 0;
  charin(ls.line, 1, ls.ipos, status);
  Krig krig;
  try {
    write_terrain_plot(readterrain(ls, trn, krig), trn);
  } catch (const Fatal& e) {
    return e.line();
  }
  return "";
}

std::string msg(const std::string& text) { return " " + text + "\r\n"; }

// A plot file whose cell (c, r) holds the 6-character field f(c, r).
std::string plot(const std::function<std::string(int c, int r)>& f) {
  std::vector<std::string> lines;
  for (int r = 1; r <= NROW; ++r) {
    std::string s;
    for (int c = 1; c <= NCOL; ++c) s += f(c, r);
    lines.push_back(s);
  }
  return crlf(lines);
}

// Two zones: "north" in rows 1..80, "south" east of column 100 below;
// the south-west block is in no zone.
int two_zones(int c, int r) { return r <= 80 ? 1 : (c > 100 ? 2 : 0); }

struct Files {
  TempDir dir;
  std::string flags = dir / "flags.txt";
  std::string mult = dir / "mult.txt";
  std::string out = dir / "plot.txt";
  Files() { write_file(flags, flag_file("north south", 1, two_zones)); }
  std::string names() const { return flags + " " + mult + " " + out; }
};

TEST(Terrain, SingleLocationStarFlagsGivesTheMultiplierEverywhere) {
  Files f;
  write_file(f.mult, "X Y MULT\n900000 14500000 0.75\n");
  RealGrid trn = real_grid(1.0);
  ASSERT_EQ(run("* " + f.mult + " " + f.out, trn), "");
  for (double v : trn) ASSERT_EQ(v, 0.75);
  std::string got = test::read_file(f.out);
  EXPECT_EQ(got.size(), 165u * (1956 + 2));
  EXPECT_EQ(got, plot([](int, int) { return std::string(" 0.750"); }));
}

TEST(Terrain, LimitsApplyToZonedCellsOnly) {
  struct Case {
    const char* clause;
    const char* north;  // location multiplier 2.0
    const char* south;  // location multiplier -0.3
  } cases[] = {
      {"", " 2.000", " 0.000"},
      {"LIMIT 0.5 1.5", " 1.500", " 0.500"},
      {"LIMIT 1 1", " 1.000", " 1.000"},
      {"LIMIT 5 6 LIMIT -1 1.75", " 1.750", "-0.300"},
      {"LIMIT -Inf Infinity", " 2.000", "-0.300"},
      {"LIMIT 2.5 1e300", " 2.500", " 2.500"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.clause);
    Files f;
    write_file(f.mult, "header\n\n# a comment\n 700000\t14800000  2.0 -0.3 extra\n");
    RealGrid trn = real_grid(0.0);
    ASSERT_EQ(run(f.names() + " " + c.clause, trn), "");
    std::string expect = plot([&](int col, int r) {
      int z = two_zones(col, r);
      return std::string(z == 0 ? " 1.000" : z == 1 ? c.north : c.south);
    });
    EXPECT_EQ(test::read_file(f.out), expect);
    EXPECT_EQ(trn[cell(1, 165)], 1.0);
  }
}

TEST(Terrain, WideValuesBecomeAsterisks) {
  Files f;
  write_file(f.mult, "h\n700000 14800000 123.4 99.9994\nEND\nnot a location\n");
  RealGrid trn = real_grid();
  ASSERT_EQ(run(f.names(), trn), "");
  EXPECT_EQ(test::read_file(f.out), plot([](int c, int r) {
              int z = two_zones(c, r);
              return std::string(z == 0 ? " 1.000" : z == 1 ? "******" : "99.999");
            }));
  EXPECT_EQ(trn[cell(5, 5)], 123.4);
}

TEST(Terrain, KrigedCellsMatchLocationsAtTheirCentres) {
  Files f;
  char buf[200];
  std::snprintf(buf, sizeof buf, "h\n%.17g %.17g 0.8 1.2\n%.17g %.17g 1.1 0.6\nEND   \n", xc(10),
                yc(20), xc(200), yc(100));
  write_file(f.mult, buf);
  RealGrid trn = real_grid();
  ASSERT_EQ(run(f.names(), trn), "");
  EXPECT_NEAR(trn[cell(10, 20)], 0.8, 1e-12);
  EXPECT_NEAR(trn[cell(200, 100)], 0.6, 1e-12);
  // Ordinary kriging stays between the two values here.
  EXPECT_GT(trn[cell(100, 60)], 0.8);
  EXPECT_LT(trn[cell(100, 60)], 1.1);
}

TEST(Terrain, HundredTwentyEightLocations) {
  Files f;
  auto zoned = [](int c, int r) { return r == 1 || (c % 2 == 1 && (r - 1) % 40 == 0); };
  write_file(f.flags, flag_file("z", 1, [&](int c, int r) { return zoned(c, r) ? 1 : 0; }));
  std::string m = "X Y M\n";
  char buf[100];
  for (int i = 0; i < 129; ++i) {
    std::snprintf(buf, sizeof buf, "%.17g %.17g %.17g\n", xc(2 * i + 1), yc(1 + (i % 4) * 40),
                  1.0 + 0.01 * (i % 13));
    m += buf;
    if (i == 127) write_file(f.mult, m);
  }
  RealGrid trn = real_grid();
  ASSERT_EQ(run(f.names(), trn), "");
  for (int i = 0; i < 128; i += 5)
    EXPECT_NEAR(trn[cell(2 * i + 1, 1 + (i % 4) * 40)], 1.0 + 0.01 * (i % 13), 1e-9) << i;
  write_file(f.mult, m);
  EXPECT_EQ(run(f.names(), trn), msg("Too many TERRAIN locations"));
}

TEST(Terrain, Failures) {
  Files f;
  const std::string good = "h\n700000 14800000 1.0 0.9\n";
  const std::string bad_dir = f.dir / "nodir/plot.txt";
  struct Case {
    std::string rest;
    std::string mult;
    std::string expect;
  } cases[] = {
      {"", good, "Invalid TERRAIN flag file TERRAIN"},
      {"\"unterminated", good, "Invalid TERRAIN flag file TERRAIN \"unterminated"},
      {f.flags, good, "Invalid TERRAIN multiplier file TERRAIN " + f.flags},
      {f.dir / "none.txt", good, "Error opening file " + f.dir / "none.txt"},
      {f.flags + " " + f.dir / "none.txt", good, "Error opening file " + f.dir / "none.txt"},
      {f.flags + " " + f.mult, good, "Invalid TERRAIN plot file TERRAIN " + f.flags + " " + f.mult},
      {f.names() + " limit 0 1", good, "Invalid TERRAIN parameter limit"},
      {f.names() + " ABCDEFGHIJKLMNOPQRST", good, "Invalid TERRAIN parameter ABCDEFGHIJKLMNOP"},
      {f.names() + " LIMIT", good, "Invalid TERRAIN LIMIT minimum"},
      {f.names() + " LIMIT x 1", good, "Invalid TERRAIN LIMIT minimum"},
      {f.names() + " LIMIT NaN 1", good, "Invalid TERRAIN LIMIT minimum"},
      {f.names() + " LIMIT 0", good, "Invalid TERRAIN LIMIT maximum"},
      {f.names() + " LIMIT 0 nan", good, "Invalid TERRAIN LIMIT maximum"},
      {f.names() + " LIMIT 2 1", good,
       "Invalid TERRAIN LIMIT range TERRAIN " + f.names() + " LIMIT 2 1"},
      {f.names() + " LIMIT 0 1 LIMIT 2 1", "", "Invalid TERRAIN LIMIT range TERRAIN " +
                                                   f.names() + " LIMIT 0 1 LIMIT 2 1"},
      {f.names(), "", "Error reading file header " + f.mult},
      {f.names(), "h\n", "Cannot invert kriging matrix"},
      {f.names(), "h\nEND\n1 2 3 4\n", "Cannot invert kriging matrix"},
      {f.names(), "h\n1 2 3 4\n1 2 5 6\n", "Repeated point"},
      {f.names(), "h\nabc 1 2 3\n", "Invalid terrain X abc 1 2 3"},
      {f.names(), "h\nInf 1 2 3\n", "Invalid terrain X Inf 1 2 3"},
      {f.names(), "h\nENDX\n", "Invalid terrain X ENDX"},
      {f.names(), "h\nEND\t\n", "Invalid terrain X END"},
      {f.names(), "h\n END\n", "Invalid terrain X  END"},
      {f.names(), "h\n700000\n", "Invalid terrain Y 700000"},
      {f.names(), "h\n700000 -nan 1 1\n", "Invalid terrain Y 700000 -nan 1 1"},
      {f.names(), "h\n700000 14800000 1.0\n", "Invalid terrain multiplier 700000 14800000 1.0"},
      {f.names(), "h\n7 1 1.0 1,5\n", "Invalid terrain multiplier 7 1 1.0 1,5"},
      {f.names(), "h\n7 1 1.0 -infinity\n", "Invalid terrain multiplier 7 1 1.0 -infinity"},
      {f.flags + " " + f.mult + " " + bad_dir, good, "Error opening file " + bad_dir},
      {f.flags + " " + f.mult + " /dev/full", good, "Cannot write to file /dev/full"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.rest + " | " + c.mult);
    write_file(f.mult, c.mult);
    RealGrid trn = real_grid();
    EXPECT_EQ(run(c.rest, trn), msg(c.expect));
  }
}

// Quoted file names may carry blanks inside; trailing ones are dropped,
// as for every file name of the parameter file.
TEST(Terrain, QuotedNamesLoseTrailingBlanks) {
  Files f;
  write_file(f.mult, "h\n700000 14800000 0.5\n");
  RealGrid trn = real_grid();
  ASSERT_EQ(run("\"*  \" \"" + f.mult + "   \" \"" + f.out + " \"", trn), "");
  EXPECT_EQ(test::read_file(f.out), plot([](int, int) { return std::string(" 0.500"); }));
}

TEST(Terrain, FlagFileMessagesComeFirst) {
  Files f;
  write_file(f.flags, flag_file("a b c d e f g h i j", 2, [](int, int) { return 0; }));
  RealGrid trn = real_grid();
  EXPECT_EQ(run(f.flags + " LIMIT", trn), msg("Too many zones in " + f.flags));
}

}  // namespace
}  // namespace vadz
