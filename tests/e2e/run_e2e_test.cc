// Whole runs of the built program on small scenarios, every output compared
// byte for byte with layouts worked out by hand.
//
// Common ground of the scenarios: one soil ("*") with the piecewise-linear
// curves (0, 0, 0) and (64, 8, 16), so 20 inches of precipitation give
// 2.5 in/yr of recharge on dry land; precipitation grids of 20 inches;
// month multipliers 1/16 (months 1-4, 9-12) and 1/8 (months 5-8).
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "support/testutil.h"

namespace vadz {
namespace {

using test::crlf;
using test::exists;
using test::NULL_DEVICE;
using test::read_file;
using test::run_vadz;
using test::TempDir;
using test::write_file;

std::string r10(const std::string& s) { return std::string(10 - s.size(), ' ') + s; }

// A text grid of one value, or of a value in a few cells and 0 elsewhere.
std::string grid(const std::function<std::string(int c, int r)>& f) {
  std::string s;
  for (int r = 1; r <= 165; ++r) {
    for (int c = 1; c <= 326; ++c) {
      s += f(c, r);
      s += c < 326 ? ' ' : '\n';
    }
  }
  return s;
}
std::string uniform(const std::string& v) {
  return grid([&](int, int) { return v; });
}

const std::string PPT20 = uniform("20");

// A recharge array: 165 rows of 326 fields of 9, 20 per line.
std::string array(const std::function<std::string(int c, int r)>& f) {
  std::string s;
  for (int r = 1; r <= 165; ++r)
    for (int c = 1; c <= 326; ++c) {
      s += f(c, r);
      if (c % 20 == 0 || c == 326) s += "\r\n";
    }
  return s;
}
std::string array(const std::string& v) {
  return array([&](int, int) { return v; });
}

const char* const ZERO = "  0.00000";

// Array multipliers 1/12 / S: 31, 30, 28 and 29 days, and 365.25 days.
const std::string M31 = " 3.11131023E-08", M30 = " 3.21502058E-08", M28 = " 3.44466490E-08",
                  M29 = " 3.32588335E-08", MSS = " 2.64067398E-09";
std::string month_m(int y, int m) {
  if (m == 2) return y % 4 == 0 ? M29 : M28;
  return (m == 4 || m == 6 || m == 9 || m == 11) ? M30 : M31;
}
std::string label(int y, int m) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%2d/%4d", m, y);
  return buf;
}

std::string period_head(const std::string& m, const std::string& lab) {
  return crlf({"         1         0", "INTERNAL " + m + " (20F9.5)  -1 " + lab});
}

// Recharge from 2.5 in/yr with the month's multiplier, as 9-column inches.
std::string rcp_month(int m) { return (m >= 5 && m <= 8) ? "  0.31250" : "  0.15625"; }

const std::string WELHEAD = "     14000         0 NOPRINT\r\n";
const std::string RCHHEAD = "         1         0\r\n";

std::string base_par() {
  return "SOIL *\n"
         "FUNCTION fn.txt 1\n"
         "0 0 0\n"
         "64 8 16\n"
         "MONTH 0.0625 0.0625 0.0625 0.0625 0.125 0.125 0.125 0.125 0.0625 0.0625 0.0625 0.0625\n"
         "PRISM ppt\n";
}
const std::string PRISMLINE = " PRISMpath=ppt\r\n";

void precip(const TempDir& d, std::initializer_list<int> years, const std::string& g = PPT20) {
  for (int y : years) write_file(d / ("ppt/" + std::to_string(y) + ".grd"), g);
}

std::string heading(const std::vector<std::string>& zones) {
  std::string h = " Year";
  for (const char* label : {"act.cells", "Precip_in", "gwIrr_af", "gwMI_af", "gwArea_ac",
                            "coArea_ac", "swArea_ac", "RchRcp_af", "RchRcg_af", "RchRcs_af",
                            "RchRcc_af"}) {
    for (const auto& z : zones) h += r10(z);
    h += r10(label);
  }
  return h + "\r\n";
}

TEST(RunE2E, NoPeriodsGivesHeaderLinesThenAppend) {
  TempDir d;
  write_file(d / "vadz.par", base_par() + "WELL wel.dat\nRECHARGE r1 r2 r3 r4\nIWELCB 40\n"
                                          "IRCHCB -41\nANNPUMP\nANNRECH\n");
  auto res = run_vadz(d.path(), {"vadz.par"});
  EXPECT_EQ(res.status, 0);
  EXPECT_EQ(res.out, PRISMLINE);
  EXPECT_EQ(res.err, "");
  EXPECT_EQ(read_file(d / "wel.dat"), "     14000        40 NOPRINT\r\n");
  for (const char* f : {"r1", "r2", "r3", "r4"})
    EXPECT_EQ(read_file(d / f), "         1       -41\r\n");
  EXPECT_FALSE(exists(d / "annrcp.csv"));

  // APPEND: existing files keep their content, a missing one is created.
  write_file(d / "vadz.par", base_par() + "WELL wel.dat\nRECHARGE r1 r2 r3 r4\nAPPEND\n");
  std::remove((d / "r2").c_str());
  res = run_vadz(d.path(), {"vadz.par"});
  EXPECT_EQ(res.status, 0);
  EXPECT_EQ(read_file(d / "wel.dat"), "     14000        40 NOPRINT\r\n");
  EXPECT_EQ(read_file(d / "r1"), "         1       -41\r\n");
  EXPECT_TRUE(exists(d / "r2"));
  EXPECT_EQ(read_file(d / "r2"), "");
}

TEST(RunE2E, OneYearSteadyWindowWithOneZone) {
  TempDir d;
  precip(d, {1990});
  write_file(d / "vadz.par", base_par() + "BUDGET *\nSTEADY 1990 1990 1.0\nWELL wel.dat\n"
                                          "RECHARGE rch.dat\n");
  const auto res = run_vadz(d.path(), {"vadz.par"});
  EXPECT_EQ(res.status, 0);
  // 2.5 in/yr over 53,790 cells: 134475 / 12 * 640 acre-feet.
  EXPECT_EQ(res.out, PRISMLINE + heading({"*"}) + " SS  " + r10("7172000.0") +
                         r10("7172000.0") + "\r\n");
  EXPECT_EQ(read_file(d / "wel.dat"), WELHEAD + "    0 -1 Steady \r\n");
  // 53.333... acre-feet per inch-year times 2.5, back to inches over the cell.
  EXPECT_EQ(read_file(d / "rch.dat"), RCHHEAD + period_head(MSS, "Steady ") + array("  2.50000"));
}

// The steady window (1995-1996, after the transient year) comes first; 1992
// has a 29-day February; four recharge files; three budget zones; pumping,
// groundwater-irrigation return and surface-water return in a few files.
TEST(RunE2E, SteadyAfterTransientFourFilesThreeZones) {
  TempDir d;
  precip(d, {1992, 1995});
  precip(d, {1996}, uniform("30"));
  write_file(d / "zones.txt", test::flag_file("CO KS NE", 1, [](int c, int) {
               return c <= 100 ? 1 : c <= 200 ? 2 : 3;
             }));
  write_file(d / "co/1992.07.pmp", grid([](int c, int r) {
               return c == 5 && r == 3 ? "100" : c == 300 && r == 160 ? "50" : "0";
             }));
  write_file(d / "ks/1992.07.rcg",
             grid([](int c, int r) { return c == 150 && r == 80 ? "64" : "0"; }));
  write_file(d / "ne/1992.08.rcs", uniform("32"));
  write_file(d / "vadz.par", base_par() + "BUDGET zones.txt\nSTEADY 1995 1996 0.5\n"
                                          "TRANSIENT 1992 1992\nANNPUMP\nWELL wel.dat\n"
                                          "RECHARGE r1 r2 r3 r4\n");
  const auto res = run_vadz(d.path(), {"vadz.par"});
  ASSERT_EQ(res.status, 0) << res.out;

  // Steady: mean of 2.5 and 3.75 in/yr; transient: 2.5 in/yr.
  std::string want = PRISMLINE + heading({"CO", "KS", "NE"});
  want += " SS  " + r10("2750000.0") + r10("2750000.0") + r10("3465000.0") + r10("8965000.0") +
          "\r\n";
  want += " 1992" + r10("16500") + r10("16500") + r10("20790") + r10("53790");
  for (int z = 0; z < 4; ++z) want += r10("20.0");
  want += r10("150.0") + r10("0.0") + r10("0.0") + r10("150.0");
  for (int q = 0; q < 4; ++q)
    for (int z = 0; z < 4; ++z) want += r10("0.0");
  want += r10("2200000.0") + r10("2200000.0") + r10("2772000.0") + r10("7172000.0");
  want += r10("0.0") + r10("64.0") + r10("0.0") + r10("64.0");
  want += r10("0.0") + r10("0.0") + r10("1721280.0") + r10("1721280.0");
  for (int z = 0; z < 4; ++z) want += r10("0.0");
  EXPECT_EQ(res.out, want + "\r\n");

  std::string wel = WELHEAD + "    0 -1 Steady \r\n";
  for (int m = 1; m <= 12; ++m) {
    if (m == 7) {
      // 43560 / 2678400 cubic feet per second per acre-foot, withdrawn.
      wel += "    2 -1  7/1992\r\n1   3   5  -1.626344\r\n1 160 300  -0.813172\r\n";
    } else {
      wel += "    0 -1 " + label(1992, m) + "\r\n";
    }
  }
  EXPECT_EQ(read_file(d / "wel.dat"), wel);

  std::string r[4];
  for (int j = 0; j < 4; ++j)
    r[j] = RCHHEAD + period_head(MSS, "Steady ") + array(j == 0 ? "  1.56250" : ZERO);
  const std::string zero = array(ZERO);
  for (int m = 1; m <= 12; ++m) {
    const std::string h = period_head(month_m(1992, m), label(1992, m));
    r[0] += h + array(rcp_month(m));
    // 64 acre-feet over a cell: 1.2 inches; 32 acre-feet: 0.6 inches.
    r[1] += h + (m == 7 ? array([](int c, int rr) {
                   return c == 150 && rr == 80 ? "  1.20000" : ZERO;
                 })
                        : zero);
    r[2] += h + (m == 8 ? array("  0.60000") : zero);
    r[3] += h + zero;
  }
  const char* names[4] = {"r1", "r2", "r3", "r4"};
  for (int j = 0; j < 4; ++j) {
    SCOPED_TRACE(names[j]);
    EXPECT_TRUE(read_file(d / names[j]) == r[j]);
  }

  const std::string t = read_file(d / "1992annpump.csv");
  ASSERT_EQ(t.size(), 50u + 53790u * 72u);
  auto row = [&](int node) { return t.substr(50 + (node - 1) * 72, 72); };
  EXPECT_EQ(row(657), "  657,    3,    5,      100.00,        0.00,        0.00,        0.00,\r\n");
  EXPECT_EQ(row(52134), "52134,  160,  300,       50.00,        0.00,        0.00,        0.00,\r\n");
  EXPECT_EQ(row(25904), "25904,   80,  150,        0.00,       64.00,        0.00,        0.00,\r\n");
}

// Without BUDGET the yearly totals still reach the tables.
TEST(RunE2E, AnnualTablesWithoutBudget) {
  TempDir d;
  precip(d, {1990, 1991});
  write_file(d / "co/1990.06.rcg", grid([](int c, int r) { return c == 1 && r == 1 ? "6.4" : "0"; }));
  write_file(d / "ks/1991.mi", grid([](int c, int r) { return c == 2 && r == 1 ? "12" : "0"; }));
  write_file(d / "ne/1991.agw", grid([](int c, int r) { return c == 326 && r == 165 ? "160" : "0"; }));
  write_file(d / "vadz.par", base_par() + "TRANSIENT 1990 1991\nANNPUMP\nANNRECH\n"
                                          "WELL wel.dat\nRECHARGE rch.dat\n");
  const auto res = run_vadz(d.path(), {"vadz.par"});
  ASSERT_EQ(res.status, 0) << res.out;
  EXPECT_EQ(res.out, PRISMLINE);

  const std::string head = "node, row, col, gwirr_af, gwrcg_af, mi_af, gw_ac\r\n";
  const std::string t0 = read_file(d / "1990annpump.csv"), t1 = read_file(d / "1991annpump.csv");
  ASSERT_EQ(t0.size(), 50u + 53790u * 72u);
  ASSERT_EQ(t1.size(), 50u + 53790u * 72u);
  EXPECT_EQ(t0.substr(0, 50 + 72),
            head + "    1,    1,    1,        0.00,        6.40,        0.00,        0.00,\r\n");
  // 12 acre-feet a year over 365 of 365.25 days: 11.9918.
  EXPECT_EQ(t1.substr(50 + 72, 72),
            "    2,    1,    2,        0.00,        0.00,       11.99,        0.00,\r\n");
  EXPECT_EQ(t1.substr(t1.size() - 72),
            "53790,  165,  326,        0.00,        0.00,        0.00,      160.00,\r\n");

  const size_t len = 50 + 26 + 2;
  const std::string a = read_file(d / "annrcp.csv"), b = read_file(d / "annrech.csv");
  ASSERT_EQ(a.size(), len * 53791);
  ASSERT_EQ(b.size(), len * 53791);
  const std::string h2 =
      " node,  row,  col, ibnd,        x_ft,        y_ft,        1990,        1991,\r\n";
  EXPECT_EQ(a.substr(0, 2 * len),
            h2 + "    1,    1,    1,    1,     268663.,   14961366.,    2.500000,    2.500000,\r\n");
  // 2.5 inches plus 6.4 acre-feet spread over the cell (0.12 inch).
  EXPECT_EQ(b.substr(0, 2 * len),
            h2 + "    1,    1,    1,    1,     268663.,   14961366.,    2.620000,    2.500000,\r\n");
  // 160 irrigated acres in 1991: a quarter on the irrigated curve,
  // 0.25 * 5 + 0.75 * 2.5 in/yr.
  EXPECT_EQ(b.substr(b.size() - len),
            "53790,  165,  326,    1,    1984663.,   14095446.,    2.500000,    3.125000,\r\n");
}

TEST(RunE2E, AllZeroFileGridRemovesAnEarlierRunsFile) {
  TempDir d;
  precip(d, {1990});
  write_file(d / "grids/1990.irr", "an earlier run's areas\r\n");
  write_file(d / "grids/1990.ppt", "an earlier run's precipitation\r\n");
  write_file(d / "vadz.par", base_par() + "TRANSIENT 1990 1990\nFILE grids ppt irr rcp\n"
                                          "WELL wel.dat\nRECHARGE rch.dat\n");
  const auto res = run_vadz(d.path(), {"vadz.par"});
  ASSERT_EQ(res.status, 0) << res.out;
  // No irrigated land in 1990: no grid, and none left from before.
  EXPECT_FALSE(exists(d / "grids/1990.irr"));
  EXPECT_EQ(read_file(d / "grids/1990.ppt").size(), 165u * 8478u);
}

TEST(RunE2E, RechargeTablesOnlyWithinNinetyToFifteen) {
  TempDir d;
  precip(d, {1989, 1990});
  write_file(d / "vadz.par", base_par() + "TRANSIENT 1989 1990\nANNRECH\n"
                                          "WELL " + NULL_DEVICE + "\nRECHARGE " + NULL_DEVICE + "\n");
  const auto res = run_vadz(d.path(), {"vadz.par"});
  EXPECT_EQ(res.status, 0);
  EXPECT_FALSE(exists(d / "annrcp.csv"));
  EXPECT_FALSE(exists(d / "annrech.csv"));
}

TEST(RunE2E, RechargeTablesOfTwentySixYears) {
  TempDir d;
  for (int y = 1990; y <= 2015; ++y) precip(d, {y});
  write_file(d / "vadz.par", base_par() + "TRANSIENT 1990 2015\nANNRECH\n"
                                          "WELL " + NULL_DEVICE + "\nRECHARGE " + NULL_DEVICE + "\n");
  const auto res = run_vadz(d.path(), {"vadz.par"});
  ASSERT_EQ(res.status, 0) << res.out;
  const std::string a = read_file(d / "annrech.csv");
  const size_t len = 388 + 2;
  ASSERT_EQ(a.size(), len * 53791);
  std::string head = " node,  row,  col, ibnd,        x_ft,        y_ft,";
  for (int y = 1990; y <= 2015; ++y) head += "        " + std::to_string(y) + ",";
  EXPECT_EQ(a.substr(0, len), head + "\r\n");
  std::string last = "53790,  165,  326,    1,    1984663.,   14095446.,";
  for (int y = 1990; y <= 2015; ++y) last += "    2.500000,";
  EXPECT_EQ(a.substr(a.size() - len), last + "\r\n");
}

TEST(RunE2E, SingleYearWithOneZoneBudget) {
  TempDir d;
  precip(d, {2000});
  write_file(d / "vadz.par", base_par() + "BUDGET *\nTRANSIENT 2000 2000\nANNRECH\n"
                                          "WELL " + NULL_DEVICE + "\nRECHARGE " + NULL_DEVICE + "\n");
  const auto res = run_vadz(d.path(), {"vadz.par"});
  ASSERT_EQ(res.status, 0) << res.out;
  std::string row = " 2000" + r10("53790") + r10("53790") + r10("20.0") + r10("20.0");
  for (int q = 0; q < 5; ++q) row += r10("0.0") + r10("0.0");
  row += r10("7172000.0") + r10("7172000.0");
  for (int q = 0; q < 3; ++q) row += r10("0.0") + r10("0.0");
  EXPECT_EQ(res.out, PRISMLINE + heading({"*"}) + row + "\r\n");
  const std::string a = read_file(d / "annrcp.csv");
  EXPECT_EQ(a.substr(0, 65),
            " node,  row,  col, ibnd,        x_ft,        y_ft,        2000,\r\n");
}

TEST(RunE2E, Stops) {
  TempDir d;
  // One station with data for 1990 only.
  write_file(d / "loc.txt", "name x y\nS1 500000 14500000\n");
  write_file(d / "pp.txt", "year S1\n1990 20\n");
  const std::string stn = "SOIL *\nFUNCTION fn.txt 1\n0 0 0\n64 8 16\n"
                          "MONTH 0.0625 0.0625 0.0625 0.0625 0.125 0.125 0.125 0.125 "
                          "0.0625 0.0625 0.0625 0.0625\nSTATIONS loc.txt pp.txt 0\n";
  write_file(d / "a.par", stn + "TRANSIENT 1990 1991\nWELL wel.dat\nRECHARGE rch.dat\n");
  auto res = run_vadz(d.path(), {"a.par"});
  EXPECT_EQ(res.status, 1);
  EXPECT_EQ(res.out, " No precip data for year         1991\r\n");
  EXPECT_FALSE(exists(d / "wel.dat"));

  write_file(d / "b.par", base_par() + "WELL nodir/wel.dat\nRECHARGE rch.dat\n");
  res = run_vadz(d.path(), {"b.par"});
  EXPECT_EQ(res.status, 1);
  EXPECT_EQ(res.out, PRISMLINE + " Cannot open file nodir/wel.dat\r\n");
}

}  // namespace
}  // namespace vadz
