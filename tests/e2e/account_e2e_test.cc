// Every acre-foot accounted for, on a small basin with wells and returns in
// cells of IBOUND 0 and -1: budget.csv's water outside the active area adds
// up with the rest to the table's totals to the last digit, the steady
// period shows its pumping, the recharge as the model receives it carries
// XFACTOR, and --check and the report name the same figures.
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "support/testutil.h"

namespace vadz {
namespace {

using test::lines_of;
using test::read_file;
using test::TempDir;
using test::write_file;

// A text grid with the given values in a few cells, 0 elsewhere.
std::string cells(const std::map<std::pair<int, int>, double>& v) {
  return test::text_grid([&](int c, int r) {
    const auto it = v.find({c, r});
    return it == v.end() ? 0.0 : it->second;
  });
}

// The basin: cell (1, 1) of IBOUND 0, cell (2, 1) of IBOUND -1, three budget
// zones by column; the steady period of 1995 and the transient year 1996,
// whose Rcg and Rcs XFACTOR halves.
void basin(const TempDir& d) {
  write_file(d / "ib.txt", test::flag_file("", 2, [](int c, int r) {
    return r == 1 && c == 1 ? 0 : r == 1 && c == 2 ? -1 : 1;
  }));
  write_file(d / "zones.txt", test::flag_file("CO KS NE", 1, [](int c, int) {
    return c <= 108 ? 1 : c <= 217 ? 2 : 3;
  }));
  const std::string ppt = test::text_grid([](int, int) { return 20.0; });
  write_file(d / "ppt/1995.grd", ppt);
  write_file(d / "ppt/1996.grd", ppt);
  write_file(d / "xf.txt", test::text_grid([](int, int) { return 0.5; }));
  write_file(d / "co/steady.pmp", cells({{{1, 1}, 100}, {{5, 5}, 50}}));
  write_file(d / "co/steady.mi", cells({{{2, 1}, 365.25}}));
  write_file(d / "ks/1996.07.pmp", cells({{{2, 1}, 10}, {{10, 10}, 30}}));
  write_file(d / "ks/1996.mi", cells({{{1, 1}, 36.525}}));
  write_file(d / "co/1996.06.rcg", cells({{{2, 1}, 6.5}, {{20, 20}, 3.25}}));
  write_file(d / "ne/1996.08.rcs", cells({{{1, 1}, 8}, {{300, 100}, 16}}));
  write_file(d / "ne/1996.05.rcc", cells({{{1, 1}, 2}}));
  write_file(d / "vadz.par",
             "IBOUND ib.txt\nSOIL *\nFUNCTION fn.txt 1\n0 0 0\n64 8 16\n"
             "MONTH 0.0625 0.0625 0.0625 0.0625 0.125 0.125 0.125 0.125 0.0625 0.0625 0.0625 "
             "0.0625\nPRISM ppt\nBUDGET zones.txt\nSTEADY 1995 1995 1.0\nTRANSIENT 1996 1996\n"
             "XFACTOR 1995 xf.txt\nWELL wel.dat\nRECHARGE r1 r2 r3 r4\nBUDGETCSV budget.csv\n"
             "REPORT rep\n");
}

TEST(AccountE2E, WaterOutsideTheActiveAreaAddsUpToTheTotalsEverywhere) {
  TempDir d;
  basin(d);
  const test::RunResult run = test::run_vadz(d.path(), {"vadz.par"});
  ASSERT_EQ(run.status, 0) << run.out;

  // Every row by its key; the table's own rows come first, as before.
  std::map<std::string, std::string> value;
  const std::vector<std::string> rows = lines_of(read_file(d / "budget.csv"));
  for (size_t k = 1; k < rows.size(); ++k) {
    const size_t c = rows[k].rfind(',');
    EXPECT_TRUE(value.emplace(rows[k].substr(0, c), rows[k].substr(c + 1)).second) << rows[k];
  }
  ASSERT_EQ(rows.at(4 + 11 * 4), "1996,RchRcc_af,total,2");
  EXPECT_EQ(rows.at(4 + 11 * 4 + 1), "steady,gwIrr_af,CO,150");
  EXPECT_EQ(read_file(d / "budget.csv"), read_file(d / "rep/budget.csv"));

  // total = applied + outside, to the last digit, in every period, group and column.
  int checked = 0;
  for (const char* period : {"steady", "1996"}) {
    for (const char* g : {"gwIrr", "gwMI", "RchRcg", "RchRcs", "RchRcc"}) {
      for (const char* z : {"CO", "KS", "NE", "total"}) {
        const std::string key = std::string(period) + "," + g;
        const std::string tail = std::string(",") + z;
        const double total = std::strtod(value.at(key + "_af" + tail).c_str(), nullptr);
        const double out = std::strtod(value.at(key + "_outside_af" + tail).c_str(), nullptr);
        const double in = std::strtod(value.at(key + "_applied_af" + tail).c_str(), nullptr);
        EXPECT_EQ(in + out, total) << key << tail;
        ++checked;
      }
    }
  }
  EXPECT_EQ(checked, 40);

  // The figures: the steady period's pumping, the water outside, the
  // recharge the model receives (Rcg and Rcs halved, Rcc of (1, 1) lost).
  const std::vector<std::pair<std::string, std::string>> expect = {
      {"steady,gwIrr_af,total", "150"},          {"steady,gwIrr_outside_af,CO", "100"},
      {"steady,gwIrr_applied_af,CO", "50"},      {"steady,gwMI_af,CO", "365.25"},
      {"steady,gwMI_outside_af,total", "365.25"}, {"steady,gwMI_applied_af,total", "0"},
      {"1996,gwIrr_af,KS", "40"},                {"1996,gwIrr_outside_af,KS", "10"},
      {"1996,gwIrr_applied_af,KS", "30"},        {"1996,gwMI_applied_af,KS", "0"},
      {"1996,RchRcg_outside_af,CO", "6.5"},      {"1996,RchRcs_outside_af,NE", "8"},
      {"1996,RchRcc_outside_af,total", "2"},     {"1996,RchRcc_applied_af,NE", "0"},
      {"1996,RchRcg_model_af,CO", "1.625"},      {"1996,RchRcg_model_af,total", "1.625"},
      {"1996,RchRcs_model_af,NE", "8"},          {"1996,RchRcc_model_af,total", "0"},
      {"steady,RchRcg_model_af,total", "0"},
  };
  for (const auto& [key, v] : expect) EXPECT_EQ(value.at(key), v) << key;
  EXPECT_EQ(value.at("1996,gwMI_outside_af,KS"), value.at("1996,gwMI_af,KS"));

  // --check counts the same water, group by group.
  const test::RunResult check = test::run_vadz(d.path(), {"--check", "vadz.par"});
  EXPECT_EQ(check.status, 0) << check.out;
  const std::string hint =
      "hint: move the wells and returns into active cells or make the cells active in IBOUND; "
      "the MODFLOW 6 well list leaves such wells out and MODFLOW-2005 ignores them\r\n";
  const std::string warnings =
      "co/steady.*: warning: state group CO, steady period: 465.2 acre-feet of pumping fall in 2 "
      "cells outside the active area (IBOUND 0 or below), which the model never receives\r\n"
      "  note: groundwater irrigation pumping 100.0 acre-feet, municipal and industrial "
      "pumping 365.2 acre-feet\r\n  note: the first at row 1, column 1\r\n" + hint +
      "co/1996.*: warning: state group CO, 1996: 6.5 acre-feet of returns fall in 1 cell outside "
      "the active area (IBOUND 0 or below), which the model never receives\r\n"
      "  note: return from groundwater-irrigated land 6.5 acre-feet\r\n"
      "  note: the first at row 1, column 2\r\n" + hint +
      "ks/1996.*: warning: state group KS, 1996: 46.6 acre-feet of pumping fall in 2 cells "
      "outside the active area (IBOUND 0 or below), which the model never receives\r\n"
      "  note: groundwater irrigation pumping 10.0 acre-feet, municipal and industrial "
      "pumping 36.6 acre-feet\r\n  note: the first at row 1, column 1\r\n" + hint +
      "ne/1996.*: warning: state group NE, 1996: 10.0 acre-feet of returns fall in 1 cell outside "
      "the active area (IBOUND 0 or below), which the model never receives\r\n"
      "  note: return from surface-water-irrigated land 8.0 acre-feet, return from commingled "
      "land 2.0 acre-feet\r\n  note: the first at row 1, column 1\r\n" + hint;
  EXPECT_NE(check.out.find(warnings), std::string::npos) << check.out;

  // The report says it in the same figures.
  const std::string page = read_file(d / "rep/index.html");
  for (const char* s :
       {"<b>Steady period:</b> 465.2 acre-feet of pumping fall in 2 cells outside the active area",
        "(by state group, acre-feet: CO 465.2)",
        "<b>1996:</b> 46.6 acre-feet of pumping and 16.5 acre-feet of returns fall in 4 cells "
        "outside the active area (IBOUND 0 or below), which the model never receives (by state "
        "group, acre-feet: CO 6.5, KS 46.6, NE 10.0)"})
    EXPECT_NE(page.find(s), std::string::npos) << s;
}

}  // namespace
}  // namespace vadz
