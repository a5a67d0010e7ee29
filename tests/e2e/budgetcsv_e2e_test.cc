// The budget table as CSV (BUDGETCSV) on the shipped example: the same
// numbers as the table on standard output, unrounded, and nothing else of
// the run changed by it.
#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "support/testutil.h"

namespace vadz {
namespace {

using test::read_file;
using test::run_vadz;
using test::TempDir;

std::vector<std::string> split(const std::string& s, char sep) {
  std::vector<std::string> out;
  std::string item;
  std::istringstream in(s);
  while (std::getline(in, item, sep)) out.push_back(item);
  return out;
}

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
  std::vector<double> table;
  std::vector<std::string> periods;
  for (const std::string& line : split(a.out, '\n')) {
    const std::vector<std::string> f = split(line, ' ');
    std::vector<std::string> tok;
    for (const std::string& t : f)
      if (!t.empty() && t != "\r") tok.push_back(t);
    if (tok.empty() || !(tok[0] == "SS" || std::isdigit(static_cast<unsigned char>(tok[0][0]))))
      continue;
    for (size_t k = 1; k < tok.size(); ++k) {
      table.push_back(std::stod(tok[k]));
      periods.push_back(tok[0] == "SS" ? "steady" : tok[0]);
    }
  }
  const std::vector<std::string> rows = split(read_file(withcsv / "out/budget.csv"), '\n');
  ASSERT_EQ(rows.at(0), "period,group,zone,value\r");
  ASSERT_EQ(rows.size() - 1, table.size());  // 4 steady + 3 years x 11 groups x 4
  EXPECT_EQ(rows[1], "steady,RchRcp_af,CO,548832.0900122231\r");
  EXPECT_EQ(rows[5], "1990,act.cells,CO,11249\r");
  for (size_t k = 0; k < table.size(); ++k) {
    const std::vector<std::string> f = split(rows[k + 1].substr(0, rows[k + 1].size() - 1), ',');
    ASSERT_EQ(f.size(), 4u) << rows[k + 1];
    EXPECT_EQ(f[0], periods[k]);
    // The table rounds to 0.1 in 10 columns.
    EXPECT_NEAR(std::stod(f[3]), table[k], 0.05 + 1e-9 * std::fabs(table[k])) << rows[k + 1];
  }
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
