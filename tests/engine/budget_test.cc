#include "engine/budget.h"

#include <gtest/gtest.h>

#include <string>

#include "utl/console.h"

namespace vadz {
namespace {

// Right-aligned in 10 columns, as every heading and row field.
std::string r10(const std::string& s) { return std::string(10 - s.size(), ' ') + s; }

std::string capture(const std::function<void()>& f) {
  testing::internal::CaptureStdout();
  f();
  console_flush();
  return testing::internal::GetCapturedStdout();
}

void fill(RealGrid& g, double v) { g.assign(NCELL, v); }

TEST(BudgetHeading, ThreeZones) {
  RunConfig cfg;
  cfg.nbgt = 3;
  cfg.bgtname = {"CO", "KS", "NE"};
  std::string want = " Year";
  for (const char* label : {"act.cells", "Precip_in", "gwIrr_af", "gwMI_af", "gwArea_ac",
                            "coArea_ac", "swArea_ac", "RchRcp_af", "RchRcg_af", "RchRcs_af",
                            "RchRcc_af"})
    want += "        CO        KS        NE" + r10(label);
  want += "\r\n";
  ASSERT_EQ(want.size(), 447u);
  EXPECT_EQ(capture([&] { budget_heading(cfg); }), want);
}

TEST(BudgetHeading, NineZonesContinueAfterHundredItems) {
  RunConfig cfg;
  cfg.nbgt = 9;
  // Trailing blanks dropped, long names cut to 10.
  cfg.bgtname = {"CO  ", "KS", "NE", "Z4", "Z5", "Z6", "Z7", "Z8", "LongerThanTenChars"};
  std::string zones;
  for (const char* z : {"CO", "KS", "NE", "Z4", "Z5", "Z6", "Z7", "Z8", "LongerThan"})
    zones += r10(z);
  std::string line1 = " Year";
  for (const char* label : {"act.cells", "Precip_in", "gwIrr_af", "gwMI_af", "gwArea_ac",
                            "coArea_ac", "swArea_ac", "RchRcp_af", "RchRcg_af"})
    line1 += zones + r10(label);
  line1 += zones;  // items 92..100
  const std::string line2 = "RchRcs_af" + zones + r10("RchRcc_af");
  EXPECT_EQ(capture([&] { budget_heading(cfg); }), line1 + "\r\n" + line2 + "\r\n");
}

// Zone names come from a file header as they stand: a tab or an escape
// would break the columns or reach the terminal.
TEST(BudgetHeading, ControlBytesInNamesShowAsQuestionMarks) {
  RunConfig cfg;
  cfg.nbgt = 3;
  cfg.bgtname = {"C\tO", "KS\x1b", "N\xc3\xa9"};
  const std::string h = capture([&] { budget_heading(cfg); });
  EXPECT_EQ(h.substr(0, 35), " Year       C?O       KS?       N\xc3\xa9");
  EXPECT_EQ(h.size(), 447u);
}

// Zones by column: 1 for c <= 100, 2 for 101..200, 3 beyond; row 1 inactive.
struct ThreeZones : testing::Test {
  RunConfig cfg;
  AnnualArrays ann;
  RealGrid rcp = real_grid(1.5), rpp = real_grid(20.0);
  void SetUp() override {
    cfg.nbgt = 3;
    for (int r = 1; r <= NROW; ++r)
      for (int c = 1; c <= NCOL; ++c) {
        cfg.ibgt[cell(c, r)] = c <= 100 ? 1 : c <= 200 ? 2 : 3;
        if (r == 1) {
          cfg.ibound[cell(c, r)] = 0;
          rpp[cell(c, r)] = 999.0;  // not active: not in the mean
        }
      }
  }
};

TEST_F(ThreeZones, TransientRowAndTotals) {
  ann.annpump[1][cell(5, 5)] = 2.0;
  ann.annpump[2][cell(6, 5)] = 3.0;
  fill(ann.annpump[3], 0.25);
  fill(ann.annmi[1], 0.5);
  for (int c = 1; c <= 10; ++c) ann.gwarea[2][cell(c, 9)] = 640.0;
  for (int c = 1; c <= 4; ++c) ann.swarea[3][cell(c, 2)] = 1.25;
  ann.annrcg[1][cell(5, 5)] = 0.1;
  ann.annrcs[2][cell(7, 7)] = 7.0;
  ann.annrcc[3][cell(8, 8)] = 1e9;  // too wide: asterisks
  fill(ann.annrcg[0], 99.0);        // stale totals are replaced

  std::string want = " 1990";
  want += r10("16400") + r10("16400") + r10("20664") + r10("53464");
  want += r10("20.0") + r10("20.0") + r10("20.0") + r10("20.0");
  want += r10("2.0") + r10("3.0") + r10("13447.5") + r10("13452.5");
  want += r10("26895.0") + r10("0.0") + r10("0.0") + r10("26895.0");
  want += r10("0.0") + r10("6400.0") + r10("0.0") + r10("6400.0");
  want += r10("0.0") + r10("0.0") + r10("0.0") + r10("0.0");
  want += r10("0.0") + r10("0.0") + r10("5.0") + r10("5.0");
  // 1.5 in/yr over 16500 cells: 24750 / 12 * 640 acre-feet.
  want += r10("1320000.0") + r10("1320000.0") + r10("1663200.0") + r10("4303200.0");
  want += r10("0.1") + r10("0.0") + r10("0.0") + r10("0.1");
  want += r10("0.0") + r10("7.0") + r10("0.0") + r10("7.0");
  want += r10("0.0") + r10("0.0") + std::string(20, '*');
  want += "\r\n";
  ASSERT_EQ(want.size(), 447u);
  EXPECT_EQ(capture([&] { budget(cfg, "1990", rcp, ann, rpp); }), want);

  EXPECT_EQ(ann.annpump[0][cell(5, 5)], 2.25);
  EXPECT_EQ(ann.annpump[0][cell(6, 5)], 3.25);
  EXPECT_EQ(ann.annmi[0][cell(1, 1)], 0.5);
  EXPECT_EQ(ann.gwarea[0][cell(3, 9)], 640.0);
  EXPECT_EQ(ann.swarea[0][cell(4, 2)], 1.25);
  EXPECT_EQ(ann.annrcg[0][cell(5, 5)], 0.1);
  EXPECT_EQ(ann.annrcg[0][cell(5, 6)], 0.0);
  EXPECT_EQ(ann.annrcs[0][cell(7, 7)], 7.0);
  EXPECT_EQ(ann.annrcc[0][cell(8, 8)], 1e9);
}

TEST_F(ThreeZones, SteadyRowHasRcpOnlyAndLeavesTotals) {
  fill(ann.annpump[0], 5.0);
  fill(ann.annpump[1], 1.0);
  const std::string want =
      " SS  " + r10("1320000.0") + r10("1320000.0") + r10("1663200.0") + r10("4303200.0") + "\r\n";
  EXPECT_EQ(capture([&] { budget(cfg, "SS  ", rcp, ann, rpp); }), want);
  EXPECT_EQ(ann.annpump[0][0], 5.0);
}

TEST(Budget, OneZoneShowsGroupOneAndTotalsAllGroups) {
  RunConfig cfg;
  cfg.nbgt = 1;
  cfg.bgtname[0] = "*";
  cfg.ibgt.assign(NCELL, 1);
  AnnualArrays ann;
  RealGrid rcp = real_grid(0.75), rpp = real_grid(10.5);
  fill(ann.annpump[1], 1.0);
  ann.annpump[2][cell(3, 3)] = 4.0;
  ann.annpump[3][cell(4, 4)] = 0.5;
  std::string want = " 2000" + r10("53790") + r10("53790") + r10("10.5") + r10("10.5");
  want += r10("53790.0") + r10("53794.5");
  for (int q = 0; q < 4; ++q) want += r10("0.0") + r10("0.0");
  // 0.75 * 53790 = 40342.5 in/yr; / 12 * 640 acre-feet.
  want += r10("2151600.0") + r10("2151600.0");
  for (int q = 0; q < 3; ++q) want += r10("0.0") + r10("0.0");
  want += "\r\n";
  ASSERT_EQ(want.size(), 227u);
  EXPECT_EQ(capture([&] { budget(cfg, "2000", rcp, ann, rpp); }), want);
}

// Zone 2 has no active cell: its mean precipitation is 0/0.
struct TwoZonesOneEmpty : testing::Test {
  RunConfig cfg;
  AnnualArrays ann;
  RealGrid rcp = real_grid(), rpp = real_grid(30.0);
  void SetUp() override {
    cfg.nbgt = 2;
    for (int r = 1; r <= NROW; ++r)
      for (int c = 1; c <= NCOL; ++c) {
        const int i = cell(c, r);
        cfg.ibgt[i] = c <= 163 ? 1 : 2;
        cfg.ibound[i] = c <= 163 ? 1 : 0;
        rcp[i] = c <= 163 ? 3.0 : 6.0;  // Rcp counts inactive cells too
      }
  }
};

TEST_F(TwoZonesOneEmpty, NanMeanAndGroupThreeOnlyInTotal) {
  ann.annpump[3][cell(1, 1)] = 1.0;
  std::string want = " 1995" + r10("26895") + r10("0") + r10("26895");
  want += r10("30.0") + r10("NaN") + r10("30.0");
  want += r10("0.0") + r10("0.0") + r10("1.0");
  for (int q = 0; q < 4; ++q) want += r10("0.0") + r10("0.0") + r10("0.0");
  want += r10("4303200.0") + r10("8606400.0") + "12909600.0";
  for (int q = 0; q < 3; ++q) want += r10("0.0") + r10("0.0") + r10("0.0");
  want += "\r\n";
  EXPECT_EQ(capture([&] { budget(cfg, "1995", rcp, ann, rpp); }), want);
}

TEST(Budget, ZoneFourCountsInOwnColumnsOnly) {
  RunConfig cfg;
  cfg.nbgt = 4;
  for (int r = 2; r <= NROW; ++r)  // row 1 stays in zone 0
    for (int c = 1; c <= NCOL; ++c)
      cfg.ibgt[cell(c, r)] = c <= 100 ? 1 : c <= 200 ? 2 : c <= 300 ? 3 : 4;
  AnnualArrays ann;
  RealGrid rcp = real_grid(), rpp = real_grid(1.0);
  ann.annpump[1][cell(1, 1)] = 1.0;
  ann.annpump[3][cell(2, 1)] = 2.0;
  const std::string out = capture([&] { budget(cfg, "1990", rcp, ann, rpp); });
  ASSERT_EQ(out.size(), 5u + 55 * 10 + 2);
  EXPECT_EQ(out.substr(0, 55),
            " 1990" + r10("16400") + r10("16400") + r10("16400") + r10("4264") + r10("49200"));
  EXPECT_EQ(out.substr(5 + 100, 50),
            r10("1.0") + r10("0.0") + r10("2.0") + r10("0.0") + r10("3.0"));
}

TEST(Budget, WithoutZonesTransientFormsTotalsSilently) {
  RunConfig cfg;
  AnnualArrays ann;
  RealGrid rcp = real_grid(1.0), rpp = real_grid(1.0);
  ann.annpump[1][7] = 1.5;
  ann.annpump[3][7] = 2.0;
  ann.gwarea[2][8] = 320.0;
  ann.annrcc[1][9] = 0.25;
  ann.annrcc[2][9] = 0.5;
  EXPECT_EQ(capture([&] { budget(cfg, "SS  ", rcp, ann, rpp); }), "");
  EXPECT_EQ(ann.annpump[0][7], 0.0);
  EXPECT_EQ(capture([&] { budget(cfg, "1990", rcp, ann, rpp); }), "");
  EXPECT_EQ(ann.annpump[0][7], 3.5);
  EXPECT_EQ(ann.gwarea[0][8], 320.0);
  EXPECT_EQ(ann.annrcc[0][9], 0.75);
}

}  // namespace
}  // namespace vadz
