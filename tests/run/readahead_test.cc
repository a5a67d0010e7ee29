#include "run/readahead.h"

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <memory>
#include <string>

#include "engine/evalcurve.h"
#include "engine/period.h"
#include "run/driver.h"
#include "support/testutil.h"
#include "utl/format.h"

namespace vadz {
namespace {

using test::read_file;
using test::TempDir;
using test::text_grid;
using test::write_file;

// Precipitation from grid files, a linear curve, a steady window and two
// transient years, group KS without pumping.
struct ReadAhead : testing::Test {
  TempDir dir;
  std::unique_ptr<RunConfig> cfg = std::make_unique<RunConfig>();
  void SetUp() override {
    cfg->iprism = 1;
    cfg->prismpath = dir / "ppt";
    for (int y = 1985; y <= 1991; ++y)
      write_file(dir / ("ppt/" + std::to_string(y) + ".grd"),
                 text_grid([y](int c, int r) { return 10.0 + (y - 1985) + c / 326.0 + r / 165.0; }));
    for (int s = 0; s < 3; ++s) cfg->stdir[s] = dir / ("g" + std::to_string(s));
    write_file(cfg->stdir[0] + "/1990.agw", text_grid([](int c, int) { return c % 7 * 40.0; }));
    write_file(cfg->stdir[2] + "/1991.aco", text_grid([](int, int r) { return r % 5 * 30.0; }));
    write_file(cfg->stdir[0] + "/1990.mi", text_grid([](int c, int r) { return (c + r) % 97 == 0 ? 12.5 : 0; }));
    write_file(cfg->stdir[0] + "/1990.07.pmp", text_grid([](int c, int r) { return (c * r) % 89 == 0 ? 3.25 : 0; }));
    write_file(cfg->stdir[1] + "/1991.05.rcs", text_grid([](int c, int) { return c / 100.0; }));
    write_file(cfg->stdir[2] + "/steady.rcc", text_grid([](int, int r) { return r / 50.0; }));
    cfg->ipump[1] = 0;
    cfg->nsoil = 1;
    cfg->isoil = flag_grid(1);
    cfg->curves.ncurv = 401;
    for (int k = 1; k <= 401; ++k) {
      cfg->curves.at(k, 1, 0) = cfg->curves.at(k, 2, 0) = (k - 1) / 10.0;
      cfg->curves.at(k, 1, 1) = (k - 1) / 100.0;
      cfg->curves.at(k, 2, 1) = (k - 1) / 50.0;
    }
    cfg->monmult.fill(1.0 / 12);
    cfg->ssyr1 = 1985;
    cfg->ssyr2 = 1986;
    cfg->ssmult = 1.0;
    cfg->tryr1 = 1990;
    cfg->tryr2 = 1991;
    cfg->welfile = dir / "out/wel.dat";
    cfg->nrch = 4;
    for (int k = 0; k < 4; ++k) cfg->rchfile[k] = dir / ("out/rch" + std::to_string(k) + ".dat");
    cfg->nfile = 3;
    cfg->filedir = dir / "out";
    cfg->fileext = {"rpp", "irr", "rcp"};
    write_file(dir / "out/.keep", "");
  }
};

TEST_F(ReadAhead, ThePlanIsTheRunsSequenceOfReads) {
  ReadPlan plan = run_read_plan(*cfg);
  GridPrefetcher pf(plan, 0);
  EvalWork ew;
  PeriodWork pw;
  ew.reader.set_prefetch(&pf);
  pw.reader.set_prefetch(&pf);
  AnnualArrays ann;
  RealGrid curv = real_grid(), rpp = real_grid();
  ModelFiles files;
  ASSERT_TRUE(files.wel.open(dir / "w.dat"));
  for (int k = 0; k < 4; ++k) ASSERT_TRUE(files.rch[k].open(dir / ("r" + std::to_string(k))));
  for (int y = 1985; y <= 1986; ++y) evalcurve(*cfg, nullptr, ew, curv, 1, y, ann, rpp);
  period(*cfg, pw, {&files}, curv, "Steady ", "steady", "steady", -1, 31557600, 1.0, ann);
  for (int y = 1990; y <= 1991; ++y) {
    evalcurve(*cfg, nullptr, ew, curv, 0, y, ann, rpp);
    for (int m = 1; m <= 12; ++m) {
      char pstem[7];
      put_fixed(pstem, 7, 2, y + m / 100.0);
      period(*cfg, pw, {&files}, curv, " 1/1990", std::string_view(pstem, 7), std::to_string(y), y,
             2678400, 1.0 / 12, ann);
    }
  }
  EXPECT_FALSE(pf.stopped());
  EXPECT_EQ(pf.served(), plan.size());
  // Steady: 2 grd + (2 pumping groups x 5 + 2); a year: 1 grd + 2 agw + 3 asw
  // + 3 aco, then 12 periods of 2 x 4 + 2 reads and the year's 2 mi files.
  EXPECT_EQ(plan.size(), 2u + 12u + 2 * (9u + 12 * 10u + 2u));
}

TEST_F(ReadAhead, OutputsAreTheSameWithAndWithoutReadingAhead) {
  auto outputs = [&] {
    std::string all;
    for (const char* f : {"wel.dat", "rch0.dat", "rch1.dat", "rch2.dat", "rch3.dat", "1990.rpp",
                          "1990.irr", "1990.rcp", "1991.rpp", "1991.irr", "1991.rcp"})
      all += std::string(f) + ":" + read_file(dir / ("out/" + std::string(f)));
    return all;
  };
  Krig krig;
  run_driver(*cfg, krig, false);
  const std::string plain = outputs();
  std::filesystem::remove_all(dir / "out");
  write_file(dir / "out/.keep", "");
  run_driver(*cfg, krig, true);
  EXPECT_EQ(outputs(), plain);
  EXPECT_GT(plain.size(), 2000000u);
}

TEST_F(ReadAhead, NotSafeWhenTheRunWritesAFileItReadsLater) {
  EXPECT_TRUE(read_ahead_safe(*cfg, run_read_plan(*cfg)));
  // The yearly grid files land in group CO's folder as its "mi" files.
  cfg->filedir = cfg->stdir[0] + "/./";
  cfg->fileext = {"mi", "irr", "rcp"};
  EXPECT_FALSE(read_ahead_safe(*cfg, run_read_plan(*cfg)));
  cfg->fileext = {"rpp", "irr", "rcp"};
  cfg->welfile = cfg->stdir[2] + "/1991.05.rcc";
  EXPECT_FALSE(read_ahead_safe(*cfg, run_read_plan(*cfg)));
#ifdef _WIN32
  // Windows file names ignore case: CO's folder spelt in capitals is the same folder.
  std::string upper = cfg->stdir[0];
  for (char& ch : upper) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
  cfg->welfile = upper + "/1991.05.PMP";
  EXPECT_FALSE(read_ahead_safe(*cfg, run_read_plan(*cfg)));
#endif
  // The same folder reached through a link (not every system lets a test make one).
  std::error_code ec;
  std::filesystem::create_directory_symlink(cfg->stdir[0], dir / "colink", ec);
  if (ec) GTEST_SKIP() << "no folder link: " << ec.message();
  cfg->welfile = dir / "wel.dat";
  EXPECT_TRUE(read_ahead_safe(*cfg, run_read_plan(*cfg)));
  cfg->filedir = dir / "colink";
  cfg->fileext = {"mi", "irr", "rcp"};
  EXPECT_FALSE(read_ahead_safe(*cfg, run_read_plan(*cfg)));
}

}  // namespace
}  // namespace vadz
