#include "run/outputs.h"

#include "engine/budgetcsv.h"
#include "engine/mf6files.h"
#include "report/report.h"

namespace vadz {

std::vector<std::unique_ptr<RunOutput>> make_outputs(const RunConfig& cfg, Staging& staged) {
  std::vector<std::unique_ptr<RunOutput>> outs;
  if (!cfg.budgetcsv.empty())
    outs.push_back(std::make_unique<BudgetCsv>(cfg, cfg.budgetcsv, staged));
  if (!cfg.mf6dir.empty()) outs.push_back(std::make_unique<Mf6Files>(cfg, staged));
  if (!cfg.reportdir.empty()) outs.push_back(std::make_unique<RunReport>(cfg, staged));
  return outs;
}

}  // namespace vadz
