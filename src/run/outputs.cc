#include "run/outputs.h"

#include "engine/budgetcsv.h"
#include "engine/mf6files.h"
#include "report/report.h"

namespace vadz {

std::vector<std::unique_ptr<RunOutput>> make_outputs(const RunConfig& cfg) {
  std::vector<std::unique_ptr<RunOutput>> outs;
  if (!cfg.budgetcsv.empty()) outs.push_back(std::make_unique<BudgetCsv>(cfg, cfg.budgetcsv));
  if (!cfg.mf6dir.empty()) outs.push_back(std::make_unique<Mf6Files>(cfg));
  if (!cfg.reportdir.empty()) outs.push_back(std::make_unique<RunReport>(cfg));
  return outs;
}

}  // namespace vadz
