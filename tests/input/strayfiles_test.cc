#include "input/strayfiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "support/testutil.h"

namespace vadz {
namespace {

using test::TempDir;
using test::write_file;

// Transient 1990-1991 with a steady period; KS does not pump; NE's folder
// is CO's folder named again.
TEST(StrayFiles, EveryUnreadNameOnceWithItsReason) {
  TempDir d;
  RunConfig cfg;
  cfg.stdir = {d / "co", d / "ks", d / "co"};
  cfg.ipump[1] = 0;
  cfg.ssyr1 = cfg.ssyr2 = 1985;
  cfg.tryr1 = 1990;
  cfg.tryr2 = 1991;
  struct Case {
    const char* name;
    const char* reason;  // nullptr: the run reads it
  } co[] = {
      {"1990.agw", nullptr},          {"steady.pmp", nullptr},
      {"1991.12.rcc", nullptr},       {"1991.mi", nullptr},
      {".hidden", nullptr},           {"1990.AGW", "name in the wrong case"},
      {"1980.Pmp", "name in the wrong case"},
      {"1990.txt", "unknown extension"}, {"1990.agw~", "unknown extension"},
      {"README", "unknown extension"},   {"90.agw", "not YYYY, YYYY.MM or steady before the extension"},
      {"1990.5.pmp", "not YYYY, YYYY.MM or steady before the extension"},
      {"1990.13.pmp", "month outside 01-12"}, {"1990.00.rcs", "month outside 01-12"},
      {"1990.05.agw", "monthly name for a yearly kind"},
      {"1990.pmp", "yearly name for a monthly kind"},
      {"steady.asw", "no steady file of this kind"},
      {"1989.agw", "period outside the run"},  {"1985.agw", "period outside the run"},
      {"1992.01.pmp", "period outside the run"}, {"1990.grd", "unknown extension"},
  };
#ifdef _WIN32
  GTEST_SKIP() << "names differing in case alone are one file on Windows";
#endif
  for (const Case& c : co) write_file(d / ("co/" + std::string(c.name)), "");
  std::filesystem::create_directories(d / "co/old");
  write_file(d / "ks/1990.agw", "");
  write_file(d / "ks/1990.rcs", "");
  write_file(d / "ks/1990.05.rcs", "");

  const ReadPlan plan = run_read_plan(cfg);
  const std::vector<StrayFiles> got = stray_files(make_inventory(cfg, plan), plan);
  std::vector<std::string> flat, want;
  for (const StrayFiles& s : got)
    for (const std::string& n : s.names) flat.push_back(s.dir + " " + n + ": " + s.reason);
  for (const Case& c : co)
    if (c.reason) want.push_back(d / "co" + " " + c.name + ": " + c.reason);
  want.push_back(d / "co" + " old: sub-folder");
  want.push_back(d / "ks" + " 1990.agw: kind not read under NOPUMP");
  want.push_back(d / "ks" + " 1990.rcs: yearly name for a monthly kind");
  std::sort(flat.begin(), flat.end());
  std::sort(want.begin(), want.end());
  EXPECT_EQ(flat, want);
  for (const StrayFiles& s : got) EXPECT_EQ(s.folders, s.reason == "sub-folder");
}

}  // namespace
}  // namespace vadz
