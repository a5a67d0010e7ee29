// A year's cell water balance: precipitation, irrigated fraction and the
// recharge from precipitation of every cell.
#pragma once
#include "engine/annual.h"
#include "input/gridio.h"
#include "input/schedule.h"
#include "krige/krige.h"
#include "input/config.h"

namespace vadz {

// Scratch grids of evalcurve, allocated once per run.
struct EvalWork {
  RealGrid area = real_grid();
  RealGrid firr = real_grid();
  RealGrid work = real_grid();
  GridReader reader;
  ReadPlan reads;  // the year's reads, reused
  // Kriged precipitation of up to eight consecutive years, computed in one
  // pass over the kriging weights (allocated on first use).
  std::vector<RealGrid> kriged;
  const KrigeWeights* kweights = nullptr;
  int kfirst = 0, kcount = 0;
};

// steady = 1 for a year of the steady window, 0 for a transient year.
// weights: the station kriging weights of the active cells (unused when
// cfg.iprism is set, may then be null).
void evalcurve(const RunConfig& cfg, const KrigeWeights* weights, EvalWork& w, RealGrid& curv,
               int steady, int year, AnnualArrays& ann, RealGrid& rpp);

}  // namespace vadz
