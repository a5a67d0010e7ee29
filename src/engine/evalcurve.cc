#include "engine/evalcurve.h"

#include <algorithm>
#include <string_view>

#include "engine/accumulate.h"
#include "engine/pptplace.h"
#include "engine/storemonth.h"
#include "utl/console.h"
#include "utl/format.h"

namespace vadz {

namespace {

// Adds one irrigated-area grid of group s (0-based) to the year's acres:
// groundwater-irrigated land only where the group pumps and the cell is not
// masked; surface-water land scaled by the mound multiplier in mound cells;
// commingled land in full where the group pumps (or OPTMOUND), otherwise
// treated like surface-water land.
void add_area(const RunConfig& cfg, EvalWork& w, FileKind kind, int s, AnnualArrays& ann) {
  const int k = s + 1;
  switch (kind) {
    case FileKind::agw:
      condadd(w.area, cfg.stressf[s], w.work, cfg.gwmask);
      condadd(ann.gwarea[k], cfg.stressf[s], w.work, cfg.gwmask);
      break;
    case FileKind::asw:
      condadd3(w.area, cfg.stressf[3], w.work, cfg.mound);
      condadd3(ann.swarea[k], cfg.stressf[3], w.work, cfg.mound);
      break;
    case FileKind::aco:
      if (cfg.ipump[s] != 0 || cfg.ioptmound != 0) {
        add(w.area, 1.0, w.work);
        add(ann.coarea[k], 1.0, w.work);
      } else {
        condadd3(w.area, cfg.stressf[3], w.work, cfg.mound);
        condadd3(ann.coarea[k], cfg.stressf[3], w.work, cfg.mound);
      }
      break;
    default:
      break;
  }
}

}  // namespace

std::vector<bool> kriged_cells(const RunConfig& cfg) {
  std::vector<bool> active(NCELL);
  for (int i = 0; i < NCELL; ++i) active[i] = cfg.ibound[i] > 0;
  return active;
}

const RealGrid& kriged_precipitation(const RunConfig& cfg, const KrigeWeights& weights,
                                     EvalWork& w, int year) {
  constexpr int BLOCK = 8;
  if (w.kweights != &weights || year < w.kfirst || year >= w.kfirst + w.kcount) {
    if (w.kriged.empty()) w.kriged.assign(BLOCK, real_grid());
    const int nv = std::min(BLOCK, LAST_YEAR - year + 1);
    const double* v[BLOCK];
    RealGrid* out[BLOCK];
    for (int k = 0; k < nv; ++k) {
      v[k] = cfg.stations.year_values(year + k);
      out[k] = &w.kriged[k];
    }
    weights.estimate_many(v, nv, out);
    w.kweights = &weights;
    w.kfirst = year;
    w.kcount = nv;
  }
  return w.kriged[year - w.kfirst];
}

void evalcurve(const RunConfig& cfg, const KrigeWeights* weights, EvalWork& w, RealGrid& curv,
               int steady, int year, AnnualArrays& ann, RealGrid& rpp) {
  w.reader.set_binary(cfg.ibin);
  char ybuf[4];
  put_int(ybuf, 4, year);
  w.reads.clear();
  year_reads(cfg, steady == 0, std::string(ybuf, 4), w.reads);

  std::fill(w.area.begin(), w.area.end(), 0.0);
  std::fill(curv.begin(), curv.end(), 0.0);
  std::fill(rpp.begin(), rpp.end(), 0.0);
  std::fill(w.firr.begin(), w.firr.end(), 0.0);

  // The year's grids in their planned order: the irrigated areas of a
  // transient year (a steady year is treated as wholly non-irrigated), then
  // the PRISM precipitation.
  for (const PlannedRead& r : w.reads) {
    if (r.kind == FileKind::grd) {
      w.reader.readfile(rpp, r.dir, r.name, r.tag, r.mustexist);
    } else {
      w.reader.readfile(w.work, r.dir, r.name, r.tag, r.mustexist);
      add_area(cfg, w, r.kind, r.group, ann);
    }
  }

  const bool prism = cfg.iprism == 1;

  const RealGrid* kriged = prism ? nullptr : &kriged_precipitation(cfg, *weights, w, year);
  const double* xtab = cfg.curves.curve(1, 0);
  const int n = cfg.curves.ncurv;
  const double acres = model_grid().acres;
  // A stop on a cell's precipitation names the cell; the loop keeps it current.
  int at = -1;
  const PlaceScope here([&] { return at < 0 ? Diag{} : precipitation_place(cfg, year, at, rpp[at]); });
  for (int i = 0; i < NCELL; ++i) {
    if (cfg.ibound[i] <= 0) continue;
    at = i;
    const int k = cfg.isoil[i];
    // The irrigated fraction is capped at the whole cell.
    const double f = w.area[i] / acres;
    w.firr[i] = f < 1.0 ? f : 1.0;
    if (!prism) rpp[i] = (*kriged)[i];
    if (!precipitation_ok(rpp[i])) errordbl("Negative PPT", rpp[i]);
    const double p = rpp[i];
    const double d = (1.0 - w.firr[i]) * binfind(p, xtab, cfg.curves.curve(1, k), n);
    const double irr = binfind(p, xtab, cfg.curves.curve(2, k), n) * w.firr[i];
    curv[i] = cfg.trn[i] * (irr + d);
  }
  at = -1;

  if (cfg.nfile > 0 && steady == 0) {
    storemonth(rpp, 1.0, year, -1, cfg.filedir, cfg.fileext[0], cfg.ibin);
    storemonth(w.firr, acres, year, -1, cfg.filedir, cfg.fileext[1], cfg.ibin);
    storemonth(curv, 1.0, year, -1, cfg.filedir, cfg.fileext[2], cfg.ibin);
  }
}

}  // namespace vadz
