// The parameter file as a user meets it: each case runs the built program on
// a small parameter file and compares standard output byte for byte.
#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "support/testutil.h"

namespace vadz::test {
namespace {

// A configuration that passes every check and takes precipitation from grid
// files, so the run stops at the first model-file check.
const std::string BASE =
    "SOIL *\n"
    "FUNCTION table.txt 1\n"
    "0 0 0\n"
    "100 10 20\n"
    "MONTH 0.1 0.1 0.1 0.1 0.1 0.1 0.1 0.1 0.05 0.05 0.05 0.05\n"
    "PRISM prism\n";
const std::string PRISM_LINE = " PRISMpath=prism\r\n";
const std::string NO_WELL = " No well file specified\r\n";

struct Case {
  const char* name;
  std::string params;
  std::vector<std::string> extra_args;
  std::string want;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

class ParamsE2E : public ::testing::TestWithParam<Case> {};

TEST_P(ParamsE2E, StandardOutput) {
  const Case& c = GetParam();
  TempDir dir;
  write_file(dir / "run.par", c.params);
  // The state groups' data folders, empty: a missing one is warned of.
  for (const char* g : {"co", "ks", "ne"}) std::filesystem::create_directories(dir / g);
  std::vector<std::string> args{"run.par"};
  args.insert(args.end(), c.extra_args.begin(), c.extra_args.end());
  RunResult r = run_vadz(dir.path(), args);
  EXPECT_EQ(r.out, c.want);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(test::stop_record_fault(r), "");
}

const std::string MONTH_LINE = "MONTH 0.1 0.1 0.1 0.1 0.1 0.1 0.1 0.1 0.05 0.05 0.05 0.05\n";
const std::string NO_MONTH =
    "SOIL *\nFUNCTION table.txt 1\n0 0 0\n100 10 20\nPRISM prism\n";

INSTANTIATE_TEST_SUITE_P(
    Messages, ParamsE2E,
    ::testing::Values(
        Case{"valid", BASE, {}, PRISM_LINE + NO_WELL},
        Case{"mf6_without_periods", BASE + "MF6 mf6\n", {},
             PRISM_LINE + " MF6 needs STEADY or TRANSIENT years\r\n"},
        Case{"keywords_any_case", "steady 1950 1960 1.0\n" + BASE, {}, PRISM_LINE + NO_WELL},
        Case{"comment_and_blank", "# a comment\n\n \t \n" + BASE, {}, PRISM_LINE + NO_WELL},
        Case{"hash_not_in_column_1", "  # x\n" + BASE, {}, " Unknown parameter #\r\n"},
        Case{"unknown_long", "abcdefghijklmnopqrs x\n" + BASE, {},
             " Unknown parameter ABCDEFGHIJKLMNOP\r\n"},
        Case{"unterminated_command", "\"WELL x\n" + BASE, {}, " Invalid command \"WELL x\r\n"},
        Case{"steady_start", "STEADY 1909 1950 1.0\n" + BASE, {}, " STEADY period start error\r\n"},
        Case{"steady_end", "STEADY 1950 2151 1.0\n" + BASE, {}, " STEADY period end error\r\n"},
        Case{"steady_order", "STEADY 1960 1950 1.0\n" + BASE, {}, " Invalid STEADY period\r\n"},
        Case{"steady_mult", "STEADY 1950 1960\n" + BASE, {}, " Invalid STEADY precip multiplier\r\n"},
        Case{"steady_nan_mult", "STEADY 1950 1960 NaN\n" + BASE, {},
             " Invalid STEADY precip multiplier\r\n"},
        Case{"steady_start_year", "STEADY x 1960 1\n" + BASE, {}, " Invalid STEADY start year\r\n"},
        Case{"transient_end_year", "TRANSIENT 1950\n" + BASE, {},
             " Invalid TRANSIENT end year\r\n"},
        Case{"transient_order", "TRANSIENT 1951 1950\n" + BASE, {},
             " Invalid TRANSIENT period\r\n"},
        Case{"recharge_two", "RECHARGE a b\n" + BASE, {},
             " RECHARGE must specify 1 or 4 files RECHARGE a b\r\n"},
        Case{"recharge_none", "RECHARGE\n" + BASE, {}, " RECHARGE must specify 1 or 4 files RECHARGE\r\n"},
        Case{"recharge_five", "RECHARGE a b c d e\n" + BASE, {},
             " RECHARGE must specify 1 or 4 files RECHARGE a b c d e\r\n"},
        Case{"recharge_quote", "RECHARGE a \"b\n" + BASE, {},
             " Error reading RECHARGE file RECHARGE a \"b\r\n"},
        Case{"nopump_kansas", "NOPUMP Kansas\n" + BASE, {}, " Invalid state NOPUMP Kansas\r\n"},
        Case{"nopump_missing", "NOPUMP\n" + BASE, {}, " Invalid state NOPUMP\r\n"},
        Case{"month_sum", NO_MONTH + "MONTH 0.1 0.1 0.1 0.1 0.1 0.1 0.1 0.1 0.05 0.05 0.05 0.0500000002\n", {},
             PRISM_LINE + " MONTH multipliers do not sum to 1\r\n"},
        Case{"month_missing", NO_MONTH, {}, PRISM_LINE + " MONTH multipliers do not sum to 1\r\n"},
        Case{"month_negative", "MONTH 1 0 0 0 0 0 0 0 0 0 0 -0\n" + BASE, {}, PRISM_LINE + NO_WELL},
        Case{"month_bad", "MONTH 1 0 0 0 0 0 0 0 0 0 0 -1e-9\n" + BASE, {},
             " Invalid MONTH multiplier MONTH 1 0 0 0 0 0 0 0 0 0 0 -1e-9\r\n"},
        Case{"month_short", "MONTH 1 0\n" + BASE, {}, " Invalid MONTH multiplier MONTH 1 0\r\n"},
        Case{"no_soil", "FUNCTION t.txt 1\n0 0\n1 1\n", {}, " No SOILs specified before FUNCTION\r\n"},
        Case{"no_soils", MONTH_LINE, {}, " No SOILs specified\r\n"},
        Case{"no_curve", "SOIL *\n" + MONTH_LINE, {}, " No curve specified\r\n"},
        Case{"file_ext", "FILE out rpp\n" + BASE, {}, " Invalid FILE extention            2\r\n"},
        Case{"file_dir", "FILE\n" + BASE, {}, " Invalid FILE directory\r\n"},
        Case{"dir_short", "DIR a b\n" + BASE, {}, " Error reading DIR DIR a b\r\n"},
        Case{"irchcb", "IRCHCB x\n" + BASE, {}, " Invalid Recharge cbc file number IRCHCB\r\n"},
        Case{"iwelcb", "IWELCB 1.5\n" + BASE, {}, " Invalid Well cbc file number IWELCB\r\n"},
        Case{"well_missing", "WELL\n" + BASE, {}, " Error reading WELL file name WELL\r\n"},
        Case{"well_blank", "WELL \"\"\n" + BASE, {}, PRISM_LINE + NO_WELL},
        Case{"stressf_bad", "STRESSF 1 1 x 1\n" + BASE, {}, " Invalid STRESSF multiplier\r\n"},
        Case{"stressf_inf", "STRESSF 1 1 1 Inf\n" + BASE, {}, " Invalid STRESSF multiplier\r\n"},
        Case{"stressf_cmd_line", "STRESSF a b c d\n" + BASE, {"STRESSF", "1", "0.5", "2", "1.5+1"},
             " stress multipliers from cmd line:     1.0000000000000000     "
             "    0.50000000000000000     "
             "     2.0000000000000000     "
             "     15.000000000000000     \r\n" +
                 PRISM_LINE + NO_WELL},
        Case{"stressf_cmd_short", BASE, {"STRESSF", "1", "1", "1"},
             " cmd arg: Invalid stress fraction\r\n"},
        Case{"stressf_cmd_nan", BASE, {"STRESSF", "1", "1", "1", "nan"},
             " cmd arg: Invalid stress fraction\r\n"},
        Case{"stressf_lower_ignored", "STRESSF 1 1 1 1\n" + BASE, {"stressf", "x"},
             PRISM_LINE + NO_WELL},
        Case{"gwmask_all", "GWMASK *\n" + BASE, {},
             " GWMASK:        53790  cells in zone to exclude pumping\r\n" + PRISM_LINE + NO_WELL},
        Case{"gwmask_missing", "GWMASK\n" + BASE, {}, " Error reading GWMASK flag name GWMASK\r\n"},
        Case{"mound_missing", "MOUND \"x\n" + BASE, {}, " Error reading MOUND flag name MOUND \"x\r\n"},
        Case{"ibound_missing", "IBOUND\n" + BASE, {}, " Invalid IBOUND file name IBOUND\r\n"},
        Case{"soil_missing", "SOIL\n" + BASE, {}, " Invalid SOIL file name SOIL\r\n"},
        Case{"xfactor_year", "XFACTOR x f\n" + BASE, {}, " Invalid XFACTOR year XFACTOR x f\r\n"},
        Case{"xfactor_file", "XFACTOR 1990\n" + BASE, {}, " Invalid XFACTOR file name XFACTOR 1990\r\n"},
        Case{"budget_missing", "BUDGET\n" + BASE, {}, " Invalid BUDGET file name BUDGET\r\n"},
        Case{"prism_missing", "PRISM\n" + BASE, {}, " Invalid PRISM path\r\n"},
        Case{"prism_blank", BASE + "PRISM \"\"\n", {}, PRISM_LINE + " PRISMpath= \r\n" + NO_WELL},
        Case{"prism_twice", "PRISM a\n" + BASE, {}, " PRISMpath=a\r\n" + PRISM_LINE + NO_WELL},
        Case{"tab_separated", "STEADY\t1950\t1950\t1\n" + BASE, {}, PRISM_LINE + NO_WELL},
        Case{"crlf_lines", "SOIL *\r\nFUNCTION table.txt 1\r\n0 0 0\r\n100 10 20\r\n" + MONTH_LINE +
                               "PRISM prism\r\n", {}, PRISM_LINE + NO_WELL}),
    [](const ::testing::TestParamInfo<Case>& i) { return std::string(i.param.name); });

TEST(ParamsE2ECommandLine, UsageAndMissingFile) {
  TempDir dir;
  RunResult r = run_vadz(dir.path(), {});
  EXPECT_EQ(r.out, " Usage: vadz <parameter file>\r\n");
  EXPECT_EQ(r.status, 1);
  r = run_vadz(dir.path(), {"none.par", "STRESSF", "x"});
  EXPECT_EQ(r.out, " Error opening parameter file\r\n");
  EXPECT_EQ(r.status, 1);
  r = run_vadz(dir.path(), {"--help"});
  EXPECT_EQ(r.status, 0);
  // The usage names the keywords that add outputs, --check and every exit status.
  for (const char* item : {"STRESSF f1 f2 f3 f4", "MF6 <folder>", "REPORT <folder>", "BUDGETCSV <file>",
                           "--check", "  0 ", "  1 ", "  130 ", "  143 "})
    EXPECT_NE(r.out.find(item), std::string::npos) << item;
  r = run_vadz(dir.path(), {"--version"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out.rfind("vadz ", 0), 0u);
}

TEST(ParamsE2EWarnings, MissingSoilInActiveCellsOnly) {
  TempDir dir;
  // One active cell (row 2, column 3) without a soil; every other cell inactive.
  write_file(dir / "ibound.txt", flag_file("", 2, [](int c, int r) { return c == 3 && r == 2; }));
  write_file(dir / "soil.txt", flag_file("sand", 1, [](int c, int) { return c == 3 ? 0 : 1; }));
  write_file(dir / "run.par",
             "IBOUND ibound.txt\nSOIL soil.txt\nFUNCTION t.txt 1\n0 0 0\n100 10 20\n" +
                 MONTH_LINE + "PRISM p\n");
  RunResult r = run_vadz(dir.path(), {"run.par"});
  EXPECT_EQ(r.out, " PRISMpath=p\r\n WARNING: Missing soil type            2           3\r\n" + NO_WELL);
}

}  // namespace
}  // namespace vadz::test

namespace vadz::test {
namespace {

// Hostile inputs: whatever the bytes, the run ends with one console line
// and status 1, never a crash.
TEST(ParamsE2EHostile, RandomBytesLongLinesAndEmptyFiles) {
  TempDir dir;
  uint64_t state = 99;
  auto next = [&state] {
    state = state * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<unsigned char>(state >> 56);
  };
  std::vector<std::string> inputs;
  for (int k = 0; k < 6; ++k) {
    std::string s;
    for (int i = 0; i < 4000; ++i) s += static_cast<char>(next());
    inputs.push_back(s);
  }
  inputs.push_back(std::string(100000, 'x') + "\n");
  inputs.push_back("WELL " + std::string(100000, 'w') + "\n" + BASE);
  inputs.push_back("");
  inputs.push_back("\"");
  inputs.push_back(BASE + "FUNCTION t.txt 2\n" + std::string(3000, '9') + " 1\n");
  for (size_t k = 0; k < inputs.size(); ++k) {
    write_file(dir / "run.par", inputs[k]);
    RunResult r = run_vadz(dir.path(), {"run.par"});
    EXPECT_EQ(r.status, 1) << k;
    ASSERT_GE(r.out.size(), 3u) << k;
    // The last line is the fatal one; it ends in CR LF and is the only line
    // that is not a console notice.
    EXPECT_EQ(r.out.substr(r.out.size() - 2), "\r\n") << k;
    EXPECT_EQ(r.out[0], ' ') << k;
    EXPECT_EQ(test::stop_record_fault(r), "") << k;
  }
#ifndef _WIN32
  // A device that never ends, given as a flag file, is refused.
  write_file(dir / "run.par", "IBOUND /dev/zero\n" + BASE);
  EXPECT_EQ(run_vadz(dir.path(), {"run.par"}).out, " Error opening file /dev/zero\r\n");
#endif
  // A long path is used whole, never cut: here in a folder that does not exist.
  const std::string name = std::string(300, 'w') + "/x";
  write_file(dir / "run.par", "WELL " + name + "\n" + BASE);
  RunResult r = run_vadz(dir.path(), {"run.par"});
  EXPECT_EQ(r.out, PRISM_LINE + " Cannot open file " + name + "\r\n");
}

}  // namespace
}  // namespace vadz::test
