// The budget table as CSV at full precision, for scripts and calibration
// tools: `period,group,zone,value`, one row for every number of the table.
#pragma once
#include <string>

#include "engine/output.h"
#include "utl/staging.h"
#include "utl/textio.h"

namespace vadz {

class BudgetCsv : public RunOutput {
 public:
  // Creates the file (staged) and writes the header; fatal ("Cannot open
  // file ") when it cannot be created.
  // A name that is one of the run's model files cannot be opened either.
  BudgetCsv(const RunConfig& cfg, const std::string& path, Staging& staged);
  void year(const YearResult& y) override;
  void finish() override;

 private:
  OutFile out_;
  std::string text_;
};

}  // namespace vadz
