// The shipped PEST++ case (example/calibration) against the built program,
// without PEST++: setup.sh makes the shipped control file; the template
// filled as PEST++ fills it runs, and the calibration table holds every
// observation of the instruction file, in the instruction file's order, at
// the control file's values; a derivative increment of 1e-6 comes through
// the template's fields and the table exactly enough for the derivative.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "support/testutil.h"

namespace vadz {
namespace {

using test::lines_of;

using test::read_file;
using test::TempDir;

const std::string CASE_DIR = VADZ_CALIBRATION_DIR;

std::string lower(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return s;
}

// A value as PEST++ writes it into a template field w characters wide:
// fixed notation for 0.01 <= |v| < 100, otherwise scientific, with as many
// digits as fit, right-aligned.
std::string pest_field(double v, int w) {
  const bool sci = std::fabs(v) >= 100.0 || std::fabs(v) < 0.01;
  for (int p = w - (v < 0 ? 1 : 0) - (sci ? 2 : 0); p >= 0; --p) {
    char buf[128];
    std::snprintf(buf, sizeof buf, sci ? "%*.*e" : "%*.*f", w, p, v);
    if (static_cast<int>(std::string(buf).size()) <= w) return buf;
  }
  ADD_FAILURE() << v << " does not fit " << w << " characters";
  return "";
}

// The template filled with the values by parameter name (lower case), as
// PEST++ writes a model input file: the marker line dropped, LF line ends.
std::string fill_template(const std::string& tpl, const std::map<std::string, double>& values) {
  const std::vector<std::string> lines = lines_of(tpl);
  EXPECT_EQ(lines.at(0).substr(0, 4), "ptf ");
  const char marker = lines.at(0).back();
  std::string out;
  for (size_t k = 1; k < lines.size(); ++k) {
    std::string line = lines[k];
    for (size_t a = line.find(marker); a != std::string::npos; a = line.find(marker, a)) {
      const size_t b = line.find(marker, a + 1);
      EXPECT_NE(b, std::string::npos) << line;
      std::string name;
      for (char c : line.substr(a + 1, b - a - 1))
        if (c != ' ') name += c;
      EXPECT_EQ(values.count(lower(name)), 1u) << name;
      const int w = static_cast<int>(b - a + 1);
      line.replace(a, w, pest_field(values.at(lower(name)), w));
      a += w;
    }
    out += line + "\n";
  }
  return out;
}

struct Observation {
  std::string key;    // period,group,zone, as the primary marker searches it
  std::string name;
  std::string value;  // the table's text after the key
};

// Reads the instruction file's observations from the table as PEST++ does:
// each key searched from the row after the previous hit onwards, the value
// after it. The hit must be the row of that key, not a row containing it.
std::vector<Observation> read_observations(const std::string& ins, const std::string& table) {
  const std::vector<std::string> il = lines_of(ins);
  const std::vector<std::string> rows = lines_of(table);
  EXPECT_EQ(il.at(0).substr(0, 4), "pif ");
  const char marker = il.at(0).back();
  std::vector<Observation> obs;
  size_t at = 1;  // the header row is never searched
  for (size_t k = 1; k < il.size(); ++k) {
    const std::string& l = il[k];
    const size_t a = l.find(marker), b = l.find(marker, a + 1);
    const size_t n1 = l.find('!'), n2 = l.rfind('!');
    if (a != 0 || b == std::string::npos || n1 == std::string::npos || n2 <= n1) {
      ADD_FAILURE() << "instruction line " << k + 1 << ": " << l;
      continue;
    }
    Observation o{l.substr(1, b - 1), lower(l.substr(n1 + 1, n2 - n1 - 1)), ""};
    while (at < rows.size() && rows[at].find(o.key) == std::string::npos) ++at;
    if (at == rows.size()) {
      ADD_FAILURE() << o.key << " (" << o.name << ") not found after the previous observation";
      return obs;
    }
    EXPECT_EQ(rows[at].rfind(o.key, 0), 0u) << rows[at];
    o.value = rows[at].substr(o.key.size());
    obs.push_back(o);
    ++at;
  }
  return obs;
}

// A table value of an observation by name.
double value_of(const std::vector<Observation>& obs, const std::string& name) {
  for (const Observation& o : obs)
    if (o.name == name) return std::stod(o.value);
  ADD_FAILURE() << "no observation " << name;
  return 0.0;
}

TEST(CalibrationCaseE2E, TemplateFilledAsPestDoesGivesTheControlFilesObservations) {
#ifdef _WIN32
  GTEST_SKIP() << "setup.sh is a POSIX shell script";
#endif
  TempDir tmp;
  const std::string dir = tmp / "case";
  const std::string cmd = "sh '" + CASE_DIR + "/setup.sh' '" + dir + "' '" + VADZ_EXE + "' > '" +
                          (tmp / "setup.out") + "' 2>&1";
  ASSERT_EQ(std::system(cmd.c_str()), 0) << read_file(tmp / "setup.out");
  const std::string pst = read_file(dir + "/calib.pst");
  EXPECT_EQ(pst, read_file(CASE_DIR + "/calib.pst"))
      << "example/calibration/calib.pst is not what setup.sh makes with this program";

  std::map<std::string, double> truth;
  for (const std::string& l : lines_of(read_file(CASE_DIR + "/truth.csv"))) {
    const size_t c = l.find(',');
    if (l.rfind("parameter,", 0) != 0 && c != std::string::npos)
      truth[lower(l.substr(0, c))] = std::stod(l.substr(c + 1));
  }
  ASSERT_EQ(truth.size(), 4u);
  const std::string tpl = read_file(CASE_DIR + "/vadz.tpl");
  const std::string ins = read_file(CASE_DIR + "/budget.ins");

  // A run at the truth, as PEST++ makes it: the old table removed, the
  // parameter file written from the template.
  auto run = [&](const std::map<std::string, double>& values) {
    std::remove((dir + "/budget.csv").c_str());
    test::write_file(dir + "/vadz.par", fill_template(tpl, values));
    const test::RunResult r = test::run_vadz(dir, {"vadz.par"});
    EXPECT_EQ(r.status, 0) << r.out;
    return read_observations(ins, read_file(dir + "/budget.csv"));
  };
  const std::vector<Observation> base = run(truth);

  std::map<std::string, std::string> observed;
  bool inside = false;
  for (const std::string& l : lines_of(pst)) {
    if (!l.empty() && l[0] == '*') inside = l == "* observation data";
    std::istringstream f(l);
    std::string name, value;
    if (inside && l[0] != '*' && f >> name >> value) observed[lower(name)] = value;
  }
  EXPECT_EQ(observed.size(), base.size());
  for (const Observation& o : base) EXPECT_EQ(observed[o.name], o.value) << o.name;

  // The forward difference PEST++ forms for sf_co with an increment of 1e-6
  // of its value, against the exact derivative of the linear totals: the
  // CO column over the multiplier.
  std::map<std::string, double> up = truth;
  up["sf_co"] = std::stod(pest_field(truth["sf_co"] * (1.0 + 1e-6), 20));
  const std::vector<Observation> moved = run(up);
  ASSERT_EQ(moved.size(), base.size());
  const double h = up["sf_co"] - truth["sf_co"];
  EXPECT_NEAR(h, 1e-6 * truth["sf_co"], 1e-9 * 1e-6 * truth["sf_co"]) << "the field cuts the increment";
  for (const char* q : {"gwirr", "gwmi", "rcg"}) {
    const std::string tot = std::string(q) + "_tot_1991", co = std::string(q) + "_co_1991";
    const double fd = (value_of(moved, tot) - value_of(base, tot)) / h;
    const double exact = value_of(base, co) / truth["sf_co"];
    EXPECT_NEAR(fd, exact, 1e-6 * exact) << tot;
  }
  EXPECT_EQ(value_of(moved, "rcs_tot_1991"), value_of(base, "rcs_tot_1991"));
}

}  // namespace
}  // namespace vadz
