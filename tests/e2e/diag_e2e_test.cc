// Every stop says where: the mistakes a new user makes, each in a copy of
// the example basin, stop the run with its unchanged console line, then the
// place, notes and hint on standard error. --check reports the same place:
// a fault of the parameter file stops it as it stops the run; a fault of a
// data file is its error: record.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "support/testutil.h"

namespace vadz {
namespace {

using test::read_file;
using test::run_vadz;
using test::TempDir;
using test::write_file;

// Replaces the first occurrence of from in the file (which must hold it).
void edit(const std::string& path, const std::string& from, const std::string& to) {
  std::string text = read_file(path);
  const size_t at = text.find(from);
  ASSERT_NE(at, std::string::npos) << path << ": " << from;
  text.replace(at, from.size(), to);
  write_file(path, text);
}

// Removes line n (from 1) of the file.
void drop_line(const std::string& path, int n) {
  std::string text = read_file(path);
  size_t b = 0;
  for (int k = 1; k < n; ++k) b = text.find('\n', b) + 1;
  text.erase(b, text.find('\n', b) + 1 - b);
  write_file(path, text);
}

std::string last_line(const std::string& out) {
  const std::vector<std::string> lines = test::lines_of(out);
  return lines.empty() ? "" : lines.back();
}

// How --check meets the fault: stopped like the run, listing the data
// file's fault as a record, or (a computed value) by its own value checks,
// which another test covers.
enum class CheckMeets { Stop, Record, Values };

struct Mistake {
  const char* name;
  std::function<void(const std::string& basin)> make;
  std::string console;  // the run's last console line
  std::string err;      // the run's standard error ("@" stands for the run folder)
  CheckMeets check;
};

// The example's FUNCTION block ends at P = 60; these curves end at 25.
const std::string SHORT_CURVES =
    "0   0.0  0.0   0.0  0.0   0.0  0.0\n"
    "10  0.6  1.2   0.3  0.7   0.1  0.3\n"
    "20  2.4  4.0   1.2  2.5   0.6  1.4\n"
    "25  3.5  5.5   1.9  3.5   1.0  2.1\n";

const std::vector<Mistake>& mistakes() {
  static const std::vector<Mistake> m = {
      {"missing_value_code",
       [](const std::string& b) {
         edit(b + "/precip.txt", "1990 17.47 20.23 23.67 25.60 11.53", "1990 17.47 20.23 23.67 25.60 -99");
       },
       " Negative PPT  -0.17777836905701078     ",
       "year 1990, row 29, column 58 (569623, 14813526): error: Negative PPT -0.17777836905701078\r\n"
       "  note: nearest stations in 1990: ST01 17.47 at 27.8 miles, ST05 -99.00 at 52.6 miles, "
       "ST02 20.23 at 61.9 miles\r\n"
       "hint: ST05 has -99 in 1990 in precip.txt: a missing-value code is read as precipitation; "
       "fill the gap\r\n",
       CheckMeets::Values},
      {"curves_end_below_precipitation",
       [](const std::string& b) {
         const std::string par = read_file(b + "/vadz.par");
         const size_t from = par.find("0   0.0  0.0");
         const size_t to = par.find("MONTH");
         write_file(b + "/vadz.par", par.substr(0, from) + SHORT_CURVES + par.substr(to));
       },
       " Value out of range in BINFIND    25.027424532159674     ",
       "year 1985, row 67, column 318 (1942423, 14612886): error: Value out of range in BINFIND "
       "25.027424532159674\r\n"
       "  note: nearest stations in 1985: ST08 25.09 at 16.0 miles, ST04 23.24 at 42.8 miles, "
       "ST12 28.17 at 65.7 miles\r\n"
       "hint: the recharge curves end at P = 25; extend the FUNCTION data to at least 25.0274\r\n",
       CheckMeets::Values},
      {"area_file_missing_a_row", [](const std::string& b) { drop_line(b + "/ks/1991.agw", 100); },
       " Error reading file ks/1991.agw",
       "ks/1991.agw:165:1: error: Error reading file ks/1991.agw\r\n"
       "  note: the file ends before model row 165, column 1\r\n"
       "hint: the file holds 164 rows of 326 values; the model grid has 165 rows: a row is missing\r\n",
       CheckMeets::Record},
      {"indented_comment_in_function",
       [](const std::string& b) {
         edit(b + "/vadz.par", "FUNCTION curves.txt 1\n", "FUNCTION curves.txt 1\n  # P  sand  loam  clay\n");
       },
       " Cannot fit spline to one point",
       "vadz.par:@FN:3: error: Cannot fit spline to one point\r\n"
       "  note: the FUNCTION block ends here after 0 data lines\r\n"
       "hint: a comment needs '#' in the first column; an indented '#' line ends the FUNCTION block\r\n",
       CheckMeets::Stop},
      {"station_name_in_another_case", [](const std::string& b) { edit(b + "/precip.txt", "ST03", "st03"); },
       " Precip data out of order st03",
       "precip.txt:1:16: error: Precip data out of order st03\r\n"
       "  note: station 3 of stations.txt is 'ST03'\r\n"
       "hint: the names differ only in case: station names are matched as written; write ST03 in both files\r\n",
       CheckMeets::Record},
      {"month_sum", [](const std::string& b) { edit(b + "/vadz.par", "MONTH 0.03", "MONTH 0.02"); },
       " MONTH multipliers do not sum to 1",
       "vadz.par:@MONTH:1: error: MONTH multipliers do not sum to 1\r\n"
       "  note: the twelve multipliers sum to 0.99\r\n",
       CheckMeets::Stop},
      {"station_year_missing", [](const std::string& b) { edit(b + "/precip.txt", "\n1991 ", "\n#1991 "); },
       " No precip data for year         1991",
       "precip.txt: error: No precip data for year 1991\r\n"
       "  note: the file's data lines run from 1985 to 1992 and lack 1991\r\n",
       CheckMeets::Record},
      {"comment_on_keyword_line",
       [](const std::string& b) {
         edit(b + "/vadz.par", "RECHARGE example.rch", "RECHARGE example.rch   # total recharge, inches");
       },
       " RECHARGE must specify 1 or 4 files RECHARGE example.rch   # total recharge, inches",
       "vadz.par:@RECHARGE:42: error: RECHARGE must specify 1 or 4 files RECHARGE example.rch # total "
       "recharge, inches\r\n"
       "hint: '#' starts a comment only in the first column: the words from column 24 on are read as "
       "arguments; put the comment on a line of its own\r\n",
       CheckMeets::Stop},
      {"soil_file_without_header", [](const std::string& b) { drop_line(b + "/soil.txt", 1); },
       " Error reading file soil.txt",
       "soil.txt: error: Error reading file soil.txt\r\n"
       "  note: the file ends after line 165; 165 rows of 326 fields after the header line are read\r\n"
       "hint: line 1 holds digits, not zone names: a zoned flag file starts with a header line naming "
       "its zones\r\n",
       CheckMeets::Stop},
  };
  return m;
}

// The line number of the first line of the parameter file starting with key.
std::string line_of(const std::string& par, const std::string& key) {
  const std::vector<std::string> lines = test::lines_of(par);
  for (size_t i = 0; i < lines.size(); ++i)
    if (lines[i].compare(0, key.size(), key) == 0) return std::to_string(i + 1);
  return "?";
}

// The expected text with its parameter-file line numbers filled in.
std::string expected(std::string text, const std::string& par) {
  for (const char* key : {"FN", "MONTH", "RECHARGE"}) {
    const std::string mark = std::string("@") + key + ":";
    const size_t at = text.find(mark);
    if (at == std::string::npos) continue;
    const std::string line = std::string(key) == "FN" ? std::to_string(std::stoi(line_of(par, "FUNCTION")) + 1)
                                                      : line_of(par, key);
    text.replace(at, mark.size(), line + ":");
  }
  return text;
}

class DiagE2E : public ::testing::TestWithParam<size_t> {};

TEST_P(DiagE2E, RunAndCheckSayWhere) {
  const Mistake& m = mistakes()[GetParam()];
  TempDir d;
  test::make_example(d.path());
  m.make(d.path());
  const std::string err = expected(m.err, read_file(d / "vadz.par"));

  const test::RunResult run = run_vadz(d.path(), {"vadz.par"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(last_line(run.out), m.console);
  EXPECT_EQ(run.err, err);

  if (m.check == CheckMeets::Values) return;
  const test::RunResult check = run_vadz(d.path(), {"--check", "vadz.par"});
  EXPECT_EQ(check.status, 1);
  if (m.check == CheckMeets::Stop) {
    EXPECT_EQ(last_line(check.out), m.console);
    EXPECT_EQ(check.err, err);
  } else {
    // A data file's fault: its record among --check's lines, as on the run's standard error.
    EXPECT_NE(check.out.find(err), std::string::npos) << check.out;
    EXPECT_EQ(check.err, "");
  }
}

INSTANTIATE_TEST_SUITE_P(Mistakes, DiagE2E, ::testing::Range<size_t>(0, mistakes().size()),
                         [](const ::testing::TestParamInfo<size_t>& i) {
                           return std::string(mistakes()[i.param].name);
                         });

// Run from the wrong folder: the first relative path is sought from the
// working folder, which the hint names.
TEST(DiagE2EFolder, RelativePathsAreSoughtFromTheWorkingFolder) {
  TempDir d;
  test::make_example(d / "basin");
  const std::string par = read_file(d / "basin/vadz.par");
  const std::string where = "basin/vadz.par:" + line_of(par, "IBOUND") + ":8";
  const std::string here = std::filesystem::canonical(d.path()).string();
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"basin/vadz.par"}, std::vector<std::string>{"--check", "basin/vadz.par"}}) {
    const test::RunResult r = run_vadz(d.path(), args);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, " Error opening file ibound.txt\r\n");
    EXPECT_EQ(r.err, where + ": error: Error opening file ibound.txt\r\n"
                     "hint: paths in the parameter file are relative to the working folder, here " +
                         here + "\r\n");
  }
}

}  // namespace
}  // namespace vadz
