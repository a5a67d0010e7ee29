#include "input/prefetch.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "support/testutil.h"
#include "utl/console.h"

namespace vadz {
namespace {

using test::TempDir;
using test::text_grid;
using test::write_file;

struct Prefetch : testing::Test {
  TempDir dir;
  ReadPlan plan;
  void SetUp() override {
    for (int k = 1; k <= 5; ++k) {
      write_file(dir / ("g" + std::to_string(k) + ".pmp"),
                 text_grid([k](int c, int r) { return k * 1000.0 + r + c / 1000.0; }));
      plan.push_back({dir.path(), "g" + std::to_string(k), "pmp", 0});
    }
  }
};

// Depths below the plan's length fill up, so the reader sleeps and is woken
// again (a quarter of the depth down) several times over the plan.
TEST_F(Prefetch, ServesThePlanInOrderWithTheValuesOfAPlainRead) {
  for (int depth : {1, 2, 3, 32}) {
    GridPrefetcher pf(plan, 0, depth);
    GridReader plain;
    RealGrid got = real_grid(), want = real_grid();
    for (const PlannedRead& r : plan) {
      // A slow consumer: the reader is ahead by the whole depth each time.
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
      ASSERT_TRUE(pf.take(got, r.dir, r.name, r.tag, r.mustexist));
      plain.readfile(want, r.dir, r.name, r.tag, r.mustexist);
      ASSERT_EQ(got, want) << r.name << ", depth " << depth;
    }
    EXPECT_EQ(pf.served(), plan.size());
    EXPECT_FALSE(pf.stopped());
  }
}

TEST_F(Prefetch, AReadOffThePlanStopsTheReadAhead) {
  GridPrefetcher pf(plan, 0);
  RealGrid g = real_grid();
  ASSERT_TRUE(pf.take(g, dir.path(), "g1", "pmp", 0));
  EXPECT_FALSE(pf.take(g, dir.path(), "g3", "pmp", 0));
  EXPECT_TRUE(pf.stopped());
  // Even the read that was next in the plan is now the caller's own.
  EXPECT_FALSE(pf.take(g, dir.path(), "g2", "pmp", 0));
  // A reader with the stopped read-ahead reads the file itself.
  GridReader reader;
  reader.set_prefetch(&pf);
  reader.readfile(g, dir.path(), "g4", "pmp", 0);
  EXPECT_EQ(g[0], 4000.0 + 1 + 0.001);
}

TEST_F(Prefetch, AFaultIsRaisedWhereThePlainRunMeetsIt) {
  write_file(dir / "g3.pmp", "1 2 x\n");
  plan[3].mustexist = 1;  // g4 must exist: not reached, the run stops at g3
  std::filesystem::remove(dir / "g4.pmp");
  GridPrefetcher pf(plan, 0, 8);
  RealGrid g = real_grid();
  ASSERT_TRUE(pf.take(g, plan[0].dir, "g1", "pmp", 0));
  ASSERT_TRUE(pf.take(g, plan[1].dir, "g2", "pmp", 0));
  try {
    pf.take(g, plan[2].dir, "g3", "pmp", 0);
    FAIL() << "no fault raised";
  } catch (const Fatal& f) {
    EXPECT_EQ(f.line(), " Error reading file " + (dir / "g3.pmp") + "\r\n");
  }
}

TEST_F(Prefetch, ReadOnServesEveryReadAfterFaults) {
  write_file(dir / "g2.pmp", "1 2 x\n");
  write_file(dir / "g4.pmp", "");
  GridPrefetcher pf(plan, 0, 2, GridPrefetcher::OnFault::ReadOn);
  GridReader plain;
  RealGrid g = real_grid(), want = real_grid();
  std::vector<std::string> faults;
  for (const PlannedRead& r : plan) {
    try {
      ASSERT_TRUE(pf.take(g, r.dir, r.name, r.tag, r.mustexist));
      plain.readfile(want, r.dir, r.name, r.tag, r.mustexist);
      EXPECT_EQ(g, want) << r.name;
    } catch (const Fatal& f) {
      faults.push_back(f.line());
    }
  }
  EXPECT_EQ(faults, (std::vector<std::string>{" Error reading file " + (dir / "g2.pmp") + "\r\n",
                                              " Error reading file " + (dir / "g4.pmp") + "\r\n"}));
  EXPECT_EQ(pf.served(), plan.size() - 2);
  EXPECT_FALSE(pf.stopped());
}

TEST_F(Prefetch, MissingOptionalFilesAreZeroGrids) {
  plan.push_back({dir.path(), "none", "rcs", 0});
  GridPrefetcher pf(plan, 0);
  RealGrid g = real_grid(7.0);
  for (size_t i = 0; i + 1 < plan.size(); ++i)
    ASSERT_TRUE(pf.take(g, plan[i].dir, plan[i].name, plan[i].tag, 0));
  ASSERT_TRUE(pf.take(g, dir.path(), "none", "rcs", 0));
  EXPECT_EQ(g, real_grid(0.0));
}

// The read-ahead's room: three periods on the default grid, but a large
// grid (whose memory the run's estimate counts) keeps 8 grids.
TEST(PrefetchDepth, HeldTo16MiBAndNeverBelow8Grids) {
  struct Case {
    int nrow, ncol, depth;
  } cases[] = {{165, 326, 32}, {60, 90, 32}, {1000, 1000, 8}, {500, 800, 8}, {400, 400, 13}};
  struct Restore {
    ~Restore() { reset_model_grid(); }
  } restore;  // the default grid for the tests after, however this one ends
  for (const Case& c : cases) {
    GridGeometry g;
    ASSERT_EQ(make_grid(c.nrow, c.ncol, 5280.0, 0.0, 0.0, g, 0), "");
    set_model_grid(g);
    EXPECT_EQ(GridPrefetcher::default_depth(), c.depth) << c.nrow << " x " << c.ncol;
  }
}

}  // namespace
}  // namespace vadz
