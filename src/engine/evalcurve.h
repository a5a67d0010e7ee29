// A year's cell water balance: precipitation, irrigated fraction and the
// recharge from precipitation of every cell.
#pragma once
#include <vector>

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

// The cells whose precipitation is kriged (and checked): the active ones.
std::vector<bool> kriged_cells(const RunConfig& cfg);

// The kriged precipitation of the year at every kriged cell (0 elsewhere),
// from the station kriging weights. Years are kriged eight at a time: the
// weights are read once for all.
const RealGrid& kriged_precipitation(const RunConfig& cfg, const KrigeWeights& weights,
                                     EvalWork& w, int year);

// A cell's precipitation the run takes on (it stops on a negative one).
inline bool precipitation_ok(double p) { return !(p < 0.0); }

// steady = 1 for a year of the steady window, 0 for a transient year.
// weights: the station kriging weights of the active cells (unused when
// cfg.iprism is set, may then be null).
void evalcurve(const RunConfig& cfg, const KrigeWeights* weights, EvalWork& w, RealGrid& curv,
               int steady, int year, AnnualArrays& ann, RealGrid& rpp);

}  // namespace vadz
