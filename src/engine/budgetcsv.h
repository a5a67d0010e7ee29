// The budget table as CSV at full precision, for scripts and calibration
// tools: `period,group,zone,value`, one row for every number of the table;
// then, after every row of the table, the run's water accounts (the steady
// period's pumping and returns, the water outside the active area, the
// recharge as the model receives it), so that the table's rows keep their
// lines for instruction files that count them.
#pragma once
#include <string>

#include "engine/account.h"
#include "engine/output.h"
#include "utl/staging.h"
#include "utl/textio.h"

namespace vadz {

class BudgetCsv : public RunOutput {
 public:
  // Creates the file (staged) and writes the header; fatal ("Cannot open
  // file ") when it cannot be created.
  // A name that is one of the run's model files cannot be opened either.
  // acct: the run's accounts, listed among the outputs before this one.
  BudgetCsv(const RunConfig& cfg, const std::string& path, Staging& staged,
            const WaterAccounting& acct);
  void year(const YearResult& y) override;
  void finish() override;

 private:
  // The rows of a budget period's account.
  void account(std::string_view period, const RunConfig& cfg, const BudgetRow& row);

  const WaterAccounting& acct_;
  OutFile out_;
  std::string text_;
  std::string accounts_;  // written after the table's last row
};

}  // namespace vadz
