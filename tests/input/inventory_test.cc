#include "input/inventory.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/testutil.h"

namespace vadz {
namespace {

using test::TempDir;
using test::write_file;

TEST(Inventory, PeriodRanges) {
  auto months = [](int y, std::initializer_list<int> ms) {
    std::vector<InputPeriod> v;
    for (int m : ms) v.push_back({y, m});
    return v;
  };
  auto join = [](std::vector<std::vector<InputPeriod>> parts) {
    std::vector<InputPeriod> v;
    for (auto& p : parts) v.insert(v.end(), p.begin(), p.end());
    return v;
  };
  struct Case {
    std::vector<InputPeriod> periods;
    std::string want;
  } cases[] = {
      {{}, "-"},
      {{{1990, 0}, {1991, 0}, {1992, 0}}, "1990-1992"},
      {{{1992, 0}, {1990, 0}, {1985, 0}, {0, 0}}, "steady, 1985, 1990, 1992"},
      {join({months(1990, {5, 6, 7, 8, 9}), months(1991, {5, 6, 7, 8, 9})}), "1990-1991 (05-09)"},
      {join({months(1990, {1, 2, 3, 4, 10, 11, 12}), months(1991, {1, 2, 3, 4, 10, 11, 12}),
             months(1992, {3})}),
       "1990-1991 (01-04,10-12), 1992 (03)"},
      {join({months(1990, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}), months(1991, {12}),
             {{0, 0}}}),
       "steady, 1990, 1991 (12)"},
  };
  for (const Case& c : cases) EXPECT_EQ(period_ranges(c.periods), c.want);
}

TEST(Inventory, ParsePeriod) {
  InputPeriod p;
  EXPECT_TRUE(parse_period("steady", p));
  EXPECT_EQ(p, (InputPeriod{0, 0}));
  EXPECT_TRUE(parse_period("1990.13", p));
  EXPECT_EQ(p, (InputPeriod{1990, 13}));
  for (const char* bad : {"199", "1990.1", "19x0", "1990_05", "Steady", "1990.05.01", "0000"})
    EXPECT_FALSE(parse_period(bad, p)) << bad;
}

// Two transient years, NE without pumping and its folder missing, PRISM
// grids for the steady window and the years.
TEST(Inventory, PresentAndAbsentPerGroupAndKind) {
  TempDir d;
  RunConfig cfg;
  cfg.stdir = {d / "co", d / "ks", d / "nx"};
  cfg.ipump[2] = 0;
  cfg.ssyr1 = cfg.ssyr2 = 1990;
  cfg.tryr1 = 1990;
  cfg.tryr2 = 1991;
  cfg.iprism = 1;
  cfg.prismpath = d / "prism";
  write_file(d / "co/1990.agw", "12345");
  write_file(d / "co/1991.agw", "1");
  write_file(d / "co/1990.05.pmp", "");
  write_file(d / "ks/1991.mi", "");
  write_file(d / "prism/1990.grd", "");
  const Inventory inv = make_inventory(cfg, run_read_plan(cfg));
  ASSERT_EQ(inv.folders.size(), 4u);
  const InventoryFolder& co = inv.folders[0];
  EXPECT_TRUE(co.exists);
  EXPECT_EQ(co.kinds[0].kind, FileKind::agw);
  EXPECT_EQ(co.kinds[0].files, 2);
  EXPECT_EQ(co.kinds[0].bytes, 6u);
  EXPECT_EQ(period_ranges(co.kinds[0].present), "1990-1991");
  EXPECT_EQ(period_ranges(co.kinds[4].present), "1990 (05)");
  EXPECT_EQ(period_ranges(co.kinds[4].absent), "steady, 1990 (01-04,06-12), 1991");
  EXPECT_EQ(period_ranges(inv.folders[1].kinds[3].absent), "steady, 1990");
  const InventoryFolder& ne = inv.folders[2];
  EXPECT_FALSE(ne.exists);
  EXPECT_FALSE(ne.pumping);
  EXPECT_FALSE(ne.kinds[0].read());  // agw under NOPUMP
  EXPECT_EQ(period_ranges(ne.kinds[1].absent), "1990-1991");
  // The steady year and the first transient year read one PRISM grid.
  const InventoryKind& grd = inv.folders[3].kinds[0];
  EXPECT_EQ(period_ranges(grd.present), "1990");
  EXPECT_EQ(period_ranges(grd.absent), "1991");
  EXPECT_EQ(inv.files, 5);
  EXPECT_EQ(inv.bytes, 6u);

  const std::vector<std::string> lines = inventory_lines(inv);
  EXPECT_EQ(lines[0], "Grid files the run reads: 5 present (0.0 MB), " +
                          std::to_string(inv.absent) + " absent");
  EXPECT_EQ(lines[3], "  agw      2     0.0  1990-1991               -");
  EXPECT_EQ(lines[20], "NE: folder " + (d / "nx") + " (does not exist) (NOPUMP)");
  EXPECT_EQ(lines[21], "  agw   not read");
  EXPECT_EQ(lines[22], "  asw      0     0.0  -                       1990-1991");
}

}  // namespace
}  // namespace vadz
