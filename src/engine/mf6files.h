// The run's stresses as MODFLOW 6 input (MF6 <folder> [<name>]): the period
// table (TDIS6), the well list (WEL6) and one recharge package (RCH6) per
// recharge file of the run, every number at full double precision. The
// recharge arrays are binary files in the subfolder <name>_rch, except an
// array that is zero everywhere, given as CONSTANT 0.0 in its period
// block. Paths inside the files are relative to the folder, where MODFLOW 6
// runs. Every file is staged: it takes its place when the run completes.
// A period's arrays and well list are written by a worker thread while the
// run computes the next period.
#pragma once
#include <array>
#include <string>
#include <vector>

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
  void finish() override;

 private:
  // On the worker: the period's block of the well list, from pump_.
  void write_wells(const std::string& head, double v);

  const RunConfig& cfg_;
  Staging& staged_;
  std::string base_;              // the folder, ending in '/'
  std::string arrays_;            // the array subfolder, relative to the folder
  std::vector<RunStep> periods_;  // the run's stress periods, in order
  int kper_ = 0;                  // periods written
  double totim_ = 0.0;            // seconds from the start to the end of the last one
  int nrch_ = 1;
  OutFile wel_;
  std::array<OutFile, 4> rch_;
  RealGrid rate_ = real_grid();
  RealGrid pump_ = real_grid();  // the period's pumping, for the worker
  std::string text_, wtext_;     // buffers of the run's thread and the worker's
  // The period's array files for the worker: up to four, encoded.
  struct ArrayFile {
    std::string path, bytes;
  };
  std::array<ArrayFile, 4> arrays_out_;
  int narrays_ = 0;
  JobThread writer_;  // last: ends before the buffers its jobs use
};

}  // namespace vadz
