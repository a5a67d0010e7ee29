// A stress period: the four recharge parts and the pumping of every cell,
// handed to the run's outputs.
#pragma once
#include <array>
#include <memory>
#include <string>
#include <string_view>

#include "engine/annual.h"
#include "engine/modelfiles.h"
#include "engine/output.h"
#include "input/config.h"
#include "input/gridio.h"
#include "input/schedule.h"
#include "utl/jobs.h"

namespace vadz {

// Working grids and buffers of period, allocated once per run.
struct PeriodWork {
  RealGrid pump = real_grid();
  std::array<RealGrid, 4> rech{real_grid(), real_grid(), real_grid(), real_grid()};
  RealGrid work = real_grid();
  GridReader reader;
  // The year's "mi" grid of each group is one file for all twelve months:
  // kept here, with the key of the file it was read from.
  std::array<RealGrid, 3> mi{real_grid(), real_grid(), real_grid()};
  MiKeys mikeys;
  ReadPlan reads;  // the period's reads, reused
  // Runs the outputs that may work beside the others (RunOutput::beside);
  // made with the first period that has such an output.
  std::unique_ptr<JobThread> beside;
};

// rechp: recharge from precipitation, inches per year. year -1 for the
// steady period. seconds: period length. w: precipitation multiplier. The
// period's stresses (pw.rech, pw.pump) go to every output in turn.
void period(const RunConfig& cfg, PeriodWork& pw, const RunOutputs& outputs,
            const RealGrid& rechp, std::string_view label, std::string_view pstem,
            std::string_view ystem, int year, int seconds, double w, AnnualArrays& ann);

}  // namespace vadz
