#include "engine/period.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "support/testutil.h"
#include "utl/console.h"

namespace vadz {
namespace {

using test::TempDir;
using Cells = std::map<std::pair<int, int>, double>;  // (c, r) -> value

const std::string Z = "  0.00000";
// Bytes of one recharge array: period header, control line with a 7-character
// label, 165 rows of 16 lines of 20 values and one line of 6.
constexpr size_t ARRAY_FILE = 22 + 47 + 165 * (16 * 182 + 56);

using test::fatal_line;

// First line of grid row 1 of an array: 20 fields, the given ones set.
std::string row1(const std::map<int, std::string>& fields) {
  std::string s;
  for (int c = 1; c <= 20; ++c) {
    auto it = fields.find(c);
    s += it == fields.end() ? Z : it->second;
  }
  return s + "\r\n";
}

struct Period {
  TempDir tmp;
  RunConfig cfg;
  PeriodWork pw;
  ModelFiles files;
  AnnualArrays ann;
  RealGrid rechp = real_grid(0.0);

  explicit Period(int nrch) {
    cfg.stdir = {tmp / "co", tmp / "ks", tmp / "ne"};
    cfg.nrch = nrch;
    EXPECT_TRUE(files.wel.open(tmp / "wel"));
    for (int j = 0; j < nrch; ++j) EXPECT_TRUE(files.rch[j].open(tmp / ("rch" + std::to_string(j + 1))));
  }
  void grid(int s, const std::string& name, const Cells& v) {
    test::write_file(cfg.stdir[s - 1] + "/" + name, test::text_grid([&](int c, int r) {
      auto it = v.find({c, r});
      return it == v.end() ? 0.0 : it->second;
    }));
  }
  void run(std::string_view label = " 1/1950", std::string_view pstem = "1950.01",
           std::string_view ystem = "1950", int year = 1950, int seconds = 2678400,
           double w = 0.5) {
    period(cfg, pw, {&files}, rechp, label, pstem, ystem, year, seconds, w, ann);
  }
  void close() {
    files.wel.close();
    for (OutFile& f : files.rch) f.close();
  }
  std::string wel() const { return test::read_file(tmp / "wel"); }
  std::string rch(int j) const { return test::read_file(tmp / ("rch" + std::to_string(j))); }
};

// The cells of the worked example, row 1: Rcp in column 1, municipal wells in
// 2 and 5 (5 masked), pumping in 3 and 4 (4 masked), Rcg in 6 and 4 (4
// masked), KS surface-water return in 8, mound cells 9 and 10, a negative
// pumping in 11. KS does not pump; its mi, pmp and rcg files are unreadable.
void worked_example(Period& p) {
  p.cfg.stressf = {2.0, 1.0, 1.0, 2.0};
  p.cfg.ipump[1] = 0;
  p.cfg.gwmask[cell(4, 1)] = 1;
  p.cfg.gwmask[cell(5, 1)] = 1;
  p.cfg.mound[cell(9, 1)] = 1;
  p.cfg.mound[cell(10, 1)] = 1;
  p.cfg.ibound[cell(2, 1)] = 0;  // not looked at
  p.rechp[cell(1, 1)] = 12.0;
  p.grid(1, "1950.mi", {{{2, 1}, 1000.0}, {{5, 1}, 1000.0}});
  p.grid(1, "1950.01.pmp", {{{3, 1}, 10.0}, {{4, 1}, 10.0}});
  p.grid(1, "1950.01.rcg", {{{6, 1}, 8.0}, {{4, 1}, 8.0}});
  p.grid(1, "1950.01.rcc", {{{10, 1}, 4.0}});
  for (const char* bad : {"1950.mi", "1950.01.pmp", "1950.01.rcg"}) {
    test::write_file(p.cfg.stdir[1] + "/" + bad, "garbage\n");
  }
  p.grid(2, "1950.01.rcs", {{{8, 1}, 4.0}});
  p.grid(3, "1950.01.rcs", {{{9, 1}, 4.0}});
  p.grid(3, "1950.01.pmp", {{{11, 1}, -10.0}});
}

const std::string HEADER = "         1         0\r\n";
const std::string CONTROL_31 = "INTERNAL  3.11131023E-08 (20F9.5)  -1  1/1950\r\n";
const std::string WELLS =
    "    4 -1  1/1950\r\n"
    "1   1   2  -2.760666\r\n"  // 2 x (31 days / 365.25) x 1000 af over 31 days
    "1   1   3  -0.325269\r\n"  // 2 x 10 af
    "1   1   5  -2.760666\r\n"  // municipal use in a masked cell
    "1   1  11   0.162634\r\n";  // net injection

TEST(Period, OneRechargeFileSumsTheFourParts) {
  Period p(1);
  worked_example(p);
  p.run();
  p.close();
  const std::string r = p.rch(1);
  ASSERT_EQ(r.size(), ARRAY_FILE);
  EXPECT_EQ(r.substr(0, HEADER.size() + CONTROL_31.size()), HEADER + CONTROL_31);
  const std::string line = row1({{1, "  6.00000"},
                                 {6, "  0.30000"},
                                 {8, "  0.07500"},
                                 {9, "  0.15000"},
                                 {10, "  0.15000"}});
  EXPECT_EQ(r.substr(69, 182), line);
  // Row 1 ends with a line of 6 values; row 2 starts a new line.
  EXPECT_EQ(r.substr(69 + 16 * 182, 56), Z + Z + Z + Z + Z + Z + "\r\n");
  EXPECT_EQ(r.substr(69 + 16 * 182 + 56, 182), row1({}));
  EXPECT_EQ(p.wel(), WELLS);

  EXPECT_DOUBLE_EQ(p.ann.annmi[1][cell(2, 1)], 169.7467488021903);
  EXPECT_DOUBLE_EQ(p.ann.annmi[1][cell(5, 1)], 169.7467488021903);
  EXPECT_EQ(p.ann.annpump[1][cell(3, 1)], 20.0);
  EXPECT_EQ(p.ann.annpump[1][cell(4, 1)], 0.0);
  EXPECT_EQ(p.ann.annpump[3][cell(11, 1)], -10.0);
  EXPECT_EQ(p.ann.annrcg[1][cell(6, 1)], 16.0);
  EXPECT_EQ(p.ann.annrcg[1][cell(4, 1)], 0.0);
  EXPECT_EQ(p.ann.annrcs[2][cell(8, 1)], 4.0);
  EXPECT_EQ(p.ann.annrcs[3][cell(9, 1)], 8.0);
  EXPECT_EQ(p.ann.annrcc[1][cell(10, 1)], 8.0);
  for (const SlotGrid* g : {&p.ann.annmi, &p.ann.annpump, &p.ann.annrcg}) {
    for (int i = 0; i < NCELL; ++i) ASSERT_EQ((*g)[2][i], 0.0);
  }
}

TEST(Period, FourRechargeFilesOnePartEach) {
  Period p(4);
  worked_example(p);
  p.run();
  p.close();
  const std::map<int, std::string> want[4] = {
      {{1, "  6.00000"}},
      {{6, "  0.30000"}},
      {{8, "  0.07500"}, {9, "  0.15000"}},
      {{10, "  0.15000"}},
  };
  for (int j = 1; j <= 4; ++j) {
    const std::string r = p.rch(j);
    ASSERT_EQ(r.size(), ARRAY_FILE) << j;
    EXPECT_EQ(r.substr(0, 69), HEADER + CONTROL_31) << j;
    EXPECT_EQ(r.substr(69, 182), row1(want[j - 1])) << j;
  }
  EXPECT_EQ(p.wel(), WELLS);
}

// XFACTOR scales Rcg and Rcs of years strictly after its year, never the
// steady period, never Rcp or Rcc, and never the annual arrays.
TEST(Period, XfactorYearBoundary) {
  struct Case {
    int year, xyear;
    std::string pstem, ystem, label, rcg, rcs;
  } cases[] = {
      {1950, 1950, "1950.01", "1950", " 1/1950", "  0.15000", "  0.07500"},
      {1951, 1950, "1951.01", "1951", " 1/1951", "  0.07500", "  0.03750"},
      {-1, -5, "steady", "steady", "Steady ", "  0.15000", "  0.07500"},
  };
  for (const Case& c : cases) {
    Period p(4);
    p.cfg.xyear = c.xyear;
    p.cfg.xfactor = real_grid(0.5);
    p.rechp[cell(1, 1)] = 12.0;
    p.grid(1, c.pstem + ".rcg", {{{6, 1}, 8.0}});
    p.grid(1, c.pstem + ".rcs", {{{8, 1}, 4.0}});
    p.grid(1, c.pstem + ".rcc", {{{10, 1}, 4.0}});
    p.run(c.label, c.pstem, c.ystem, c.year);
    p.close();
    EXPECT_EQ(p.rch(1).substr(69, 182), row1({{1, "  6.00000"}})) << c.year;
    EXPECT_EQ(p.rch(2).substr(69, 182), row1({{6, c.rcg}})) << c.year;
    EXPECT_EQ(p.rch(3).substr(69, 182), row1({{8, c.rcs}})) << c.year;
    EXPECT_EQ(p.rch(4).substr(69, 182), row1({{10, "  0.07500"}})) << c.year;
    EXPECT_EQ(p.ann.annrcg[1][cell(6, 1)], 8.0);
    EXPECT_EQ(p.ann.annrcs[1][cell(8, 1)], 4.0);
  }
}

// The multiplier turns inches in the period into feet per second: (1/12)/S.
// No input files and no pumping: the count line says 0 wells.
TEST(Period, ControlLineAndEmptyWellBlock) {
  struct Case {
    int seconds;
    std::string label, m;
  } cases[] = {
      {2678400, " 1/1950", " 3.11131023E-08"},
      {2505600, " 2/1952", " 3.32588335E-08"},
      {31557600, "Steady ", " 2.64067398E-09"},
  };
  for (const Case& c : cases) {
    Period p(1);
    p.run(c.label, "x", "x", -1, c.seconds);
    p.close();
    EXPECT_EQ(p.rch(1).substr(0, 69), HEADER + "INTERNAL " + c.m + " (20F9.5)  -1 " + c.label + "\r\n");
    EXPECT_EQ(p.wel(), "    0 -1 " + c.label + "\r\n");
  }
}

TEST(Period, WellLimit) {
  for (int n : {14000, 14001}) {
    Period p(1);
    p.cfg.ipump = {1, 0, 0};
    p.grid(1, "1950.01.pmp", {});
    std::string s = test::text_grid([&](int c, int r) { return cell(c, r) < n ? 1.0 : 0.0; });
    test::write_file(p.cfg.stdir[0] + "/1950.01.pmp", s);
    if (n == 14000) {
      p.run();
      p.close();
      const std::string w = p.wel();
      ASSERT_EQ(w.size(), 18u + 14000u * 22u);
      EXPECT_EQ(w.substr(0, 40), "14000 -1  1/1950\r\n1   1   1  -0.016263\r\n");
      // Cell 14,000 in grid order is row 43, column 308.
      EXPECT_EQ(w.substr(w.size() - 22), "1  43 308  -0.016263\r\n");
    } else {
      EXPECT_EQ(fatal_line([&] { p.run(); }), " Increase MAXWEL to        14001\r\n");
      p.close();
      EXPECT_EQ(p.rch(1).size(), ARRAY_FILE);  // the arrays went out first
      EXPECT_EQ(p.wel(), "");
    }
  }
}

// A not-a-number pumping (infinite pumping of one group against infinite
// injection of another) is still listed as a well.
TEST(Period, NotANumberPumpingIsAWell) {
  Period p(1);
  p.cfg.stressf = {10.0, 1.0, 10.0, 1.0};
  p.grid(1, "1950.01.pmp", {{{12, 1}, 1e308}});
  p.grid(3, "1950.01.pmp", {{{12, 1}, -1e308}});
  p.run();
  p.close();
  EXPECT_EQ(p.wel(), "    1 -1  1/1950\r\n1   1  12        NaN\r\n");
}

// The year's municipal file is read once per year stem; reusing it gives
// the same well blocks as reading it in every period.
TEST(Period, MunicipalGridOncePerYear) {
  Period reused(1);
  Period fresh(1);
  for (Period* p : {&reused, &fresh}) {
    p->cfg.ipump = {1, 0, 0};
    p->grid(1, "steady.mi", {{{2, 1}, 500.0}});
    p->grid(1, "1950.mi", {{{2, 1}, 1000.0}});
    p->grid(1, "1951.mi", {{{2, 1}, 2000.0}});
  }
  struct Step {
    const char *label, *pstem, *ystem;
    int year, seconds;
  } steps[] = {
      {"Steady ", "steady", "steady", -1, 31557600},
      {" 1/1950", "1950.01", "1950", 1950, 2678400},
      {" 2/1950", "1950.02", "1950", 1950, 2419200},
      {" 1/1951", "1951.01", "1951", 1951, 2678400},
  };
  for (const Step& s : steps) {
    reused.run(s.label, s.pstem, s.ystem, s.year, s.seconds);
    PeriodWork once;
    std::swap(once, fresh.pw);
    fresh.run(s.label, s.pstem, s.ystem, s.year, s.seconds);
    if (s.pstem == std::string("1950.01")) {
      // Not read again for February: an unreadable file goes unnoticed.
      test::write_file(reused.cfg.stdir[0] + "/1950.mi", "garbage\n");
      test::write_file(fresh.cfg.stdir[0] + "/1950.mi", test::text_grid([](int c, int r) {
        return c == 2 && r == 1 ? 1000.0 : 0.0;
      }));
    }
  }
  reused.close();
  fresh.close();
  EXPECT_EQ(reused.wel(), fresh.wel());
  EXPECT_EQ(reused.wel(),
            "    1 -1 Steady \r\n1   1   2  -0.690167\r\n"
            "    1 -1  1/1950\r\n1   1   2  -1.380333\r\n"
            "    1 -1  2/1950\r\n1   1   2  -1.380333\r\n"
            "    1 -1  1/1951\r\n1   1   2  -2.760666\r\n");
  EXPECT_EQ(reused.ann.annmi[1], fresh.ann.annmi[1]);
}

}  // namespace
}  // namespace vadz
