// The budget table as CSV (BUDGETCSV) on the shipped example: the same
// numbers as the table on standard output, unrounded, and nothing else of
// the run changed by it.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "support/testutil.h"

namespace vadz {
namespace {

using test::read_file;
using test::split;
using test::run_vadz;
using test::TempDir;

TEST(BudgetCsvE2E, HoldsTheTablesNumbersUnroundedAndChangesNoOtherOutput) {
  TempDir plain, withcsv;
  test::make_example(plain.path());
  test::make_example(withcsv.path(), "BUDGETCSV out/budget.csv\n");
  std::filesystem::create_directories(withcsv / "out");
  const test::RunResult a = run_vadz(plain.path(), {"vadz.par"});
  const test::RunResult b = run_vadz(withcsv.path(), {"vadz.par"});
  ASSERT_EQ(a.status, 0) << a.out;
  ASSERT_EQ(b.status, 0) << b.out;
  EXPECT_EQ(a.out, b.out);
  for (const char* f : {"example.wel", "example.rch", "1990annpump.csv", "annrech.csv"})
    EXPECT_EQ(read_file(plain / f), read_file(withcsv / f)) << f;

  // Every number of the table's rows, in row order, against the CSV's values.
  const std::vector<test::TableNumber> table = test::budget_table_numbers(a.out);
  const std::vector<std::string> rows = split(read_file(withcsv / "out/budget.csv"), '\n');
  ASSERT_EQ(rows.at(0), "period,group,zone,value\r");
  // 4 steady + 3 years x 11 groups x 4, then the water accounts.
  ASSERT_GT(rows.size() - 1, table.size());
  EXPECT_EQ(rows.at(table.size() + 1).substr(0, 16), "steady,gwIrr_af,");
  EXPECT_EQ(rows[1], "steady,RchRcp_af,CO,548832.0900122231\r");
  EXPECT_EQ(rows[5], "1990,act.cells,CO,11249\r");
  for (size_t k = 0; k < table.size(); ++k) {
    const std::vector<std::string> f = split(rows[k + 1].substr(0, rows[k + 1].size() - 1), ',');
    ASSERT_EQ(f.size(), 4u) << rows[k + 1];
    EXPECT_EQ(f[0], table[k].period);
    // The table rounds to 0.1 in 10 columns.
    EXPECT_NEAR(std::stod(f[3]), table[k].value, 0.05 + 1e-9 * std::fabs(table[k].value))
        << rows[k + 1];
  }
}

TEST(BudgetCsvE2E, NamedAsTheWellFileStopsInsteadOfOverwritingIt) {
  TempDir dir;
  test::make_example(dir.path(), "BUDGETCSV example.wel\n");
  test::write_file(dir / "example.wel", "");  // a file left by an earlier run
  const test::RunResult r = run_vadz(dir.path(), {"vadz.par"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out.substr(r.out.size() - 31), " Cannot open file example.wel\r\n");
}

TEST(BudgetCsvE2E, NeedsBudgetZones) {
  TempDir dir;
  test::make_example(dir.path());
  std::string par = read_file(dir / "vadz.par");
  par.replace(par.find("BUDGET budget.txt"), 17, "BUDGETCSV b.csv");
  test::write_file(dir / "vadz.par", par);
  const test::RunResult r = run_vadz(dir.path(), {"vadz.par"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, " BUDGETCSV needs BUDGET zones\r\n");
}

}  // namespace
}  // namespace vadz
