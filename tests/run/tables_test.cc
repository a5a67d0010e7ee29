#include "run/tables.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/testutil.h"
#include "utl/console.h"

namespace vadz {
namespace {

using test::read_file;
using test::TempDir;

// The tables go to the working folder: run each case inside a fresh one.
struct InTempDir : testing::Test {
  TempDir dir;
  std::filesystem::path old;
  void SetUp() override {
    old = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
  }
  void TearDown() override { std::filesystem::current_path(old); }
};

size_t count_lines(const std::string& s) {
  size_t n = 0;
  for (char ch : s) n += ch == '\n';
  return n;
}

using PumpTable = InTempDir;

TEST_F(PumpTable, HeaderRowsAndFields) {
  AnnualArrays ann;
  ann.annpump[0][cell(2, 1)] = 1234.5678;
  ann.annrcg[0][cell(2, 1)] = -0.5;
  ann.annmi[0][cell(2, 1)] = 0.004;
  ann.gwarea[0][cell(2, 1)] = 1e9;  // 13 characters: asterisks
  ann.annpump[1][cell(3, 1)] = 5.0;  // group slots are not printed
  OutFile f;
  open_pump_table(f, 1990);
  write_pump_table(f, ann);
  const std::string s = read_file("1990annpump.csv");
  ASSERT_EQ(s.size(), 50u + 53790u * 72u);
  EXPECT_EQ(count_lines(s), 53791u);
  EXPECT_EQ(s.substr(0, 50), "node, row, col, gwirr_af, gwrcg_af, mi_af, gw_ac\r\n");
  EXPECT_EQ(s.substr(50, 72),
            "    1,    1,    1,        0.00,        0.00,        0.00,        0.00,\r\n");
  EXPECT_EQ(s.substr(50 + 72, 72),
            "    2,    1,    2,     1234.57,       -0.50,        0.00,************,\r\n");
  EXPECT_EQ(s.substr(50 + 2 * 72, 72),
            "    3,    1,    3,        0.00,        0.00,        0.00,        0.00,\r\n");
  EXPECT_EQ(s.substr(s.size() - 72),
            "53790,  165,  326,        0.00,        0.00,        0.00,        0.00,\r\n");
}

TEST_F(PumpTable, CannotCreate) {
  ASSERT_TRUE(std::filesystem::create_directory("1991annpump.csv"));  // a folder in the way
  OutFile f;
  try {
    open_pump_table(f, 1991);
    FAIL() << "no stop";
  } catch (const Fatal& e) {
    EXPECT_EQ(e.line(), " Cannot open file 1991annpump.csv\r\n");
  }
}

using RechargeTables = InTempDir;

TEST_F(RechargeTables, TwoYears) {
  std::vector<RealGrid> rcp(2, real_grid()), rech(2, real_grid());
  rcp[0][0] = 1.25;
  rech[0][0] = 1.5;
  rcp[1][0] = -0.0000004;  // rounds to -0.000000
  rech[0][NCELL - 1] = 123456.5;  // 13 characters: asterisks
  rech[1][NCELL - 1] = 12345.1234567;
  FlagGrid ibound = flag_grid(1);
  ibound[0] = 0;
  ibound[NCELL - 1] = -1;
  write_recharge_tables(rcp, rech, 1990, ibound);
  const std::string a = read_file("annrcp.csv"), b = read_file("annrech.csv");
  const size_t len = 50 + 26 + 2;
  ASSERT_EQ(a.size(), len * 53791);
  ASSERT_EQ(b.size(), len * 53791);
  const std::string head =
      " node,  row,  col, ibnd,        x_ft,        y_ft,        1990,        1991,\r\n";
  EXPECT_EQ(a.substr(0, len), head);
  EXPECT_EQ(b.substr(0, len), head);
  EXPECT_EQ(a.substr(len, len),
            "    1,    1,    1,    0,     268663.,   14961366.,    1.250000,   -0.000000,\r\n");
  EXPECT_EQ(b.substr(len, len),
            "    1,    1,    1,    0,     268663.,   14961366.,    1.500000,    0.000000,\r\n");
  EXPECT_EQ(a.substr(2 * len, len),
            "    2,    1,    2,    1,     273943.,   14961366.,    0.000000,    0.000000,\r\n");
  EXPECT_EQ(b.substr(b.size() - len),
            "53790,  165,  326,   -1,    1984663.,   14095446.,************,12345.123457,\r\n");
}

// annrcp.csv is created and headed before annrech.csv is created, so when
// the second cannot be created the first keeps its header line.
TEST_F(RechargeTables, SecondTableCannotBeCreated) {
  ASSERT_TRUE(std::filesystem::create_directory("annrech.csv"));  // a folder in the way
  std::vector<RealGrid> rcp(1, real_grid()), rech(1, real_grid());
  try {
    write_recharge_tables(rcp, rech, 2000, flag_grid(1));
    FAIL() << "no stop";
  } catch (const Fatal& e) {
    EXPECT_EQ(e.line(), " Cannot open file annrech.csv\r\n");
  }
  EXPECT_EQ(read_file("annrcp.csv"),
            " node,  row,  col, ibnd,        x_ft,        y_ft,        2000,\r\n");
}

TEST_F(RechargeTables, TwentySixYearsOnOneLine) {
  std::vector<RealGrid> rcp(26, real_grid()), rech(26, real_grid());
  write_recharge_tables(rcp, rech, 1990, flag_grid(1));
  const std::string a = read_file("annrcp.csv");
  const size_t len = 388 + 2;
  ASSERT_EQ(a.size(), len * 53791);
  EXPECT_EQ(a.substr(len - 15, 15), "        2015,\r\n");
  EXPECT_EQ(a.substr(2 * len - 15, 15), "    0.000000,\r\n");
}

}  // namespace
}  // namespace vadz
