#include "engine/period.h"

#include <algorithm>
#include <string>
#include <utility>

#include "engine/accumulate.h"

namespace vadz {

namespace {

constexpr double YEAR_SECONDS = 31557600.0;  // 365.25 days

}  // namespace

void period(const RunConfig& cfg, PeriodWork& pw, const RunOutputs& outputs,
            const RealGrid& rechp, std::string_view label, std::string_view pstem,
            std::string_view ystem, int year, int seconds, double w, AnnualArrays& ann) {
  pw.reader.set_binary(cfg.ibin);
  const double q = seconds / YEAR_SECONDS;

  std::fill(pw.pump.begin(), pw.pump.end(), 0.0);
  for (RealGrid& g : pw.rech) std::fill(g.begin(), g.end(), 0.0);

  // Inches per year over a cell to acre-feet: x acres/12 (640/12 for a
  // one-mile cell), the factor formed before the grid is multiplied.
  add(pw.rech[0], w * model_grid().inches_to_af, rechp);

  pw.reads.clear();
  period_reads(cfg, std::string(pstem), std::string(ystem), pw.mikeys, pw.reads);
  const double sf4 = cfg.stressf[3];
  for (const PlannedRead& r : pw.reads) {
    const int s = r.group + 1;
    const double sf = cfg.stressf[r.group];
    switch (r.kind) {
      case FileKind::mi: {
        // Municipal-industrial use is a yearly volume, prorated by the
        // period's share of the year; the mask does not apply to it.
        RealGrid& mi = pw.mi[r.group];
        if (!r.reuse) {
          // The plan has already keyed the file: a failed read must not
          // leave that key behind for the next period.
          std::string key = std::move(pw.mikeys[r.group]);
          pw.mikeys[r.group].clear();
          pw.reader.readfile(mi, r.dir, r.name, r.tag, r.mustexist);
          pw.mikeys[r.group] = std::move(key);
        }
        const double t = sf * q;
        add(pw.pump, t, mi);
        add(ann.annmi[s], t, mi);
        break;
      }
      case FileKind::pmp:
        pw.reader.readfile(pw.work, r.dir, r.name, r.tag, r.mustexist);
        condadd(pw.pump, sf, pw.work, cfg.gwmask);
        condadd(ann.annpump[s], sf, pw.work, cfg.gwmask);
        break;
      case FileKind::rcg:
        pw.reader.readfile(pw.work, r.dir, r.name, r.tag, r.mustexist);
        condadd(pw.rech[1], sf, pw.work, cfg.gwmask);
        condadd(ann.annrcg[s], sf, pw.work, cfg.gwmask);
        break;
      case FileKind::rcs:
        pw.reader.readfile(pw.work, r.dir, r.name, r.tag, r.mustexist);
        condadd3(pw.rech[2], sf4, pw.work, cfg.mound);
        condadd3(ann.annrcs[s], sf4, pw.work, cfg.mound);
        break;
      case FileKind::rcc:
        pw.reader.readfile(pw.work, r.dir, r.name, r.tag, r.mustexist);
        condadd3(pw.rech[3], sf4, pw.work, cfg.mound);
        condadd3(ann.annrcc[s], sf4, pw.work, cfg.mound);
        break;
      default:
        break;
    }
  }

  // Late-year adjustment of the irrigation returns Rcg and Rcs; the steady
  // period (year -1) is never adjusted, whatever XFACTOR year was given.
  if (year > 0 && year > cfg.xyear) {
    for (int i = 0; i < NCELL; ++i) {
      pw.rech[1][i] = pw.rech[1][i] * cfg.xfactor[i];
      pw.rech[2][i] = pw.rech[2][i] * cfg.xfactor[i];
    }
  }

  const PeriodResult result{cfg, label, year, seconds, pw.rech, pw.pump};
  for (RunOutput* o : outputs) o->period(result);
}

}  // namespace vadz
