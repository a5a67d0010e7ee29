// The run's stresses as MODFLOW 6 input (MF6 <folder> [<name>]): the period
// table (TDIS6), the well list (WEL6) and one recharge package (RCH6) per
// recharge file of the run, every number at full double precision. The
// recharge arrays are binary files in the subfolder <name>_rch, except an
// array that is zero everywhere, given as CONSTANT 0.0 in its period
// block. Paths inside the files are relative to the folder, where MODFLOW 6
// runs. Every file is staged: it takes its place when the run completes.
// A period's arrays and well list are written by a worker thread while the
// run computes the next period; a few periods may wait for it.
#pragma once
#include <array>
#include <string>
#include <vector>

#include "engine/mf6array.h"
#include "engine/output.h"
#include "input/schedule.h"
#include "utl/jobs.h"
#include "utl/staging.h"
#include "utl/textio.h"

namespace vadz {

class Mf6Files : public RunOutput {
 public:
  // Creates the folder and its array subfolder where absent, writes
  // <name>.tdis and starts <name>.wel and the recharge file(s). Fatal
  // ("Cannot open file " and the name) when a folder or file cannot be made.
  Mf6Files(const RunConfig& cfg, Staging& staged);
  // One block of every file and the period's arrays.
  void period(const PeriodResult& p) override;
  bool beside() const override { return true; }
  void finish() override;

 private:
  // A period handed to the worker, with data of its own: the run overwrites
  // its grids with the next period's meanwhile. Reused from period to period.
  struct Work {
    Mf6ArrayHeader head;
    std::string pstem;  // names the period's array files
    double wel_factor = 0.0;
    std::array<RealGrid, 4> rate;  // recharge, feet per second, per package
    RealGrid pump;
  };
  // On the worker: the period's blocks of every file and its arrays.
  void write_period(const Work& w);
  void write_wells(const std::string& head, double v, const RealGrid& pump);

  const RunConfig& cfg_;
  Staging& staged_;
  std::string base_;              // the folder, ending in '/'
  std::string arrays_;            // the array subfolder, relative to the folder
  std::vector<RunStep> periods_;  // the run's stress periods, in order
  int kper_ = 0;                  // periods handed over
  double totim_ = 0.0;            // seconds from the start to the end of the last one
  int nrch_ = 1;
  OutFile wel_;
  std::array<OutFile, 4> rch_;
  std::string text_, wtext_, abuf_;  // the worker's text and array rooms
  Pool<Work> works_;
  // A year of periods may wait for the worker (about 2 MB each at most).
  JobThread writer_{12};  // last: ends before the buffers its jobs use
};

}  // namespace vadz
