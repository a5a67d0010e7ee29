// Whole runs on small hand-built data sets. Every expected byte is worked out
// from the documented file layouts and the documented order of arithmetic:
// PRISM precipitation grids (no kriging), one soil covering the grid, and the
// straight recharge curves Fn(P) = P/4 (non-irrigated) and Fi(P) = P/2
// (irrigated) tabulated at 0.1-inch steps up to 64 inches.
#include <gtest/gtest.h>

#include "support/testutil.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace vadz::test {
namespace {

constexpr int kCols = 326;
constexpr int kRows = 165;
// Acre-feet over a 640-acre cell to inches, as the model arrays carry it
// (single precision widened to double).
const double kArrayScale = static_cast<double>(0.01875f);
constexpr double kInchYrToAcreFt = 53.333333333333336;  // 640 / 12
constexpr double kYearSeconds = 31557600.0;

std::string fmt(const char* f, ...) __attribute__((format(printf, 1, 2)));
std::string fmt(const char* f, ...) {
  char buf[512];
  va_list ap;
  va_start(ap, f);
  std::vsnprintf(buf, sizeof buf, f, ap);
  va_end(ap);
  return buf;
}

using Fn = std::function<double(int c, int r)>;
using Cells = std::map<std::pair<int, int>, double>;  // (column, row) -> value

double at(const Cells& m, int c, int r) {
  auto it = m.find({c, r});
  return it == m.end() ? 0.0 : it->second;
}

std::string grid_of(const Cells& m, double dflt = 0.0) {
  return text_grid([&](int c, int r) {
    auto it = m.find({c, r});
    return it == m.end() ? dflt : it->second;
  });
}

// Compares two texts and names the first differing line instead of dumping MBs.
::testing::AssertionResult same_text(const std::string& what, const std::string& got,
                                     const std::string& want) {
  if (got == want) return ::testing::AssertionSuccess();
  size_t i = 0;
  while (i < got.size() && i < want.size() && got[i] == want[i]) ++i;
  size_t line_no = 1;
  for (size_t k = 0; k < i; ++k)
    if (want[k] == '\n') ++line_no;
  size_t start = want.rfind('\n', i == 0 ? 0 : i - 1);
  start = (start == std::string::npos || i == 0) ? 0 : start + 1;
  auto line_at = [&](const std::string& s) {
    if (start >= s.size()) return std::string("<end of text>");
    size_t e = s.find('\n', start);
    return s.substr(start, e == std::string::npos ? std::string::npos : e - start + 1);
  };
  return ::testing::AssertionFailure()
         << what << ": first difference on line " << line_no << " (byte " << i << ")\n got:  ["
         << line_at(got) << "]\n want: [" << line_at(want) << "]\n sizes got " << got.size()
         << " want " << want.size();
}

// --- recharge curves --------------------------------------------------------

// Table lookup by bisection with linear interpolation over the abscissae
// (k - 1) / 10, k = 1..641, of a straight curve y = slope * x.
double lookup(double v, double slope) {
  const int n = 641;
  auto x = [](int k) { return (k - 1) / 10.0; };
  auto y = [&](int k) { return slope * x(k); };
  int lo = 1, hi = n;
  while (hi - lo > 1) {
    int mid = (lo + hi) / 2;
    if (x(mid) == v) return y(mid);
    if (x(mid) < v) lo = mid;
    else hi = mid;
  }
  double w = (v - x(lo)) / (x(hi) - x(lo));
  return (1 - w) * y(lo) + w * y(hi);
}

// Recharge from precipitation of an active cell: the irrigated and the
// non-irrigated curve mixed by the irrigated fraction, terrain multiplier 1.
double rcp_of(double p, double area) {
  double firr = area / 640 < 1 ? area / 640 : 1.0;
  double d = (1 - firr) * lookup(p, 0.25);
  double i = lookup(p, 0.5) * firr;
  return 1.0 * (i + d);
}

double firr_of(double area) { return area / 640 < 1 ? area / 640 : 1.0; }

const char* kCurveBlock =
    "SOIL *\n"
    "FUNCTION curves.txt 1\n"
    "0 0 0\n"
    "64 16 32\n";

// --- model-file layouts -----------------------------------------------------

int month_days(int m, int y) {
  static const int ndm[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return (m == 2 && y % 4 == 0) ? 29 : ndm[m - 1];
}
int month_seconds(int m, int y) { return month_days(m, y) * 86400; }
std::string month_label(int m, int y) { return fmt("%2d/%4d", m, y); }

// The 165 x 326 array, 20 values of 9 columns with 5 decimals per line, each
// grid row starting a new line.
std::string array_text(const Fn& v) {
  std::string s;
  s.reserve(2805 * 182);
  char cell[64] = "";
  double last = 0;
  bool have = false;
  for (int r = 1; r <= kRows; ++r) {
    for (int c = 1; c <= kCols; ++c) {
      double x = v(c, r);
      if (!have || x != last || std::signbit(x) != std::signbit(last)) {
        std::snprintf(cell, sizeof cell, "%9.5f", x);
        last = x;
        have = true;
      }
      s += cell;
      if (c % 20 == 0 || c == kCols) s += "\r\n";
    }
  }
  return s;
}

std::string rch_block(const std::string& label, int seconds, const Fn& v) {
  return fmt("%10d%10d\r\n", 1, 0) +
         fmt("INTERNAL %15.8E (20F9.5) %3d %s\r\n", 0.08333333333333333 / seconds, -1,
             label.c_str()) +
         array_text(v);
}

struct Well {
  int c, r;
  double pump;  // acre-feet in the period
};

std::string well_block(const std::string& label, int seconds, const std::vector<Well>& wells) {
  std::string s = fmt("%5d%3d %s\r\n", static_cast<int>(wells.size()), -1, label.c_str());
  double v = 43560.0 / seconds;
  for (const Well& w : wells) s += fmt("1%4d%4d%11.6f\r\n", w.r, w.c, -(w.pump * v));
  return s;
}

// --- console and list-form reals ------------------------------------------

std::string list_real(double v) {
  char buf[96];
  if (v == 0) {
    std::snprintf(buf, sizeof buf, "%20.16f     ", 0.0);
    return buf;
  }
  std::snprintf(buf, sizeof buf, "%.16e", v);
  const char* e = std::strchr(buf, 'e');
  int ex = std::atoi(e + 1);
  if (ex >= -1 && ex < 17) {
    int dec = ex >= 0 ? 16 - ex : 17;
    std::snprintf(buf, sizeof buf, "%20.*f     ", dec, v);
    return buf;
  }
  std::string mant(buf, static_cast<size_t>(e - buf));
  std::string full = mant + fmt("E%c%03d", ex < 0 ? '-' : '+', std::abs(ex));
  return fmt("%25s", full.c_str());
}

std::string list_grid(const Fn& v) {
  std::string s;
  s.reserve(kRows * 8478);
  std::string cell;
  double last = 0;
  bool have = false;
  for (int r = 1; r <= kRows; ++r) {
    for (int c = 1; c <= kCols; ++c) {
      double x = v(c, r);
      if (!have || x != last || std::signbit(x) != std::signbit(last)) {
        cell = list_real(x);
        last = x;
        have = true;
      }
      s += ' ';
      s += cell;
    }
    s += "\r\n";
  }
  return s;
}

// --- budget table -----------------------------------------------------------

const char* kGroupLabels[11] = {"act.cells", "Precip_in", "gwIrr_af",  "gwMI_af",
                                "gwArea_ac", "coArea_ac", "swArea_ac", "RchRcp_af",
                                "RchRcg_af", "RchRcs_af", "RchRcc_af"};

std::string budget_heading(const std::vector<std::string>& zones) {
  std::string s = " Year";
  for (const char* label : kGroupLabels) {
    for (const auto& z : zones) s += fmt("%10s", z.substr(0, 10).c_str());
    s += fmt("%10s", label);
  }
  return s + "\r\n";
}

std::string f101(double v) { return fmt("%10.1f", v); }

// --- annual tables ----------------------------------------------------------

double xc(int c) { return (c - 0.5) * 5280 + 266023; }
double yc(int r) { return (165 - r + 0.5) * 5280 + 14092806; }

std::string annpump_table(const Fn& pump, const Fn& rcg, const Fn& mi, const Fn& gwac) {
  std::string s = "node, row, col, gwirr_af, gwrcg_af, mi_af, gw_ac\r\n";
  s.reserve(53791 * 72);
  for (int r = 1; r <= kRows; ++r)
    for (int c = 1; c <= kCols; ++c)
      s += fmt("%5d,%5d,%5d,%12.2f,%12.2f,%12.2f,%12.2f,\r\n", (r - 1) * kCols + c, r, c,
               pump(c, r), rcg(c, r), mi(c, r), gwac(c, r));
  return s;
}

std::string annrech_table(int y1, const std::vector<Fn>& years,
                          const std::function<int(int, int)>& ibound) {
  std::string s = " node,  row,  col, ibnd,        x_ft,        y_ft,";
  for (size_t k = 0; k < years.size(); ++k) s += fmt("        %4d,", y1 + static_cast<int>(k));
  s += "\r\n";
  for (int r = 1; r <= kRows; ++r)
    for (int c = 1; c <= kCols; ++c) {
      s += fmt("%5d,%5d,%5d,%5d,%11.0f.,%11.0f.,", (r - 1) * kCols + c, r, c, ibound(c, r),
               xc(c), yc(r));
      for (const Fn& f : years) s += fmt("%12.6f,", f(c, r));
      s += "\r\n";
    }
  return s;
}

// =============================================================================
// A steady window and one transient year with three budget zones, an inactive
// row, a cell of IBOUND -1, a zone-0 row, a one-month-heavy MONTH vector, every
// annual table, the FILE grids and the FUNCTION table.
// =============================================================================
class FullYear : public ::testing::Test {
 protected:
  static int ibound(int c, int r) {
    if (r == 1) return 0;
    if (c == 50 && r == 80) return -1;
    return 1;
  }
  static int zone(int c, int r) {
    if (r == 165) return 0;
    return c <= 100 ? 1 : c <= 200 ? 2 : 3;
  }
  static double rpp90(int c, int r) {
    if (r == 1) return 30.0;
    if (c == 300 && r == 100) return 40.0;
    if (c == 310 && r == 100) return 12.34;
    return 20.0;
  }
  const Cells co_agw{{{5, 10}, 160}, {{7, 10}, 400}};
  const Cells ks_asw{{{7, 10}, 400}, {{150, 20}, 640}, {{151, 1}, 320}};
  const Cells ne_aco{{{250, 30}, 320}};
  const double w[12] = {0.0625, 0.0625, 0.0625, 0.0625, 0.0625, 0.0625,
                        0.5,    0.125,  0,      0,      0,      0};

  double area(int c, int r) const {
    return ((0.0 + 1.0 * at(co_agw, c, r)) + at(ks_asw, c, r)) + 1.0 * at(ne_aco, c, r);
  }
  double curv(int c, int r) const {
    if (ibound(c, r) <= 0) return 0.0;
    return rcp_of(rpp90(c, r), area(c, r));
  }
  double firr(int c, int r) const { return ibound(c, r) <= 0 ? 0.0 : firr_of(area(c, r)); }
  // Steady window 1988 (20 inches) and 1989 (40 inches), no irrigation.
  static double rch(int c, int r) {
    double a = 0.0, b = 0.0;
    if (ibound(c, r) > 0) {
      a = rcp_of(20.0, 0.0);
      b = rcp_of(40.0, 0.0);
    }
    return ((0.0 + a) + b) / 2;
  }
  double annmi_co_5_10() const {
    double a = 0;
    for (int m = 1; m <= 12; ++m) a = a + (1.0 * (month_seconds(m, 1990) / kYearSeconds)) * 120;
    return a;
  }
};

TEST_F(FullYear, EveryOutputOfTheRun) {
  TempDir d;
  write_file(d / "p.par",
             std::string("PRISM prism\n"
                         "IBOUND ibound.txt\n") +
                 kCurveBlock +
                 "MONTH 0.0625 0.0625 0.0625 0.0625 0.0625 0.0625 0.5 0.125 0 0 0 0\n"
                 "STEADY 1988 1989 0.5\n"
                 "TRANSIENT 1990 1990\n"
                 "BUDGET zones.txt\n"
                 "ANNPUMP\n"
                 "ANNRECH\n"
                 "FILE grids ppt irr rcp\n"
                 "WELL w.wel\n"
                 "IWELCB -1\n"
                 "RECHARGE r.rch\n"
                 "IRCHCB 50\n");
  write_file(d / "ibound.txt", flag_file("", 2, ibound));
  write_file(d / "zones.txt", flag_file("CO KS NE", 1, zone));
  write_file(d / "prism/1988.grd", grid_of({}, 20.0));
  write_file(d / "prism/1989.grd", grid_of({}, 40.0));
  write_file(d / "prism/1990.grd", text_grid(rpp90));
  std::filesystem::create_directories(d / "grids");
  write_file(d / "co/steady.mi", grid_of({{{5, 10}, 100}}));
  write_file(d / "co/steady.pmp", grid_of({{{6, 10}, 200}}));
  write_file(d / "ks/steady.rcs", grid_of({{{150, 20}, 3}}));
  write_file(d / "co/1990.agw", grid_of(co_agw));
  write_file(d / "ks/1990.asw", grid_of(ks_asw));
  write_file(d / "ne/1990.aco", grid_of(ne_aco));
  write_file(d / "co/1990.mi", grid_of({{{5, 10}, 120}}));
  write_file(d / "co/1990.07.pmp", grid_of({{{5, 10}, 30}, {{6, 10}, 12.5}}));
  write_file(d / "co/1990.07.rcg", grid_of({{{5, 10}, 3}}));
  // Two returns just below a rounding tie: 0.004 acre-feet is 0.000075 inch
  // (a tie at 5 decimals in the arrays), 0.0004 is 0.0000075 inch (a tie at 6
  // decimals in annrech.csv); the scale used decides the last digit.
  write_file(d / "ks/1990.07.rcs", grid_of({{{150, 20}, 6},
                                             {{151, 1}, 2},
                                             {{160, 1}, 0.003999999999},
                                             {{160, 20}, 0.0003999999999999}}));
  write_file(d / "ne/1990.08.rcc", grid_of({{{250, 30}, 4}}));
  write_file(d / "ne/1990.08.pmp", grid_of({{{250, 30}, -10}}));

  RunResult res = run_vadz(d.path(), {"p.par"});
  ASSERT_EQ(res.status, 0) << res.out;
  EXPECT_EQ(res.err, "");

  // Recharge file: header, steady block, twelve months.
  std::string rch_want = fmt("%10d%10d\r\n", 1, 50);
  rch_want += rch_block("Steady ", 31557600, [&](int c, int r) {
    double r1 = 0.0 + (0.5 * kInchYrToAcreFt) * rch(c, r);
    double r3 = (c == 150 && r == 20) ? 0.0 + 3.0 : 0.0;
    return (((r1 + 0.0) + r3) + 0.0) * kArrayScale;
  });
  for (int m = 1; m <= 12; ++m) {
    rch_want += rch_block(month_label(m, 1990), month_seconds(m, 1990), [&](int c, int r) {
      double r1 = 0.0 + (w[m - 1] * kInchYrToAcreFt) * curv(c, r);
      double r2 = 0.0, r3 = 0.0, r4 = 0.0;
      if (m == 7 && c == 5 && r == 10) r2 = 0.0 + 1.0 * 3;
      if (m == 7 && c == 150 && r == 20) r3 = 6;
      if (m == 7 && c == 151 && r == 1) r3 = 2;
      if (m == 7 && c == 160 && r == 1) r3 = 0.003999999999;
      if (m == 7 && c == 160 && r == 20) r3 = 0.0003999999999999;
      if (m == 8 && c == 250 && r == 30) r4 = 4;
      return (((r1 + r2) + r3) + r4) * kArrayScale;
    });
  }
  EXPECT_TRUE(same_text("r.rch", read_file(d / "r.rch"), rch_want));
  // July, row 1, line 8 holds columns 141..160: column 160 ends the line.
  {
    std::string got = read_file(d / "r.rch");
    size_t at7 = got.find(" 7/1990\r\n");
    ASSERT_NE(at7, std::string::npos);
    size_t p = at7 + std::string(" 7/1990\r\n").size();
    for (int k = 0; k < 8; ++k) p = got.find('\n', p) + 1;
    EXPECT_EQ(got.substr(p - 11, 11), "  0.00008\r\n");
  }

  // Well file.
  std::string wel_want = "     14000        -1 NOPRINT\r\n";
  wel_want += well_block("Steady ", 31557600, {{5, 10, 0.0 + (1.0 * 1.0) * 100}, {6, 10, 200}});
  for (int m = 1; m <= 12; ++m) {
    int s = month_seconds(m, 1990);
    double mi = 0.0 + (1.0 * (s / kYearSeconds)) * 120;
    std::vector<Well> wells;
    if (m == 7) {
      wells = {{5, 10, mi + 1.0 * 30}, {6, 10, 0.0 + 1.0 * 12.5}};
    } else {
      wells = {{5, 10, mi}};
      if (m == 8) wells.push_back({250, 30, 0.0 + 1.0 * -10});
    }
    wel_want += well_block(month_label(m, 1990), s, wells);
  }
  EXPECT_TRUE(same_text("w.wel", read_file(d / "w.wel"), wel_want));

  // Budget table: heading, steady row, 1990 row.
  double rcp_ss[4] = {0, 0, 0, 0}, rcp90[4] = {0, 0, 0, 0}, pr[4] = {0, 0, 0, 0};
  int count[4] = {0, 0, 0, 0};
  for (int r = 1; r <= kRows; ++r)
    for (int c = 1; c <= kCols; ++c) {
      int z = zone(c, r);
      if (ibound(c, r) != 0) {
        count[z] += 1;
        pr[z] += rpp90(c, r);
      }
      rcp_ss[z] += rch(c, r);
      rcp90[z] += curv(c, r);
    }
  count[0] = count[1] + count[2] + count[3];
  pr[0] = (pr[1] + pr[2]) + pr[3];
  ASSERT_EQ(count[1], 16300);
  ASSERT_EQ(count[3], 20538);
  std::string ss_row = " SS  ";
  double ss_total = 0;
  for (int z = 1; z <= 3; ++z) {
    double a = rcp_ss[z] / 12 * 640;
    ss_total += a;
    ss_row += f101(a);
  }
  ss_row += f101(ss_total) + "\r\n";
  std::string row = " 1990";
  for (int z = 1; z <= 3; ++z) row += fmt("%10d", count[z]);
  row += fmt("%10d", count[0]);
  for (int z = 0; z <= 3; ++z) row += f101(pr[(z + 1) % 4] / count[(z + 1) % 4]);
  double mi = annmi_co_5_10();
  auto group = [&](double a, double b, double c) {
    return f101(a) + f101(b) + f101(c) + f101(((0.0 + a) + b) + c);
  };
  row += group(0.0 + 30 + 12.5, 0.0, 0.0 + -10.0);  // pumping
  row += group(0.0 + mi, 0.0, 0.0);                  // M&I
  row += group(0.0 + 160 + 400, 0.0, 0.0);           // groundwater area
  row += group(0.0, 0.0, 320.0);                     // commingled area
  row += group(0.0, ((0.0 + 320) + 400) + 640, 0.0); // surface-water area
  double rcp_total = 0;
  for (int z = 1; z <= 3; ++z) {
    double a = rcp90[z] / 12 * 640;
    rcp_total += a;
    row += f101(a);
  }
  row += f101(rcp_total);
  row += group(3.0, 0.0, 0.0);                 // Rcg
  row += group(0.0, (((0.0 + 2) + 0.003999999999) + 6) + 0.0003999999999999, 0.0);  // Rcs
  row += group(0.0, 0.0, 4.0);                 // Rcc
  row += "\r\n";
  ASSERT_EQ(row.size(), 447u);
  std::string out_want = " PRISMpath=prism\r\n" + budget_heading({"CO", "KS", "NE"}) + ss_row + row;
  EXPECT_TRUE(same_text("stdout", res.out, out_want));

  // Yearly pumping table.
  std::string ap = annpump_table(
      [&](int c, int r) {
        if (c == 5 && r == 10) return 30.0;
        if (c == 6 && r == 10) return 12.5;
        if (c == 250 && r == 30) return -10.0;
        return 0.0;
      },
      [&](int c, int r) { return (c == 5 && r == 10) ? 3.0 : 0.0; },
      [&](int c, int r) { return (c == 5 && r == 10) ? mi : 0.0; },
      [&](int c, int r) { return at(co_agw, c, r); });
  EXPECT_TRUE(same_text("1990annpump.csv", read_file(d / "1990annpump.csv"), ap));

  // Annual recharge tables.
  EXPECT_TRUE(same_text("annrcp.csv", read_file(d / "annrcp.csv"),
                        annrech_table(1990, {[&](int c, int r) { return curv(c, r); }}, ibound)));
  EXPECT_TRUE(same_text(
      "annrech.csv", read_file(d / "annrech.csv"),
      annrech_table(1990,
                    {[&](int c, int r) {
                      double rcg = (c == 5 && r == 10) ? 3.0 : 0.0;
                      double rcs = (c == 150 && r == 20) ? 6.0
                                   : (c == 151 && r == 1)  ? 2.0
                                   : (c == 160 && r == 1)  ? 0.003999999999
                                   : (c == 160 && r == 20) ? 0.0003999999999999
                                                           : 0.0;
                      double rcc = (c == 250 && r == 30) ? 4.0 : 0.0;
                      return curv(c, r) + 0.01875 * ((rcg + rcs) + rcc);
                    }},
                    ibound)));

  EXPECT_NE(read_file(d / "annrech.csv").find("    5.000007,\r\n"), std::string::npos);

  // Yearly grid files.
  EXPECT_TRUE(same_text("grids/1990.ppt", read_file(d / "grids/1990.ppt"), list_grid(rpp90)));
  EXPECT_TRUE(same_text("grids/1990.irr", read_file(d / "grids/1990.irr"),
                        list_grid([&](int c, int r) { return firr(c, r) * 640.0; })));
  EXPECT_TRUE(same_text("grids/1990.rcp", read_file(d / "grids/1990.rcp"),
                        list_grid([&](int c, int r) { return curv(c, r) * 1.0; })));
  EXPECT_FALSE(exists(d / "grids/1988.ppt"));
  EXPECT_FALSE(exists(d / "grids/1989.ppt"));

  // FUNCTION table.
  std::string ft = "Precip Soil  1 Soil  1\r\n";
  for (int k = 1; k <= 641; ++k) {
    double x = (k - 1) / 10.0;
    ft += fmt("%6.1f%8.3f%8.3f\r\n", x, 0.25 * x, 0.5 * x);
  }
  EXPECT_TRUE(same_text("curves.txt", read_file(d / "curves.txt"), ft));
}

// =============================================================================
// GWMASK and MOUND cells, stress multipliers from the command line overriding
// a STRESSF line, a state group with NOPUMP, and the yearly pumping table
// without BUDGET (totals over the state groups are still formed).
// =============================================================================
TEST(BlindRunE2E, MaskMoundStressNopumpAndTablesWithoutBudget) {
  TempDir d;
  write_file(d / "p.par",
             std::string(kCurveBlock) +
                 "MONTH 0 0 1 0 0 0 0 0 0 0 0 0\n"
                 "PRISM prism\n"
                 "GWMASK gw.txt\n"
                 "MOUND mound.txt\n"
                 "STRESSF 9 9 nine 9\n"
                 "NOPUMP ne\n"
                 "TRANSIENT 1995 1995\n"
                 "ANNPUMP\n"
                 "WELL w.wel\n"
                 "RECHARGE r.rch\n");
  auto in = [](int c, int r, std::initializer_list<std::pair<int, int>> cells) {
    for (auto [cc, rr] : cells)
      if (c == cc && r == rr) return 1;
    return 0;
  };
  auto gw = [&](int c, int r) { return in(c, r, {{10, 50}, {11, 50}}); };
  auto md = [&](int c, int r) { return in(c, r, {{20, 50}, {10, 50}}); };
  write_file(d / "gw.txt", flag_file("mask", 1, gw));
  write_file(d / "mound.txt", flag_file("m", 1, md));
  write_file(d / "prism/1995.grd", grid_of({}, 20.0));
  write_file(d / "co/1995.agw", grid_of({{{10, 50}, 100}, {{20, 50}, 100}}));
  write_file(d / "co/1995.aco", grid_of({{{10, 50}, 64}}));
  write_file(d / "ks/1995.asw", grid_of({{{20, 50}, 40}, {{30, 50}, 40}}));
  write_file(d / "ne/1995.agw", grid_of({{{60, 50}, 300}}));
  write_file(d / "ne/1995.aco", grid_of({{{20, 50}, 10}, {{40, 50}, 10}}));
  write_file(d / "co/1995.mi", grid_of({{{10, 50}, 365.25}}));
  write_file(d / "co/1995.03.pmp", grid_of({{{10, 50}, 50}, {{20, 50}, 50}}));
  write_file(d / "co/1995.03.rcg", grid_of({{{10, 50}, 8}, {{20, 50}, 8}}));
  write_file(d / "ks/1995.03.pmp", grid_of({{{50, 60}, 7}}));
  write_file(d / "ks/1995.03.rcs", grid_of({{{20, 50}, 4}, {{30, 50}, 4}}));
  write_file(d / "ne/1995.03.rcc", grid_of({{{20, 50}, 2}, {{40, 50}, 2}}));
  write_file(d / "ne/1995.mi", grid_of({{{60, 50}, 100}}));
  write_file(d / "ne/1995.03.pmp", grid_of({{{60, 50}, 100}}));
  write_file(d / "ne/1995.03.rcg", grid_of({{{60, 50}, 5}}));
  write_file(d / "ne/1995.03.rcs", grid_of({{{60, 50}, 1}}));

  RunResult res = run_vadz(d.path(), {"p.par", "STRESSF", "2", "1", "0.5", "4"});
  ASSERT_EQ(res.status, 0) << res.out;

  // Multipliers 2 (CO), 1 (KS), 0.5 (NE, pumping off), 4 (mound sw/co).
  // Irrigated acres: CO agw 2 x 100 at (20,50) (the masked (10,50) gets none),
  // CO aco 64 in full (pumping on), KS asw 4 x 40 in the mound cell and 40
  // elsewhere, NE aco (pumping off) 4 x 10 in the mound cell and 10 elsewhere.
  Cells area{{{20, 50}, ((0.0 + 2.0 * 100) + 4.0 * 40) + 4.0 * 10},
             {{30, 50}, 40},
             {{40, 50}, 10},
             {{10, 50}, 64}};
  auto curv = [&](int c, int r) { return rcp_of(20.0, at(area, c, r)); };

  std::string stressline = std::string(" stress multipliers from cmd line: ") + " " + " " +
                           list_real(2) + " " + " " + " " + list_real(1) + " " + " " + " " +
                           list_real(0.5) + " " + " " + " " + list_real(4) + "\r\n";
  std::string gwline =
      std::string(" GWMASK: ") + " " + fmt("%11d", 2) + " " + " cells in zone to exclude pumping\r\n";
  EXPECT_TRUE(same_text("stdout", res.out, " PRISMpath=prism\r\n" + gwline + stressline));

  std::string rch_want = fmt("%10d%10d\r\n", 1, 0);
  for (int m = 1; m <= 12; ++m) {
    double wm = m == 3 ? 1.0 : 0.0;
    rch_want += rch_block(month_label(m, 1995), month_seconds(m, 1995), [&](int c, int r) {
      double r1 = 0.0 + (wm * kInchYrToAcreFt) * curv(c, r);
      double r2 = 0, r3 = 0, r4 = 0;
      if (m == 3) {
        if (c == 20 && r == 50) {
          r2 = 0.0 + 2.0 * 8;
          r3 = 0.0 + 4.0 * 4;
          r4 = 0.0 + 4.0 * 2;
        }
        if (c == 30 && r == 50) r3 = 4;
        if (c == 40 && r == 50) r4 = 2;
        if (c == 60 && r == 50) r3 = 1;
      }
      return (((r1 + r2) + r3) + r4) * kArrayScale;
    });
  }
  EXPECT_TRUE(same_text("r.rch", read_file(d / "r.rch"), rch_want));

  std::string wel_want = "     14000         0 NOPRINT\r\n";
  double annmi = 0;
  for (int m = 1; m <= 12; ++m) {
    int s = month_seconds(m, 1995);
    double t = 2.0 * (s / kYearSeconds);
    double mi = 0.0 + t * 365.25;
    annmi = annmi + t * 365.25;
    std::vector<Well> wells{{10, 50, mi}};
    if (m == 3) wells = {{10, 50, mi}, {20, 50, 0.0 + 2.0 * 50}, {50, 60, 0.0 + 1.0 * 7}};
    wel_want += well_block(month_label(m, 1995), s, wells);
  }
  EXPECT_TRUE(same_text("w.wel", read_file(d / "w.wel"), wel_want));

  std::string ap = annpump_table(
      [&](int c, int r) {
        if (c == 20 && r == 50) return 100.0;
        if (c == 50 && r == 60) return 7.0;
        return 0.0;
      },
      [&](int c, int r) { return (c == 20 && r == 50) ? 16.0 : 0.0; },
      [&](int c, int r) { return (c == 10 && r == 50) ? annmi : 0.0; },
      [&](int c, int r) { return (c == 20 && r == 50) ? 200.0 : 0.0; });
  EXPECT_TRUE(same_text("1995annpump.csv", read_file(d / "1995annpump.csv"), ap));
  EXPECT_FALSE(exists(d / "annrcp.csv"));
}

// =============================================================================
// Four recharge files, an XFACTOR grid applied only after its year (to Rcg and
// Rcs, not to Rcp, Rcc or the annual totals), a one-zone budget "*" and the
// annual recharge tables over two years.
// =============================================================================
TEST(BlindRunE2E, FourFilesXfactorBoundaryAndOneZoneBudget) {
  TempDir d;
  write_file(d / "p.par",
             std::string(kCurveBlock) +
                 "MONTH 0.5 0.5 0 0 0 0 0 0 0 0 0 0\n"
                 "PRISM prism\n"
                 "XFACTOR 1990 xf.txt\n"
                 "TRANSIENT 1990 1991\n"
                 "BUDGET *\n"
                 "ANNRECH\n"
                 "WELL w.wel\n"
                 "RECHARGE f1.rch f2.rch f3.rch f4.rch\n");
  write_file(d / "xf.txt", grid_of({{{5, 5}, 3}}, 0.5));
  write_file(d / "prism/1990.grd", grid_of({}, 20.0));
  write_file(d / "prism/1991.grd", grid_of({}, 40.0));
  for (int y : {1990, 1991}) {
    write_file(d / fmt("co/%d.01.rcg", y), grid_of({{{5, 5}, 2}, {{6, 5}, 2}}));
    write_file(d / fmt("ks/%d.01.rcs", y), grid_of({{{5, 5}, 4}}));
    write_file(d / fmt("ne/%d.01.rcc", y), grid_of({{{5, 5}, 8}}));
  }

  RunResult res = run_vadz(d.path(), {"p.par"});
  ASSERT_EQ(res.status, 0) << res.out;

  std::string f[5];
  for (int j = 1; j <= 4; ++j) f[j] = fmt("%10d%10d\r\n", 1, 0);
  std::string wel_want = "     14000         0 NOPRINT\r\n";
  for (int y : {1990, 1991}) {
    double p = y == 1990 ? 20.0 : 40.0;
    double curv = rcp_of(p, 0.0);
    for (int m = 1; m <= 12; ++m) {
      double wm = m <= 2 ? 0.5 : 0.0;
      std::string label = month_label(m, y);
      int s = month_seconds(m, y);
      bool after = y > 1990;
      f[1] += rch_block(label, s, [&](int, int) {
        return (0.0 + (wm * kInchYrToAcreFt) * curv) * kArrayScale;
      });
      f[2] += rch_block(label, s, [&](int c, int r) {
        double v = 0;
        if (m == 1 && r == 5 && (c == 5 || c == 6)) v = 0.0 + 1.0 * 2;
        if (after) v = v * (c == 5 && r == 5 ? 3.0 : 0.5);
        return v * kArrayScale;
      });
      f[3] += rch_block(label, s, [&](int c, int r) {
        double v = (m == 1 && c == 5 && r == 5) ? 4.0 : 0.0;
        if (after) v = v * (c == 5 && r == 5 ? 3.0 : 0.5);
        return v * kArrayScale;
      });
      f[4] += rch_block(label, s, [&](int c, int r) {
        return ((m == 1 && c == 5 && r == 5) ? 8.0 : 0.0) * kArrayScale;
      });
      wel_want += well_block(label, s, {});
    }
  }
  for (int j = 1; j <= 4; ++j)
    EXPECT_TRUE(same_text(fmt("f%d.rch", j), read_file(d / fmt("f%d.rch", j)), f[j]));
  EXPECT_TRUE(same_text("w.wel", read_file(d / "w.wel"), wel_want));

  // One zone "*": zone column, then total; state-group columns show group 1,
  // totals sum the three groups.
  std::string out = " PRISMpath=prism\r\n" + budget_heading({"*"});
  for (int y : {1990, 1991}) {
    double p = y == 1990 ? 20.0 : 40.0;
    double curv = rcp_of(p, 0.0);
    double sum_p = 0, sum_r = 0;
    for (int k = 0; k < kRows * kCols; ++k) {
      sum_p += p;
      sum_r += curv;
    }
    double rcp = sum_r / 12 * 640;
    std::string row = fmt(" %4d%10d%10d", y, 53790, 53790);
    row += f101(sum_p / 53790) + f101(((sum_p + 0.0) + 0.0) / 53790);
    for (int g = 0; g < 5; ++g) row += f101(0.0) + f101(0.0);
    row += f101(rcp) + f101(0.0 + rcp);
    row += f101(0.0 + 2 + 2) + f101(((0.0 + 2 + 2) + 0.0) + 0.0);
    row += f101(0.0) + f101(0.0 + 4.0);
    row += f101(0.0) + f101(0.0 + 8.0);
    out += row + "\r\n";
  }
  EXPECT_TRUE(same_text("stdout", res.out, out));

  auto ib = [](int, int) { return 1; };
  EXPECT_TRUE(same_text("annrcp.csv", read_file(d / "annrcp.csv"),
                        annrech_table(1990,
                                      {[](int, int) { return rcp_of(20.0, 0.0); },
                                       [](int, int) { return rcp_of(40.0, 0.0); }},
                                      ib)));
  auto total = [](double p) {
    return [p](int c, int r) {
      double rcg = (r == 5 && (c == 5 || c == 6)) ? 2.0 : 0.0;
      double rcs = (c == 5 && r == 5) ? 4.0 : 0.0;
      double rcc = (c == 5 && r == 5) ? 8.0 : 0.0;
      return rcp_of(p, 0.0) + 0.01875 * ((rcg + rcs) + rcc);
    };
  };
  EXPECT_TRUE(same_text("annrech.csv", read_file(d / "annrech.csv"),
                        annrech_table(1990, {total(20.0), total(40.0)}, ib)));
}

// =============================================================================
// APPEND onto an existing well file and a missing recharge file; February of
// 2099 (28 days) and of 2100 (29 days, every year divisible by 4).
// =============================================================================
TEST(BlindRunE2E, AppendAndFebruaryOf2100) {
  TempDir d;
  write_file(d / "p.par",
             std::string(kCurveBlock) +
                 "MONTH 0 1 0 0 0 0 0 0 0 0 0 0\n"
                 "PRISM prism\n"
                 "TRANSIENT 2099 2100\n"
                 "ANNRECH\n"
                 "APPEND\n"
                 "WELL w.wel\n"
                 "RECHARGE r.rch\n");
  write_file(d / "prism/2099.grd", grid_of({}, 20.0));
  write_file(d / "prism/2100.grd", grid_of({}, 20.0));
  write_file(d / "co/2100.mi", grid_of({{{5, 5}, 365.25}}));
  write_file(d / "w.wel", "OLD WELL LINE\r\n");

  RunResult res = run_vadz(d.path(), {"p.par"});
  ASSERT_EQ(res.status, 0) << res.out;
  EXPECT_EQ(res.out, " PRISMpath=prism\r\n");
  EXPECT_EQ(month_seconds(2, 2100), 2505600);

  std::string rch_want, wel_want = "OLD WELL LINE\r\n";
  for (int y : {2099, 2100})
    for (int m = 1; m <= 12; ++m) {
      int s = month_seconds(m, y);
      double wm = m == 2 ? 1.0 : 0.0;
      rch_want += rch_block(month_label(m, y), s, [&](int, int) {
        return (0.0 + (wm * kInchYrToAcreFt) * rcp_of(20.0, 0.0)) * kArrayScale;
      });
      std::vector<Well> wells;
      if (y == 2100) wells.push_back({5, 5, 0.0 + (1.0 * (s / kYearSeconds)) * 365.25});
      wel_want += well_block(month_label(m, y), s, wells);
    }
  EXPECT_TRUE(same_text("r.rch", read_file(d / "r.rch"), rch_want));
  EXPECT_TRUE(same_text("w.wel", read_file(d / "w.wel"), wel_want));
  EXPECT_FALSE(exists(d / "annrcp.csv"));
  EXPECT_FALSE(exists(d / "annrech.csv"));
}

// =============================================================================
// Exactly 14,000 pumped cells pass (January); 14,001 stop the run (February)
// after its recharge array, before its well block, with exit status 1.
// =============================================================================
TEST(BlindRunE2E, WellLimitStop) {
  TempDir d;
  write_file(d / "p.par",
             std::string(kCurveBlock) +
                 "MONTH 1 0 0 0 0 0 0 0 0 0 0 0\n"
                 "PRISM prism\n"
                 "TRANSIENT 1990 1990\n"
                 "WELL w.wel\n"
                 "RECHARGE r.rch\n");
  write_file(d / "prism/1990.grd", grid_of({}, 20.0));
  auto first = [](int n) {
    return text_grid([n](int c, int r) { return (r - 1) * 326 + c <= n ? 1.0 : 0.0; });
  };
  write_file(d / "co/1990.01.pmp", first(14000));
  write_file(d / "co/1990.02.pmp", first(14001));

  RunResult res = run_vadz(d.path(), {"p.par"});
  EXPECT_EQ(res.status, 1);
  EXPECT_EQ(res.out, std::string(" PRISMpath=prism\r\n Increase MAXWEL to ") + " " + fmt("%11d", 14001) + "\r\n");

  std::string rch_want = fmt("%10d%10d\r\n", 1, 0);
  rch_want += rch_block(month_label(1, 1990), month_seconds(1, 1990), [](int, int) {
    return (0.0 + (1.0 * kInchYrToAcreFt) * rcp_of(20.0, 0.0)) * kArrayScale;
  });
  rch_want += rch_block(month_label(2, 1990), month_seconds(2, 1990),
                        [](int, int) { return (0.0 + 0.0 * 5.0) * kArrayScale; });
  EXPECT_TRUE(same_text("r.rch", read_file(d / "r.rch"), rch_want));

  std::vector<Well> wells;
  for (int n = 1; n <= 14000; ++n) wells.push_back({(n - 1) % 326 + 1, (n - 1) / 326 + 1, 1.0});
  EXPECT_TRUE(same_text("w.wel", read_file(d / "w.wel"),
                        "     14000         0 NOPRINT\r\n" +
                            well_block(month_label(1, 1990), month_seconds(1, 1990), wells)));
}

// =============================================================================
// Nine budget zones: the heading continues on a second line after 100 items,
// the by-state-group columns of zones above 3 show 0, a zone without active
// cells has a NaN mean; a one-year steady window and the leap year 2000.
// =============================================================================
TEST(BlindRunE2E, NineZoneBudgetAndLeapYear2000) {
  TempDir d;
  auto zone = [](int c, int) { return std::min((c - 1) / 37 + 1, 9); };
  auto ibound = [&](int c, int r) { return zone(c, r) == 9 ? 0 : 1; };
  write_file(d / "p.par",
             std::string(kCurveBlock) +
                 "MONTH 0 0 0 0 0 1 0 0 0 0 0 0\n"
                 "PRISM prism\n"
                 "IBOUND ibound.txt\n"
                 "BUDGET zones.txt\n"
                 "STEADY 2000 2000 1.0\n"
                 "TRANSIENT 2000 2000\n"
                 "WELL w.wel\n"
                 "RECHARGE r.rch\n");
  write_file(d / "ibound.txt", flag_file("", 2, ibound));
  write_file(d / "zones.txt", flag_file("z1 z2 z3 z4 z5 z6 z7 z8 twelvechars9", 1, zone));
  write_file(d / "prism/2000.grd", grid_of({}, 20.0));
  write_file(d / "co/2000.agw", grid_of({{{10, 10}, 320}}));
  write_file(d / "ks/2000.asw", grid_of({{{200, 10}, 64}}));
  write_file(d / "ne/2000.aco", grid_of({{{320, 10}, 100}}));
  write_file(d / "co/2000.mi", grid_of({{{10, 10}, 73.05}}));
  write_file(d / "ks/2000.06.pmp", grid_of({{{200, 10}, 10}}));
  write_file(d / "ne/2000.06.pmp", grid_of({{{320, 10}, 5}}));
  write_file(d / "co/2000.06.rcg", grid_of({{{10, 10}, 1}}));
  write_file(d / "ks/2000.06.rcs", grid_of({{{200, 10}, 2}}));
  write_file(d / "ne/2000.06.rcc", grid_of({{{320, 10}, 4}}));

  RunResult res = run_vadz(d.path(), {"p.par"});
  ASSERT_EQ(res.status, 0) << res.out;

  std::vector<std::string> names{"z1", "z2", "z3", "z4", "z5", "z6", "z7", "z8", "twelvechars9"};
  std::vector<std::string> items{" Year"};
  for (const char* label : kGroupLabels) {
    for (const auto& z : names) items.push_back(fmt("%10s", z.substr(0, 10).c_str()));
    items.push_back(fmt("%10s", label));
  }
  ASSERT_EQ(items.size(), 111u);
  std::string heading;
  for (size_t i = 0; i < 100; ++i) heading += items[i];
  heading += "\r\nRchRcs_af";
  for (size_t i = 101; i < 111; ++i) heading += items[i];
  heading += "\r\n";

  auto area = [](int c, int r) {
    if (c == 10 && r == 10) return 320.0;
    if (c == 200 && r == 10) return 64.0;
    if (c == 320 && r == 10) return 100.0;
    return 0.0;
  };
  auto curv = [&](int c, int r) { return ibound(c, r) > 0 ? rcp_of(20.0, area(c, r)) : 0.0; };
  auto steady = [&](int c, int r) { return ibound(c, r) > 0 ? rcp_of(20.0, 0.0) : 0.0; };
  double rs[10] = {}, rt[10] = {}, pr[10] = {};
  int count[10] = {};
  for (int r = 1; r <= kRows; ++r)
    for (int c = 1; c <= kCols; ++c) {
      int z = zone(c, r);
      if (ibound(c, r) != 0) {
        count[z] += 1;
        pr[z] += 20.0;
      }
      rs[z] += ((0.0 + steady(c, r)) / 1);
      rt[z] += curv(c, r);
    }
  count[0] = count[1] + count[2] + count[3];
  pr[0] = (pr[1] + pr[2]) + pr[3];
  std::string ss = " SS  ";
  double tot = 0;
  for (int z = 1; z <= 9; ++z) {
    double a = rs[z] / 12 * 640;
    tot += a;
    ss += f101(a);
  }
  ss += f101(tot) + "\r\n";

  double mi = 0;
  for (int m = 1; m <= 12; ++m) mi = mi + (1.0 * (month_seconds(m, 2000) / kYearSeconds)) * 73.05;
  auto by_group = [&](double g1, double g2, double g3) {
    std::string s = f101(g1) + f101(g2) + f101(g3);
    for (int z = 4; z <= 9; ++z) s += f101(0.0);
    return s + f101(((0.0 + g1) + g2) + g3);
  };
  std::string row = " 2000";
  for (int z = 1; z <= 9; ++z) row += fmt("%10d", count[z]);
  row += fmt("%10d", count[0]);
  for (int z = 1; z <= 9; ++z) row += count[z] == 0 ? std::string("       NaN") : f101(pr[z] / count[z]);
  row += f101(pr[0] / count[0]);
  row += by_group(0.0, 10.0, 5.0);
  row += by_group(mi, 0.0, 0.0);
  row += by_group(320.0, 0.0, 0.0);
  row += by_group(0.0, 0.0, 100.0);
  row += by_group(0.0, 64.0, 0.0);
  tot = 0;
  for (int z = 1; z <= 9; ++z) {
    double a = rt[z] / 12 * 640;
    tot += a;
    row += f101(a);
  }
  row += f101(tot);
  row += by_group(1.0, 0.0, 0.0);
  row += by_group(0.0, 2.0, 0.0);
  row += by_group(0.0, 0.0, 4.0);
  ASSERT_EQ(row.size(), 1105u);
  EXPECT_TRUE(same_text("stdout", res.out, " PRISMpath=prism\r\n" + heading + ss + row + "\r\n"));

  // Well file of the leap year: a 29-day February prorates the M&I use.
  std::string wel_want = "     14000         0 NOPRINT\r\n";
  wel_want += well_block("Steady ", 31557600, {});
  for (int m = 1; m <= 12; ++m) {
    int s = month_seconds(m, 2000);
    double p = 0.0 + (1.0 * (s / kYearSeconds)) * 73.05;
    std::vector<Well> wells{{10, 10, p}};
    if (m == 6) wells = {{10, 10, p}, {200, 10, 10.0}, {320, 10, 5.0}};
    wel_want += well_block(month_label(m, 2000), s, wells);
  }
  EXPECT_EQ(month_seconds(2, 2000), 2505600);
  EXPECT_TRUE(same_text("w.wel", read_file(d / "w.wel"), wel_want));
}

}  // namespace
}  // namespace vadz::test
