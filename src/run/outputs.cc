#include "run/outputs.h"

#include "engine/account.h"
#include "engine/budgetcsv.h"
#include "engine/mf6files.h"
#include "report/report.h"

namespace vadz {

std::vector<std::unique_ptr<RunOutput>> make_outputs(const RunConfig& cfg, Staging& staged) {
  std::vector<std::unique_ptr<RunOutput>> outs;
  // The water accounts of the budget table's copies, formed once and
  // first, before the outputs that write them.
  const WaterAccounting* acct = nullptr;
  if (!cfg.budgetcsv.empty() || !cfg.reportdir.empty()) {
    auto a = std::make_unique<WaterAccounting>(cfg);
    acct = a.get();
    outs.push_back(std::move(a));
  }
  if (!cfg.budgetcsv.empty())
    outs.push_back(std::make_unique<BudgetCsv>(cfg, cfg.budgetcsv, staged, *acct));
  if (!cfg.mf6dir.empty()) outs.push_back(std::make_unique<Mf6Files>(cfg, staged));
  if (!cfg.reportdir.empty()) outs.push_back(std::make_unique<RunReport>(cfg, staged, *acct));
  return outs;
}

}  // namespace vadz
