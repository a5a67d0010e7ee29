// The input check (vadz --check) on the shipped example and on damaged
// copies of it: what it prints, its exit status, and that it writes nothing.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "support/testutil.h"

namespace vadz {
namespace {

namespace fs = std::filesystem;
using test::read_file;
using test::run_vadz;
using test::TempDir;
using test::write_file;

// Every file under dir with its content.
std::map<std::string, std::string> snapshot(const std::string& dir) {
  std::map<std::string, std::string> files;
  for (const auto& e : fs::recursive_directory_iterator(dir))
    files[e.path().string()] = e.is_regular_file() ? read_file(e.path().string()) : "<folder>";
  return files;
}

std::vector<std::string> lines(const std::string& out) {
  std::vector<std::string> v;
  size_t at = 0;
  while (at < out.size()) {
    size_t e = out.find("\r\n", at);
    if (e == std::string::npos) e = out.size();
    v.push_back(out.substr(at, e - at));
    at = e + 2;
  }
  return v;
}

TEST(CheckE2E, ShippedExampleInventoryAndNothingWritten) {
  TempDir dir;
  test::make_example(dir.path(), "BUDGETCSV budget.csv\n");
  const auto before = snapshot(dir.path());
  const test::RunResult r = run_vadz(dir.path(), {"--check", "vadz.par", "STRESSF", "1", "1", "1", "1"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(snapshot(dir.path()), before);
  std::vector<std::string> want{
      "Grid files the run reads: 216 present (24.4 MB), 267 absent",
      "  kind files      MB  present                 absent"};
  const char* sizes[3][8] = {{"0.4", "0.3", "0.3", "0.3", "1.7", "1.7", "1.7", "1.6"},
                             {"0.4", "0.3", "0.3", "0.3", "1.8", "1.8", "1.7", "1.6"},
                             {"0.4", "0.3", "0.3", "0.3", "1.7", "1.7", "1.7", "1.6"}};
  const char* groups[3] = {"CO: folder co", "KS: folder ks", "NE: folder ne"};
  const char* kinds[8] = {"agw", "asw", "aco", "mi ", "pmp", "rcg", "rcs", "rcc"};
  for (int g = 0; g < 3; ++g) {
    want.push_back(groups[g]);
    for (int k = 0; k < 8; ++k) {
      const std::string mb = std::string("     ") + sizes[g][k];
      want.push_back("  " + std::string(kinds[k]) + "   " +
                     (k < 4 ? "   3" + mb + "  1990-1992               " + (k == 3 ? "steady" : "-")
                            : "  15" + mb + "  1990-1992 (05-09)       steady, 1990-1992 (01-04,10-12)"));
    }
  }
  want.push_back("0 errors, 0 warnings");
  EXPECT_EQ(lines(r.out), want);
}

// A change to a copy of the example and the lines its check must show.
struct Case {
  const char* name;
  std::string extra;                                  // parameter lines appended
  std::function<void(const std::string& dir)> alter;  // changes to the data
  int status;
  std::vector<std::string> show;  // lines that must appear, in this order
  std::string last;               // the count line
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

class CheckE2E : public ::testing::TestWithParam<Case> {};

TEST_P(CheckE2E, Reports) {
  const Case& c = GetParam();
#ifdef _WIN32
  // Windows finds 1991.ASW as 1991.asw: the case is no fault there.
  if (c.name == std::string("unread_files")) GTEST_SKIP() << "names without case on Windows";
#endif
  TempDir dir;
  test::make_example(dir.path(), c.extra);
  if (c.alter) c.alter(dir.path());
  const auto before = snapshot(dir.path());
  const test::RunResult r = run_vadz(dir.path(), {"--check", "vadz.par"});
  EXPECT_EQ(r.status, c.status) << r.out;
  EXPECT_EQ(snapshot(dir.path()), before);
  const std::vector<std::string> got = lines(r.out);
  size_t at = 0;
  for (const std::string& want : c.show) {
    while (at < got.size() && got[at] != want) ++at;
    if (at == got.size()) {
      ADD_FAILURE() << "missing or out of order: " << want << "\n" << r.out;
      break;
    }
  }
  ASSERT_FALSE(got.empty());
  EXPECT_EQ(got.back(), c.last);
}

std::string grid20() {
  return test::text_grid([](int, int) { return 20.0; });
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, CheckE2E,
    ::testing::Values(
        Case{"missing_folder", "DIR co ks nx\n", nullptr, 0,
             {"NE: folder nx (does not exist)",
              "  agw      0     0.0  -                       1990-1992",
              "vadz.par:65:11: warning: state group NE: data folder nx does not exist (its files read as "
              "zeros)"},
             "0 errors, 1 warning"},
        Case{"two_damaged_grids", "",
             [](const std::string& d) {
               write_file(d + "/co/1990.agw", "1 2 3 x\n");
               const std::string rcc = read_file(d + "/ne/1992.05.rcc");
               write_file(d + "/ne/1992.05.rcc", rcc.substr(0, rcc.size() / 2));
             },
             1,
             {"co/1990.agw:1:7: error: Error reading file co/1990.agw",
              "  note: reading the value of model row 1, column 4: 'x'",
              "ne/1992.05.rcc:83:430: error: Error reading file ne/1992.05.rcc",
              "  note: the file ends before model row 83, column 216",
              "hint: line 83 holds 215 values, not 326: a row is short"},
             "2 errors, 0 warnings"},
        Case{"unread_files", "",
             [](const std::string& d) {
               fs::rename(d + "/ks/1991.asw", d + "/ks/1991.ASW");
               fs::copy_file(d + "/co/1990.agw", d + "/co/1993.agw");
               fs::copy_file(d + "/co/1990.05.pmp", d + "/co/1990.13.pmp");
             },
             0,
             {"  asw      2     0.2  1990, 1992              1991",
              "warning: co: 1 file the run does not read (month outside 01-12): 1990.13.pmp",
              "warning: co: 1 file the run does not read (period outside the run): 1993.agw",
              "warning: ks: 1 file the run does not read (name in the wrong case): 1991.ASW",
              "warning: ks/*.asw: no file for 1991 while 1990, 1992 have files (read as zeros)"},
             "0 errors, 4 warnings"},
        Case{"missing_prism_grid", "PRISM prism\n",
             [](const std::string& d) {
               for (int y = 1985; y <= 1992; ++y)
                 if (y != 1991) write_file(d + "/prism/" + std::to_string(y) + ".grd", grid20());
             },
             1,
             {" PRISMpath=prism", "PRISM: folder prism",
              "  grd      7     1.1  1985-1990, 1992         1991",
              "prism/1991.grd: error: File does not exist prism/1991.grd"},
             "1 error, 0 warnings"}),
    [](const ::testing::TestParamInfo<Case>& i) { return std::string(i.param.name); });

// A fault of the parameter file ends the check as it ends the run.
TEST(CheckE2EParameters, FaultGivesTheRunsLine) {
  TempDir dir;
  test::make_example(dir.path(), "STEADY 1990 1980 1.0\n");
  const auto before = snapshot(dir.path());
  const test::RunResult check = run_vadz(dir.path(), {"--check", "vadz.par"});
  EXPECT_EQ(snapshot(dir.path()), before);
  const test::RunResult run = run_vadz(dir.path(), {"vadz.par"});
  EXPECT_EQ(check.status, 1);
  EXPECT_EQ(check.out, " Invalid STEADY period\r\n");
  EXPECT_EQ(check.out, run.out.substr(run.out.size() - check.out.size()));
  EXPECT_EQ(run_vadz(dir.path(), {"--check"}).out, " Usage: vadz --check <parameter file>\r\n");
}

// A run with a missing data folder: one warning on standard error, and
// every output as with an empty folder.
TEST(CheckE2ERun, MissingFolderWarnsOnStandardErrorOnly) {
  TempDir typo, empty;
  test::make_example(typo.path(), "DIR co ks nx\n");
  test::make_example(empty.path());
  fs::remove_all(empty / "ne");
  fs::create_directory(empty / "ne");
  const test::RunResult a = run_vadz(typo.path(), {"vadz.par"});
  const test::RunResult b = run_vadz(empty.path(), {"vadz.par"});
  ASSERT_EQ(a.status, 0);
  ASSERT_EQ(b.status, 0);
  // The warning names the place of the folder's name on the DIR line.
  EXPECT_EQ(a.err, "vadz.par:" + std::to_string(test::lines_of(read_file(typo / "vadz.par")).size()) +
                       ":11: warning: state group NE: data folder nx does not exist (its files read as zeros)\r\n");
  EXPECT_EQ(b.err, "");
  EXPECT_EQ(a.out, b.out);
  for (const char* f : {"example.wel", "example.rch", "1991annpump.csv", "annrech.csv", "grids/1992.irr"})
    EXPECT_EQ(read_file(typo / f), read_file(empty / f)) << f;
}

}  // namespace
}  // namespace vadz
