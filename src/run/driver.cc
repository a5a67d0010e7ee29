#include "run/driver.h"

#include <array>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>
#include <string>
#include <string_view>
#include <vector>

#include "engine/annual.h"
#include "engine/budget.h"
#include "engine/evalcurve.h"
#include "engine/modelfiles.h"
#include "engine/output.h"
#include "engine/period.h"
#include "input/inventory.h"
#include "input/schedule.h"
#include "run/outputs.h"
#include "run/progress.h"
#include "run/readahead.h"
#include "run/tables.h"
#include "utl/console.h"
#include "utl/format.h"
#include "utl/interrupt.h"
#include "utl/scan.h"
#include "utl/staging.h"

namespace vadz {

namespace {

// Years kept for annrcp.csv and annrech.csv.
constexpr int RECH_FIRST = 1990;
constexpr int RECH_LAST = 2015;

}  // namespace

void run_driver(const RunConfig& cfg, Krig& krig, bool read_ahead) {
  const StationTable& st = cfg.stations;
  const bool steady = cfg.ssyr1 > 0;
  const int ntrans = cfg.tryr2 >= cfg.tryr1 ? cfg.tryr2 - cfg.tryr1 + 1 : 0;
  const std::vector<RunStep> steps = run_steps(cfg);
  ReadPlan plan = run_read_plan(cfg, steps);

  // A state group's missing data folder reads as zeros throughout: said
  // once, on standard error, so that standard output stays the run's.
  for (const std::string& w : missing_folder_warnings(cfg, plan)) {
    const std::string line = w + "\r\n";
    std::fwrite(line.data(), 1, line.size(), stderr);
  }

  // Kriging of station precipitation: one system and one set of cell weights
  // for the whole run.
  KrigeWeights weights;
  const KrigeWeights* wptr = nullptr;
  if (cfg.iprism == 0) {
    {
      const PlaceScope here([&st] { return station_system_place(st); });
      krigmatinv(X0, Y0, st.stnx.data(), st.stny.data(), krig, st.nstn, st.idrift);
    }
    if (steady) {
      for (int y = cfg.ssyr1; y <= cfg.ssyr2; ++y) st.require_year(y);
    }
    for (int y = cfg.tryr1; y <= cfg.tryr2; ++y) st.require_year(y);
    weights.compute(krig, st.stnx.data(), st.stny.data(), st.nstn, st.idrift, kriged_cells(cfg));
    wptr = &weights;
  }

  // The model files and their header lines, then the outputs the
  // parameter file adds. Those are all or nothing: written under temporary
  // names and put in place only when the run completes; on a stop `staged`
  // (which outlives them) removes what they wrote.
  // A stop without a closer place is placed at the period being made, or
  // before the first at the parameter file that names the outputs.
  const RunStep* at = nullptr;
  const PlaceScope here([&] {
    if (!at) return Diag{cfg.parfile, "", {}, ""};
    const std::string when = at->year < 0 ? std::string("steady period") : "year " + std::to_string(at->year);
    return Diag{at->type == RunStep::Type::Month ? when + ", month " + std::to_string(at->month) : when, "", {}, ""};
  });
  ModelFiles files;
  files.open(cfg);
  Staging staged;
  const std::vector<std::unique_ptr<RunOutput>> extra = make_outputs(cfg, staged);
  RunOutputs outputs{&files};
  for (const auto& o : extra) outputs.push_back(o.get());

  // Every grid of the run, allocated once.
  AnnualArrays ann;
  EvalWork ew;
  PeriodWork pw;
  ew.reader.set_binary(cfg.ibin);
  pw.reader.set_binary(cfg.ibin);
  std::unique_ptr<GridPrefetcher> prefetch;
  if (read_ahead) {
    if (!plan.empty() && read_ahead_safe(cfg, plan)) {
      try {
        prefetch = std::make_unique<GridPrefetcher>(std::move(plan), cfg.ibin);
        ew.reader.set_prefetch(prefetch.get());
        pw.reader.set_prefetch(prefetch.get());
      } catch (const std::system_error&) {
        // No second thread to be had: the run reads its files itself.
      }
    }
  }
  RealGrid curv = real_grid();
  RealGrid rpp = real_grid();
  RealGrid rch;

  // annrcp.csv and annrech.csv hold one column per transient year and are
  // written only when every transient year lies within 1990..2015.
  const bool rechtables =
      cfg.iannrech && ntrans > 0 && cfg.tryr1 >= RECH_FIRST && cfg.tryr2 <= RECH_LAST;
  std::vector<RealGrid> annrcp, annrech;
  if (rechtables) {
    annrcp.assign(ntrans, real_grid());
    annrech.assign(ntrans, real_grid());
  }

  Progress progress((steady ? 1 : 0) + 12 * ntrans);

  OutFile pumptable;
  for (const RunStep& step : steps) {
    at = &step;
    const int y = step.year;
    switch (step.type) {
      case RunStep::Type::SteadyYear:
        // The steady period: the mean recharge from precipitation of the window.
        if (y == cfg.ssyr1) {
          rch = real_grid();
          ann.clear();
        }
        check_interrupt();  // a kriged steady year reads no grid that would check
        evalcurve(cfg, wptr, ew, curv, 1, y, ann, rpp);
        for (int i = 0; i < NCELL; ++i) rch[i] += curv[i];
        break;
      case RunStep::Type::SteadyPeriod: {
        const double nyears = cfg.ssyr2 - cfg.ssyr1 + 1;
        for (int i = 0; i < NCELL; ++i) rch[i] = rch[i] / nyears;
        period(cfg, pw, outputs, rch, step.label, step.pstem, step.ystem, -1, step.seconds,
               cfg.ssmult, ann);
        const BudgetRow row = budget(cfg, "SS  ", rch, ann, rpp);
        console_flush();  // a budget row shows as soon as its period is done
        const YearResult result{cfg, -1, rch, rpp, ann, row};
        for (RunOutput* o : outputs) o->year(result);
        progress.step(0, 0);
        break;
      }
      case RunStep::Type::Year:
        ann.clear();
        evalcurve(cfg, wptr, ew, curv, 0, y, ann, rpp);
        if (cfg.iannpump) open_pump_table(pumptable, y);
        break;
      case RunStep::Type::Month:
        period(cfg, pw, outputs, curv, step.label, step.pstem, step.ystem, y, step.seconds,
               cfg.monmult[step.month - 1], ann);
        progress.step(y, step.month);
        if (step.month < 12) break;
        // The year is complete: its budget row and tables.
        {
          const BudgetRow row = budget(cfg, step.ystem, curv, ann, rpp);
          console_flush();
          if (cfg.iannpump) write_pump_table(pumptable, ann);
          if (rechtables) {
            // Recharge from precipitation plus the three irrigation returns,
            // acre-feet turned into inches over the cell.
            annrcp[y - cfg.tryr1] = curv;
            total_recharge(curv, ann, annrech[y - cfg.tryr1]);
          }
          const YearResult result{cfg, y, curv, rpp, ann, row};
          for (RunOutput* o : outputs) o->year(result);
        }
        break;
    }
  }

  at = nullptr;
  if (rechtables) write_recharge_tables(annrcp, annrech, cfg.tryr1, cfg.ibound);

  progress.finish();
  for (RunOutput* o : outputs) o->finish();
  // Only a completed run shows its added outputs and keeps what it appended
  // to the model files.
  staged.commit();
  files.commit();
  console_flush();
}

}  // namespace vadz
