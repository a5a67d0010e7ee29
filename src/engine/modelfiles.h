// The flow model's files: the recharge array file(s) and the well file, in
// fixed fields, one block per stress period.
#pragma once
#include <array>
#include <string>

#include "engine/output.h"
#include "utl/grid.h"
#include "utl/textio.h"

namespace vadz {

// The well list's limit: 14000 on the default grid, the cell count on another.
inline const int& MAXWEL = grid_detail::current.maxwel;

// The run's checks of the model file names, fatal: a well file is named;
// recharge files are named. ModelFiles::open makes them as it goes (the well
// file is opened before the recharge files are looked at).
void require_well_file(const RunConfig& cfg);
void require_recharge_files(const RunConfig& cfg);

// Acre-feet over a cell to inches (12 / the cell's acres), in single
// precision: the recharge arrays hold inches in the period.
inline const double& RCH_INCHES = grid_detail::current.rch_inches;
// The multiplier of a recharge array's control line: inches in a period of
// the given length to feet per second.
inline double rch_multiplier(int seconds) { return 0.08333333333333333 / seconds; }
// Acre-feet in a period of the given length to cubic feet per second.
inline double wel_factor(int seconds) { return 43560.0 / seconds; }

// True when path names an existing regular file that is one of the run's
// model files (well or recharge): another output opened on it would
// overwrite the model file.
bool is_model_file(const RunConfig& cfg, const std::string& path);

class ModelFiles : public RunOutput {
 public:
  // Opens the well file and the 1 or 4 recharge files in the run's access
  // mode and writes their header lines (none with APPEND).
  void open(const RunConfig& cfg);
  void period(const PeriodResult& p) override;
  void finish() override;
  // The run is complete: what it appended to the files stays (see
  // OutFile::commit); until then a stop takes the additions back.
  void commit();

  OutFile wel;
  std::array<OutFile, 4> rch;  // 1 or 4 used (cfg.nrch)

 private:
  std::string text_;  // output buffer, reused
};

}  // namespace vadz
