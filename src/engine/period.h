// A stress period: the four recharge parts and the pumping of every cell,
// written as recharge arrays and a well block.
#pragma once
#include <array>
#include <string>
#include <string_view>

#include "engine/annual.h"
#include "input/gridio.h"
#include "input/prefetch.h"
#include "run/config.h"
#include "utl/textio.h"

namespace vadz {

inline constexpr int MAXWEL = 14000;

// The groundwater-model files, opened and headed by the run driver.
struct ModelFiles {
  OutFile wel;
  std::array<OutFile, 4> rch;  // 1 or 4 used (cfg.nrch)
};

// Working grids and buffers of period, allocated once per run.
struct PeriodWork {
  RealGrid pump = real_grid();
  std::array<RealGrid, 4> rech{real_grid(), real_grid(), real_grid(), real_grid()};
  RealGrid work = real_grid();
  GridReader reader;
  // The year's "mi" grid of each group is one file for all twelve months:
  // kept here with the year stem it was read for.
  std::array<RealGrid, 3> mi{real_grid(), real_grid(), real_grid()};
  std::array<std::string, 3> mistem;
  std::string text;  // output buffer, reused
};

// rechp: recharge from precipitation, inches per year. year -1 for the
// steady period. seconds: period length. w: precipitation multiplier.
void period(const RunConfig& cfg, PeriodWork& pw, ModelFiles& files, const RealGrid& rechp,
            std::string_view label, std::string_view pstem, std::string_view ystem, int year,
            int seconds, double w, AnnualArrays& ann);

// Appends to plan the grid reads of one period, in its order. mikeys holds,
// per group, the last municipal-industrial file read (empty at the start of
// a run): that file is read again only when it changes.
void period_reads(const RunConfig& cfg, std::string_view pstem, std::string_view ystem,
                  std::array<std::string, 3>& mikeys, ReadPlan& plan);

}  // namespace vadz
