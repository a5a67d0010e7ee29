// MODFLOW 6 files (MF6) of the shipped example, read back with a small
// reader of their blocks and binary arrays and compared with the
// MODFLOW-2005 files of the same run: the same stresses within the rounding
// of the fixed fields, every period present, and nothing else of the run
// changed by them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <map>
#include <ostream>
#include <sstream>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "support/testutil.h"

namespace vadz::test {
namespace {

constexpr int NROW = 165, NCOL = 326, NCELL = NROW * NCOL;
constexpr int NPER = 37;  // the steady period, then 1990-1992 by month

std::vector<std::string> words(const std::string& line) {
  std::vector<std::string> out;
  std::istringstream in(line);
  std::string w;
  while (in >> w) out.push_back(w);
  return out;
}

// The blocks of a MODFLOW 6 text input, "OPTIONS", "PERIOD 3" ..., with
// their lines (blank lines and comments left out). Fails the test on a
// line outside a block or an unterminated block.
std::map<std::string, std::vector<std::string>> blocks(const std::string& path) {
  const std::string text = read_file(path);
  EXPECT_EQ(text.find('\n'), text.find("\r\n") + 1) << path << ": lines end in CR LF";
  std::map<std::string, std::vector<std::string>> out;
  std::string open;
  for (const std::string& line : lines_of(text)) {
    const std::vector<std::string> w = words(line);
    if (w.empty() || w[0][0] == '#') continue;
    if (w[0] == "BEGIN") {
      EXPECT_EQ(open, "") << path << ": " << line;
      open = line.substr(line.find("BEGIN") + 6);
      EXPECT_EQ(out.count(open), 0u) << path << ": block twice: " << open;
      out[open];
    } else if (w[0] == "END") {
      EXPECT_EQ(line.substr(line.find("END") + 4), open.substr(0, open.find(' '))) << path;
      open.clear();
    } else {
      EXPECT_NE(open, "") << path << ": line outside a block: " << line;
      out[open].push_back(line);
    }
  }
  EXPECT_EQ(open, "") << path << ": unterminated block";
  return out;
}

std::string period(int n) { return "PERIOD " + std::to_string(n); }

// Little-endian fields of a binary array file.
uint64_t le(const std::string& b, size_t at, int n) {
  uint64_t v = 0;
  for (int i = n - 1; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(b.at(at + i));
  return v;
}
double le_double(const std::string& b, size_t at) {
  const uint64_t u = le(b, at, 8);
  double d;
  std::memcpy(&d, &u, 8);
  return d;
}

// A MODFLOW-2005 recharge file: per period the multiplier and the 53,790
// values of 9 columns, 20 to a line, each grid row on new lines.
struct Mf2005Array {
  double mult = 0.0;
  std::vector<double> v;
};
std::vector<Mf2005Array> read_mf2005_rch(const std::string& path) {
  const std::vector<std::string> l = lines_of(read_file(path));
  std::vector<Mf2005Array> out;
  size_t k = 1;  // after the header line
  while (k < l.size()) {
    EXPECT_EQ(l[k], "         1         0");
    Mf2005Array a;
    a.mult = std::stod(words(l[k + 1]).at(1));
    k += 2;
    for (int r = 0; r < NROW; ++r)
      for (int line = 0; line < 17; ++line, ++k)
        for (size_t f = 0; f + 9 <= l[k].size(); f += 9)
          a.v.push_back(std::stod(l[k].substr(f, 9)));
    EXPECT_EQ(a.v.size(), static_cast<size_t>(NCELL));
    out.push_back(std::move(a));
  }
  return out;
}

struct Well {
  int row = 0, col = 0;
  double q = 0.0;
};
// A MODFLOW-2005 well file: per period a count line and the wells.
std::vector<std::vector<Well>> read_mf2005_wel(const std::string& path) {
  const std::vector<std::string> l = lines_of(read_file(path));
  std::vector<std::vector<Well>> out;
  for (size_t k = 1; k < l.size();) {
    const int n = std::stoi(l[k].substr(0, 5));
    std::vector<Well> p;
    for (int i = 1; i <= n; ++i) {
      const std::vector<std::string> w = words(l[k + i]);
      p.push_back({std::stoi(w.at(1)), std::stoi(w.at(2)), std::stod(w.at(3))});
    }
    out.push_back(std::move(p));
    k += n + 1;
  }
  return out;
}

// Period lengths counted independently: 365.25 days, then the months of
// 1990-1992 with February of 1992 at 29 days.
std::vector<double> expected_lengths() {
  std::vector<double> s{365.25 * 86400};
  for (int y = 1990; y <= 1992; ++y)
    for (int days : {31, y % 4 == 0 ? 29 : 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31})
      s.push_back(days * 86400.0);
  return s;
}

// The example with two pumped cells made inactive (0 and -1 in the IBOUND
// file), which the well list must leave out.
std::vector<int> make_run(const TempDir& dir) {
  make_example(dir.path());
  std::vector<std::string> l = lines_of(read_file(dir / "ibound.txt"));
  l.at(44).replace(2 * 149, 2, " 0");  // row 45, column 150
  l.at(59).replace(2 * 39, 2, "-1");   // row 60, column 40
  std::string text;
  std::vector<int> ibound;
  for (const std::string& line : l) {
    text += line + "\n";
    for (size_t f = 0; f + 2 <= line.size(); f += 2) ibound.push_back(std::stoi(line.substr(f, 2)));
  }
  write_file(dir / "ibound.txt", text);
  EXPECT_EQ(ibound.size(), static_cast<size_t>(NCELL));
  return ibound;
}

struct Layout {
  const char* name;
  std::string recharge_line;                   // the example's RECHARGE line replaced by
  std::vector<std::string> mf2005, mf6, tags;  // recharge files of both kinds, array tags
};
void PrintTo(const Layout& c, std::ostream* os) { *os << c.name; }

class Mf6E2E : public ::testing::TestWithParam<Layout> {};

TEST_P(Mf6E2E, FilesHoldTheModelFilesStressesUnrounded) {
  const Layout& c = GetParam();
  TempDir dir;
  const std::vector<int> ibound = make_run(dir);
  std::string par = read_file(dir / "vadz.par");
  par.replace(par.find("RECHARGE example.rch"), 20, c.recharge_line);
  write_file(dir / "vadz.par", par + "MF6 out/mf6 sim\n");
  const RunResult r = run_vadz(dir.path(), {"vadz.par"});
  ASSERT_EQ(r.status, 0) << r.out;
  const std::string base = dir / "out/mf6/";

  // The period table.
  auto tdis = blocks(base + "sim.tdis");
  EXPECT_EQ(tdis["OPTIONS"], std::vector<std::string>{"  TIME_UNITS SECONDS"});
  EXPECT_EQ(tdis["DIMENSIONS"], std::vector<std::string>{"  NPER 37"});
  const std::vector<double> len = expected_lengths();
  ASSERT_EQ(tdis["PERIODDATA"].size(), len.size());
  for (size_t p = 0; p < len.size(); ++p) {
    const std::vector<std::string> w = words(tdis["PERIODDATA"][p]);
    ASSERT_EQ(w.size(), 3u);
    EXPECT_EQ(std::stod(w[0]), len[p]);
    EXPECT_EQ(w[1], "1");
    EXPECT_EQ(std::stod(w[2]), 1.0);
  }

  // Recharge: one package per model recharge file, one binary array per
  // period, the rate the model file's value times its multiplier.
  ASSERT_EQ(c.mf2005.size(), c.mf6.size());
  std::set<std::string> named;  // the array files the blocks name
  for (size_t j = 0; j < c.mf6.size(); ++j) {
    auto rch = blocks(base + c.mf6[j]);
    EXPECT_EQ(rch["OPTIONS"], (std::vector<std::string>{"  READASARRAYS", "  SAVE_FLOWS"}));
    const std::vector<Mf2005Array> old = read_mf2005_rch(dir / c.mf2005[j]);
    ASSERT_EQ(old.size(), static_cast<size_t>(NPER));
    ASSERT_EQ(rch.size(), static_cast<size_t>(NPER + 1));
    double totim = 0.0;
    int constants = 0;
    for (int p = 1; p <= NPER; ++p) {
      const std::vector<std::string>& b = rch[period(p)];
      ASSERT_EQ(b.size(), 2u) << c.mf6[j] << " period " << p;
      EXPECT_EQ(words(b[0]), std::vector<std::string>{"RECHARGE"});
      const std::vector<std::string> w = words(b[1]);
      totim += len[p - 1];
      const Mf2005Array& o = old[p - 1];
      // An array of zeros is a constant, and only such an array.
      const bool zero = std::all_of(o.v.begin(), o.v.end(), [](double v) { return v == 0.0; });
      constants += zero;
      if (zero) {
        EXPECT_EQ(w, (std::vector<std::string>{"CONSTANT", "0.0"})) << c.mf6[j] << " period " << p;
        continue;
      }
      ASSERT_EQ(w.size(), 3u);
      EXPECT_EQ(w[0], "OPEN/CLOSE");
      EXPECT_EQ(w[2], "(BINARY)");
      EXPECT_EQ(w[1].find("sim_rch/"), 0u) << "relative to the folder: " << w[1];
      named.insert(w[1]);
      EXPECT_NE(w[1].find("." + c.tags[j] + ".bin"), std::string::npos) << w[1];
      const std::string a = read_file(base + w[1]);
      ASSERT_EQ(a.size(), 430372u) << w[1];
      EXPECT_EQ(le(a, 0, 4), 1u);
      EXPECT_EQ(le(a, 4, 4), static_cast<uint64_t>(p));
      EXPECT_EQ(le_double(a, 8), len[p - 1]);
      EXPECT_EQ(le_double(a, 16), totim);
      EXPECT_EQ(a.substr(24, 16), "        RECHARGE");
      EXPECT_EQ(le(a, 40, 4), static_cast<uint64_t>(NCOL));
      EXPECT_EQ(le(a, 44, 4), static_cast<uint64_t>(NROW));
      EXPECT_EQ(le(a, 48, 4), 1u);
      int nonzero = 0;
      for (int i = 0; i < NCELL; ++i) {
        const double rate = le_double(a, 52 + 8 * static_cast<size_t>(i));
        // F9.5 values; the multiplier has 9 significant digits.
        const double tol = o.mult * (0.5e-5 + 1e-8 * std::fabs(o.v[i])) + 1e-300;
        ASSERT_NEAR(rate, o.v[i] * o.mult, tol) << w[1] << " cell " << i;
        nonzero += rate != 0.0;
      }
      if (c.tags[j] == "rch" || c.tags[j] == "rcp") {
        EXPECT_GT(nonzero, 1000) << w[1];
      }
    }
    // The example's returns stop outside the irrigation season.
    EXPECT_EQ(constants > 0, c.tags[j] != "rch" && c.tags[j] != "rcp") << c.mf6[j];
  }
  // The folder holds those and nothing else (no file of zeros, no temporary).
  std::set<std::string> held;
  for (const auto& e : std::filesystem::directory_iterator(base + "sim_rch"))
    held.insert("sim_rch/" + e.path().filename().string());
  EXPECT_EQ(held, named);

  // Wells: the model file's list in its order, less the inactive cells.
  auto wel = blocks(base + "sim.wel");
  EXPECT_EQ(wel["OPTIONS"], std::vector<std::string>{"  SAVE_FLOWS"});
  const std::vector<std::string> dim = words(wel["DIMENSIONS"].at(0));
  ASSERT_EQ(dim.size(), 2u);
  EXPECT_EQ(dim[0], "MAXBOUND");
  const std::vector<std::vector<Well>> old = read_mf2005_wel(dir / "example.wel");
  ASSERT_EQ(old.size(), static_cast<size_t>(NPER));
  ASSERT_EQ(wel.size(), static_cast<size_t>(NPER + 2));
  int left_out = 0, longer = 0, total = 0;
  for (int p = 1; p <= NPER; ++p) {
    ASSERT_EQ(wel.count(period(p)), 1u) << "every period has its block, empty or not";
    std::vector<Well> want;
    for (const Well& w : old[p - 1]) {
      if (ibound[(w.row - 1) * NCOL + w.col - 1] > 0) {
        want.push_back(w);
      } else {
        ++left_out;
      }
    }
    const std::vector<std::string>& b = wel[period(p)];
    ASSERT_EQ(b.size(), want.size()) << "period " << p;
    total += static_cast<int>(b.size());
    EXPECT_GE(std::stoi(dim[1]), static_cast<int>(b.size()));
    for (size_t k = 0; k < b.size(); ++k) {
      const std::vector<std::string> w = words(b[k]);
      ASSERT_EQ(w.size(), 4u) << b[k];
      EXPECT_EQ(w[0], "1");
      EXPECT_EQ(std::stoi(w[1]), want[k].row);
      EXPECT_EQ(std::stoi(w[2]), want[k].col);
      EXPECT_NEAR(std::stod(w[3]), want[k].q, 0.5e-6 + 1e-15) << b[k];  // F11.6
      const size_t point = w[3].find('.');
      longer += point != std::string::npos && w[3].size() - point > 7;
    }
  }
  EXPECT_EQ(left_out, 2 * 36) << "two inactive wells in each month";
  EXPECT_GT(longer, total / 2) << "rates at full precision, not 6 decimals";
}

INSTANTIATE_TEST_SUITE_P(
    RechargeFiles, Mf6E2E,
    ::testing::Values(Layout{"one", "RECHARGE example.rch", {"example.rch"}, {"sim.rch"}, {"rch"}},
                      Layout{"four",
                             "RECHARGE p.rch g.rch s.rch c.rch",
                             {"p.rch", "g.rch", "s.rch", "c.rch"},
                             {"sim.rcp.rch", "sim.rcg.rch", "sim.rcs.rch", "sim.rcc.rch"},
                             {"rcp", "rcg", "rcs", "rcc"}}));

TEST(Mf6E2E, ChangesNoOtherOutput) {
  TempDir plain, with;
  make_example(plain.path());
  make_example(with.path(), "MF6 mf6\n");
  const RunResult a = run_vadz(plain.path(), {"vadz.par"});
  const RunResult b = run_vadz(with.path(), {"vadz.par"});
  ASSERT_EQ(a.status, 0) << a.out;
  ASSERT_EQ(b.status, 0) << b.out;
  EXPECT_EQ(a.out, b.out);
  for (const char* f : {"example.wel", "example.rch", "1992annpump.csv", "annrech.csv"})
    EXPECT_EQ(read_file(plain / f), read_file(with / f)) << f;
  EXPECT_TRUE(exists(with / "mf6/vadz.tdis"));  // the default name
}

// Faults: the console line and status 1.
struct Bad {
  const char* name;
  std::string extra;                                       // parameter lines
  std::vector<std::pair<std::string, std::string>> links;  // link -> target, made before the run
  std::vector<std::string> folders;                        // made before the run
  std::string want;
};
void PrintTo(const Bad& c, std::ostream* os) { *os << c.name; }

class Mf6BadE2E : public ::testing::TestWithParam<Bad> {};

TEST_P(Mf6BadE2E, StopsWithOneLine) {
  const Bad& c = GetParam();
  if (!c.links.empty() && !std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  TempDir dir;
  make_example(dir.path(), c.extra);
  for (const std::string& f : c.folders) std::filesystem::create_directories(dir / f);
  for (const auto& [link, target] : c.links) std::filesystem::create_symlink(target, dir / link);
  const RunResult r = run_vadz(dir.path(), {"vadz.par"});
  EXPECT_EQ(r.status, 1);
  // The run's own lines (the budget table) may come first; the fault is the last line.
  ASSERT_GE(r.out.size(), c.want.size()) << r.out;
  EXPECT_EQ(r.out.substr(r.out.size() - c.want.size()), c.want) << r.out;
}

INSTANTIATE_TEST_SUITE_P(
    Messages, Mf6BadE2E,
    ::testing::Values(
        Bad{"append", "APPEND\nMF6 mf6\n", {}, {}, " APPEND cannot be used with MF6\r\n"},
        Bad{"folder_under_a_file",
            "MF6 vadz.par/mf6\n",
            {},
            {},
            " Cannot open file vadz.par/mf6\r\n"},
        Bad{"file_is_a_model_file",
            "MF6 . example\n",
            {},
            {},
            " Cannot open file ./example.wel\r\n"},
        Bad{"file_is_a_folder",
            "MF6 mf6\n",
            {},
            {"mf6/vadz.tdis"},
            " Cannot open file mf6/vadz.tdis\r\n"},
        Bad{"list_write_fails",
            "MF6 mf6\n",
            {{"mf6/vadz.wel", "/dev/full"}},
            {"mf6"},
            " Cannot write to file mf6/vadz.wel\r\n"},
        Bad{"array_write_fails",
            "MF6 mf6\n",
            {{"mf6/vadz_rch/1990.07.rch.bin", "/dev/full"}},
            {"mf6/vadz_rch"},
            " Cannot write to file mf6/vadz_rch/1990.07.rch.bin\r\n"}));

}  // namespace
}  // namespace vadz::test
