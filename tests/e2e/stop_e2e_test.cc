// Runs that stop part way: on a damaged input, or on SIGINT / SIGTERM. A
// stopped run with APPEND leaves the model files exactly as it found them,
// and any stopped run leaves the MODFLOW 6 folder, the report folder and
// the BUDGETCSV file as they were; a signal ends the run with one console
// line and status 130 or 143.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include <signal.h>

#include <string>
#include <vector>

#include "support/testutil.h"

namespace vadz {
namespace {

using test::exists;
using test::read_file;
using test::run_vadz;
using test::TempDir;
using test::write_file;

// One soil with piecewise-linear curves, yearly precipitation grids.
const std::string BASE =
    "SOIL *\nFUNCTION fn.txt 1\n0 0 0\n64 8 16\n"
    "MONTH 0.0625 0.0625 0.0625 0.0625 0.125 0.125 0.125 0.125 0.0625 0.0625 0.0625 0.0625\n"
    "PRISM ppt\nSTEADY 1990 1990 1.0\nTRANSIENT 1990 1991\n"
    "WELL wel.dat\nRECHARGE r1 r2 r3 r4\n";

// The outputs that appear whole or not at all.
const std::string ADDED = "MF6 mf6\nREPORT report\nBUDGETCSV budget.csv\n";

// Every file and folder under dir (names relative to it, folders ending in
// '/') with the files' bytes.
using Tree = std::map<std::string, std::string>;
Tree tree(const std::string& dir) {
  namespace fs = std::filesystem;
  Tree t;
  if (!fs::exists(dir)) return t;
  for (const auto& e : fs::recursive_directory_iterator(dir)) {
    const std::string name = fs::relative(e.path(), dir).generic_string();
    if (e.is_directory())
      t[name + "/"];
    else
      t[name] = read_file(e.path().string());
  }
  return t;
}

// The names of a tree, for a readable failure.
std::vector<std::string> names(const Tree& t) {
  std::vector<std::string> out;
  for (const auto& [name, bytes] : t) out.push_back(name);
  return out;
}

void expect_same(const Tree& before, const Tree& after) {
  EXPECT_EQ(names(after), names(before));
  for (const auto& [name, bytes] : before) {
    const auto it = after.find(name);
    EXPECT_TRUE(it != after.end() && it->second == bytes) << name << " changed";
  }
}

// Precipitation of 15 to 25 inches, varying over the grid.
std::string ppt() {
  return test::text_grid([](int c, int r) { return 15.0 + (c * 7 + r * 3) % 11; });
}

TEST(StopE2E, StoppedAppendRunLeavesModelFilesAsTheyWere) {
  TempDir d;
  const std::string good = ppt();
  std::string bad = good;
  bad.replace(bad.find(' ', 40000) + 1, 1, "x");
  write_file(d / "ppt/1990.grd", good);
  write_file(d / "ppt/1991.grd", bad);
  const std::string old[3] = {"earlier well periods\r\n", "earlier recharge 1\r\n", ""};
  write_file(d / "wel.dat", old[0]);
  write_file(d / "r1", old[1]);
  write_file(d / "r2", old[2]);
  write_file(d / "r3", old[1]);
  write_file(d / "append.par", BASE + "APPEND\n");

  // The steady period and 1990 are written before 1991 stops the run; the
  // run's own file r4 goes with it.
  auto res = run_vadz(d.path(), {"append.par"});
  EXPECT_EQ(res.status, 1);
  EXPECT_EQ(res.out, " PRISMpath=ppt\r\n Error reading file ppt/1991.grd\r\n");
  EXPECT_EQ(read_file(d / "wel.dat"), old[0]);
  EXPECT_EQ(read_file(d / "r1"), old[1]);
  EXPECT_EQ(read_file(d / "r2"), old[2]);
  EXPECT_EQ(read_file(d / "r3"), old[1]);
  EXPECT_FALSE(exists(d / "r4"));

  // Without APPEND the files written up to the stop are kept.
  TempDir full;
  write_file(full / "ppt/1990.grd", good);
  write_file(full / "ppt/1991.grd", bad);
  write_file(full / "replace.par", BASE);
  res = run_vadz(full.path(), {"replace.par"});
  EXPECT_EQ(res.status, 1);
  const std::string stopped = read_file(full / "wel.dat");
  EXPECT_NE(stopped.find("12/1990"), std::string::npos);

  // Mended, both runs complete: the append run adds exactly the periods the
  // replacing run writes after its header lines, once.
  write_file(d / "ppt/1991.grd", good);
  write_file(full / "ppt/1991.grd", good);
  ASSERT_EQ(run_vadz(d.path(), {"append.par"}).status, 0);
  ASSERT_EQ(run_vadz(full.path(), {"replace.par"}).status, 0);
  auto periods = [&](const std::string& name) {
    const std::string s = read_file(full / name);
    return s.substr(s.find('\n') + 1);
  };
  EXPECT_TRUE(read_file(d / "wel.dat") == old[0] + periods("wel.dat"));
  EXPECT_TRUE(read_file(d / "r1") == old[1] + periods("r1"));
  EXPECT_TRUE(read_file(d / "r2") == old[2] + periods("r2"));
  EXPECT_TRUE(read_file(d / "r4") == periods("r4"));
}

TEST(StopE2E, StoppedRunLeavesAddedOutputsAsTheyWere) {
  TempDir d;
  test::make_example(d.path(), ADDED);
  const std::string good = read_file(d / "ks/1991.agw");
  std::string bad = good;
  bad.replace(bad.find(' ', bad.size() / 2) + 1, 1, "x");

  // Stopped in its second transient year, with nothing there before: nothing after.
  write_file(d / "ks/1991.agw", bad);
  auto res = run_vadz(d.path(), {"vadz.par"});
  ASSERT_EQ(res.status, 1);
  EXPECT_NE(res.out.find(" Error reading file ks/1991.agw\r\n"), std::string::npos) << res.out;
  const Tree empty = tree(d.path());
  for (const char* added : {"mf6/", "report/", "budget.csv"}) EXPECT_EQ(empty.count(added), 0u);
  for (const std::string& name : names(empty))
    EXPECT_EQ(name.find(".partial"), std::string::npos) << name;

  // After a complete run, a stopped one changes none of its files.
  write_file(d / "ks/1991.agw", good);
  ASSERT_EQ(run_vadz(d.path(), {"vadz.par"}).status, 0);
  const Tree mf6 = tree(d / "mf6"), report = tree(d / "report");
  const std::string csv = read_file(d / "budget.csv");
  ASSERT_GT(mf6.size(), 30u);
  ASSERT_EQ(report.count("index.html"), 1u);
  write_file(d / "ks/1991.agw", bad);
  ASSERT_EQ(run_vadz(d.path(), {"vadz.par"}).status, 1);
  expect_same(mf6, tree(d / "mf6"));
  expect_same(report, tree(d / "report"));
  EXPECT_TRUE(read_file(d / "budget.csv") == csv);
}

#ifndef _WIN32  // signals are sent with POSIX calls

// A long run: station precipitation kriged for 241 years, a budget row on
// standard output after each; the signal goes once the run is two transient
// years in.
class SignalE2E : public testing::Test {
 protected:
  void SetUp() override {
    for (const char* g : {"co", "ks", "ne"}) std::filesystem::create_directories(d / g);
    write_file(d / "loc.txt", "name x y\nA 500000 14200000\nB 1500000 14500000\nC 900000 14800000\n");
    std::string pp = "year A B C\n";
    for (int y = 1910; y <= 2150; ++y) pp += std::to_string(y) + " 15 20 25\n";
    write_file(d / "pp.txt", pp);
    write_file(d / "wel.dat", "earlier well periods\r\n");
    write_file(d / "rch.dat", "earlier recharge\r\n");
  }
  test::RunResult run(const std::string& extra, int sig) {
    write_file(d / "long.par",
               "SOIL *\nFUNCTION fn.txt 1\n0 0 0\n64 8 16\n"
               "MONTH 0.0625 0.0625 0.0625 0.0625 0.125 0.125 0.125 0.125 0.0625 0.0625 "
               "0.0625 0.0625\nSTATIONS loc.txt pp.txt 1\nBUDGET *\nTRANSIENT 1910 2150\n"
               "WELL wel.dat\nRECHARGE rch.dat\n" + extra);
    return test::run_vadz_signalled(d.path(), {"long.par"}, sig, [&] {
      return read_file(d / ".stdout").find("\r\n 1911") != std::string::npos;
    });
  }
  // Standard output is the budget heading, whole rows, and one last line.
  static void expect_rows_then(const std::string& out, const std::string& last) {
    ASSERT_GE(out.size(), last.size());
    EXPECT_EQ(out.substr(out.size() - last.size()), last);
    const std::string rows = out.substr(0, out.size() - last.size());
    size_t at = rows.find("\r\n") + 2;  // after the heading
    int n = 0;
    while (at < rows.size()) {
      const size_t e = rows.find("\r\n", at);
      ASSERT_NE(e, std::string::npos);
      EXPECT_EQ(rows.substr(at, 3), " " + std::to_string(1910 + n).substr(0, 2));
      EXPECT_EQ(e - at, 225u);
      at = e + 2;
      ++n;
    }
    EXPECT_GE(n, 2);
  }
  TempDir d;
};

TEST_F(SignalE2E, SigintStopsAppendRunWithFilesAsTheyWere) {
  const auto res = run("APPEND\n", SIGINT);
  EXPECT_EQ(res.status, 130);
  expect_rows_then(res.out, " Interrupted by SIGINT\r\n");
  EXPECT_EQ(res.err, "");
  EXPECT_EQ(read_file(d / "wel.dat"), "earlier well periods\r\n");
  EXPECT_EQ(read_file(d / "rch.dat"), "earlier recharge\r\n");
}

TEST_F(SignalE2E, SigtermLeavesAddedOutputsAsTheyWere) {
  // An earlier run's files, which the run would replace.
  write_file(d / "mf6/vadz.tdis", "earlier periods\r\n");
  write_file(d / "report/budget.csv", "earlier table\r\n");
  write_file(d / "budget.csv", "earlier table\r\n");
  const Tree mf6 = tree(d / "mf6"), report = tree(d / "report");
  const auto res = run(ADDED, SIGTERM);
  EXPECT_EQ(res.status, 143);
  expect_rows_then(res.out, " Interrupted by SIGTERM\r\n");
  EXPECT_EQ(res.err, "");
  expect_same(mf6, tree(d / "mf6"));
  expect_same(report, tree(d / "report"));
  EXPECT_EQ(read_file(d / "budget.csv"), "earlier table\r\n");
  for (const std::string& name : names(tree(d.path())))
    EXPECT_EQ(name.find(".partial"), std::string::npos) << name;
}

TEST_F(SignalE2E, SigtermStopsRunKeepingWhatItWrote) {
  const auto res = run("", SIGTERM);
  EXPECT_EQ(res.status, 143);
  expect_rows_then(res.out, " Interrupted by SIGTERM\r\n");
  // Written up to the stop: header lines and whole years of periods.
  const std::string wel = read_file(d / "wel.dat");
  EXPECT_EQ(wel.substr(0, 30), "     14000         0 NOPRINT\r\n");
  EXPECT_NE(wel.find("12/1910"), std::string::npos);
}

#endif

}  // namespace
}  // namespace vadz
