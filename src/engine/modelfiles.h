// The flow model's files: the recharge array file(s) and the well file, in
// fixed fields, one block per stress period.
#pragma once
#include <array>
#include <string>

#include "engine/output.h"
#include "utl/textio.h"

namespace vadz {

inline constexpr int MAXWEL = 14000;

// The run's checks of the model file names, fatal: a well file is named;
// recharge files are named. ModelFiles::open makes them as it goes (the well
// file is opened before the recharge files are looked at).
void require_well_file(const RunConfig& cfg);
void require_recharge_files(const RunConfig& cfg);

class ModelFiles : public RunOutput {
 public:
  // Opens the well file and the 1 or 4 recharge files in the run's access
  // mode and writes their header lines (none with APPEND).
  void open(const RunConfig& cfg);
  void period(const PeriodResult& p) override;
  void finish() override;

  OutFile wel;
  std::array<OutFile, 4> rch;  // 1 or 4 used (cfg.nrch)

 private:
  std::string text_;  // output buffer, reused
};

}  // namespace vadz
