#include "engine/period.h"

#include <algorithm>
#include <string>
#include <utility>

#include "engine/accumulate.h"
#include "engine/stress.h"

namespace vadz {

void period(const RunConfig& cfg, PeriodWork& pw, const RunOutputs& outputs,
            const RealGrid& rechp, std::string_view label, std::string_view pstem,
            std::string_view ystem, int year, int seconds, double w, AnnualArrays& ann) {
  pw.reader.set_binary(cfg.ibin);

  std::fill(pw.pump.begin(), pw.pump.end(), 0.0);
  for (RealGrid& g : pw.rech) std::fill(g.begin(), g.end(), 0.0);

  // Inches per year over a cell to acre-feet: x acres/12 (640/12 for a
  // one-mile cell), the factor formed before the grid is multiplied.
  add(pw.rech[0], w * model_grid().inches_to_af, rechp);

  pw.reads.clear();
  period_reads(cfg, std::string(pstem), std::string(ystem), pw.mikeys, pw.reads);
  const double q = year_fraction(seconds);
  for (const PlannedRead& r : pw.reads) {
    if (!is_water(r.kind)) continue;
    const RealGrid* grid = &pw.work;
    if (r.kind == FileKind::mi) {
      // The year's municipal-industrial grid serves all twelve months.
      RealGrid& mi = pw.mi[r.group];
      if (!r.reuse) {
        // The plan has already keyed the file: a failed read must not
        // leave that key behind for the next period.
        std::string key = std::move(pw.mikeys[r.group]);
        pw.mikeys[r.group].clear();
        pw.reader.readfile(mi, r.dir, r.name, r.tag, r.mustexist);
        pw.mikeys[r.group] = std::move(key);
      }
      grid = &mi;
    } else {
      pw.reader.readfile(pw.work, r.dir, r.name, r.tag, r.mustexist);
    }
    // The period's stresses and the year's annual arrays get the same water.
    RealGrid& stress = r.kind == FileKind::mi || r.kind == FileKind::pmp ? pw.pump
                       : r.kind == FileKind::rcg                        ? pw.rech[1]
                       : r.kind == FileKind::rcs                        ? pw.rech[2]
                                                                        : pw.rech[3];
    add_stress(stress, cfg, r.group, r.kind, q, *grid);
    add_stress(annual_of(ann, r.kind, r.group), cfg, r.group, r.kind, q, *grid);
  }

  // Late-year adjustment of the irrigation returns Rcg and Rcs; the steady
  // period (year -1) is never adjusted, whatever XFACTOR year was given.
  const bool late = year > 0 && year > cfg.xyear;
  if (late) {
    for (int i = 0; i < NCELL; ++i) {
      pw.rech[1][i] = pw.rech[1][i] * cfg.xfactor[i];
      pw.rech[2][i] = pw.rech[2][i] * cfg.xfactor[i];
    }
  }

  const PeriodResult result{cfg, label, year, seconds, pw.rech, pw.pump, ann, late};
  // The grids stay as they are until every output has its period.
  const bool any = std::any_of(outputs.begin(), outputs.end(),
                               [](const RunOutput* o) { return o->beside(); });
  if (!any) {
    for (RunOutput* o : outputs) o->period(result);
    return;
  }
  if (!pw.beside) pw.beside = std::make_unique<JobThread>();
  pw.beside->post([&result, &outputs] {
    for (RunOutput* o : outputs)
      if (o->beside()) o->period(result);
  });
  try {
    for (RunOutput* o : outputs)
      if (!o->beside()) o->period(result);
  } catch (...) {
    // This stop comes first; the helper is done with the period's data
    // before it goes.
    try {
      pw.beside->wait();
    } catch (...) {
    }
    throw;
  }
  pw.beside->wait();
}

}  // namespace vadz
