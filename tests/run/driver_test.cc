#include "run/driver.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "support/testutil.h"
#include "utl/console.h"

namespace vadz {
namespace {

using test::exists;
using test::read_file;
using test::TempDir;
using test::write_file;

// A configuration with no stress periods and precipitation from grid files,
// so the run only opens and heads the model files.
struct Driver : testing::Test {
  TempDir dir;
  std::unique_ptr<RunConfig> cfg = std::make_unique<RunConfig>();
  std::unique_ptr<Krig> krig = std::make_unique<Krig>();
  void SetUp() override {
    cfg->iprism = 1;
    cfg->welfile = dir / "wel.dat";
    cfg->nrch = 1;
    cfg->rchfile[0] = dir / "rch.dat";
  }
  // The console line of the fatal stop, or "" when the run ends normally.
  std::string run() {
    try {
      run_driver(*cfg, *krig);
    } catch (const Fatal& f) {
      return f.line();
    }
    return "";
  }
};

TEST_F(Driver, HeaderLinesOnlyWithoutPeriods) {
  cfg->iwelcb = -1;
  cfg->irchcb = 53;
  cfg->nrch = 4;
  const char* names[4] = {"r1.dat", "r2.dat", "r3.dat", "r4.dat"};
  for (int k = 0; k < 4; ++k) cfg->rchfile[k] = dir / names[k];
  write_file(dir / "r3.dat", "old content that is replaced\r\n");
  EXPECT_EQ(run(), "");
  EXPECT_EQ(read_file(dir / "wel.dat"), "     14000        -1 NOPRINT\r\n");
  for (const char* name : names) EXPECT_EQ(read_file(dir / name), "         1        53\r\n");
}

TEST_F(Driver, AppendKeepsContentAndCreatesMissingFiles) {
  cfg->iappend = 1;
  write_file(dir / "wel.dat", "earlier periods\r\n");
  EXPECT_EQ(run(), "");
  EXPECT_EQ(read_file(dir / "wel.dat"), "earlier periods\r\n");
  EXPECT_TRUE(exists(dir / "rch.dat"));
  EXPECT_EQ(read_file(dir / "rch.dat"), "");
}

TEST_F(Driver, Stops) {
  struct Case {
    const char* what;
    std::function<void(RunConfig&, const TempDir&)> set;
    std::string line;
  };
  const Case cases[] = {
      {"blank well name", [](RunConfig& c, const TempDir&) { c.welfile = "   "; },
       " No well file specified\r\n"},
      {"no recharge files", [](RunConfig& c, const TempDir&) { c.nrch = 0; },
       " No recharge file(s) specified\r\n"},
      {"well folder missing",
       [](RunConfig& c, const TempDir& d) { c.welfile = d / "none/wel.dat"; },
       " Cannot open file " + (dir / "none/wel.dat") + "\r\n"},
      {"recharge folder missing",
       [](RunConfig& c, const TempDir& d) { c.rchfile[0] = d / "none/rch.dat"; },
       " Cannot open file " + (dir / "none/rch.dat") + "\r\n"},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.what);
    *cfg = RunConfig();
    SetUp();
    k.set(*cfg, dir);
    EXPECT_EQ(run(), k.line);
  }
  // The well file got its header before the recharge check stopped the run.
  EXPECT_EQ(read_file(dir / "wel.dat"), "     14000         0 NOPRINT\r\n");
}

// Two model files on one file would overwrite each other's records: the
// second open of a file stops the run, whatever the spelling of its name.
TEST_F(Driver, ModelFileNamedTwiceStops) {
  cfg->rchfile[0] = dir / "./wel.dat";
  EXPECT_EQ(run(), " Cannot open file " + (dir / "./wel.dat") + "\r\n");
  EXPECT_EQ(read_file(dir / "wel.dat"), "     14000         0 NOPRINT\r\n");

  *cfg = RunConfig();
  SetUp();
  cfg->nrch = 4;
  const char* names[4] = {"r1.dat", "r2.dat", "r3.dat", "r1.dat"};
  for (int k = 0; k < 4; ++k) cfg->rchfile[k] = dir / names[k];
  EXPECT_EQ(run(), " Cannot open file " + (dir / "r1.dat") + "\r\n");
  EXPECT_EQ(read_file(dir / "r1.dat"), "         1         0\r\n");

  // Appending to one file twice would interleave the records as well.
  *cfg = RunConfig();
  SetUp();
  cfg->iappend = 1;
  cfg->rchfile[0] = dir / "wel.dat";
  EXPECT_EQ(run(), " Cannot open file " + (dir / "wel.dat") + "\r\n");

  // A device is no file of records: every model file may go to it.
  *cfg = RunConfig();
  SetUp();
  cfg->welfile = test::NULL_DEVICE;
  cfg->rchfile[0] = test::NULL_DEVICE;
  EXPECT_EQ(run(), "");
}

// Station years are checked before any model file is opened: the steady
// window first, then the transient years, each ascending.
TEST_F(Driver, MissingStationYearStopsBeforeModelFiles) {
  cfg->iprism = 0;
  StationTable& st = cfg->stations;
  st.nstn = 1;
  st.stnx[0] = 500000.0;
  st.stny[0] = 14500000.0;
  for (int y : {1985, 1987, 1990}) st.hasyear[y - FIRST_YEAR] = true;
  struct Case {
    int ss1, ss2, tr1, tr2;
    std::string line;
  };
  const Case cases[] = {
      {1985, 1987, 1990, 1991, " No precip data for year         1986\r\n"},
      {0, 0, 1990, 1992, " No precip data for year         1991\r\n"},
      {1987, 1987, 1989, 1990, " No precip data for year         1989\r\n"},
  };
  for (const Case& k : cases) {
    cfg->ssyr1 = k.ss1;
    cfg->ssyr2 = k.ss2;
    cfg->tryr1 = k.tr1;
    cfg->tryr2 = k.tr2;
    EXPECT_EQ(run(), k.line);
  }
  EXPECT_FALSE(exists(dir / "wel.dat"));
}

}  // namespace
}  // namespace vadz
