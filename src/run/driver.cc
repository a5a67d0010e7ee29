#include "run/driver.h"

#include <array>
#include <filesystem>
#include <memory>
#include <system_error>
#include <string>
#include <string_view>
#include <vector>

#include "engine/annual.h"
#include "engine/budget.h"
#include "engine/evalcurve.h"
#include "engine/period.h"
#include "run/progress.h"
#include "run/readahead.h"
#include "run/tables.h"
#include "utl/console.h"
#include "utl/format.h"
#include "utl/interrupt.h"
#include "utl/scan.h"

namespace vadz {

namespace {

constexpr int SECONDS_PER_DAY = 86400;
constexpr int STEADY_SECONDS = 31557600;  // 365.25 days
constexpr std::array<int, 12> NDM{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
// Acre-feet spread over a 640-acre cell, in inches (12/640).
constexpr double AF_TO_INCHES = 0.01875;
// Years kept for annrcp.csv and annrech.csv.
constexpr int RECH_FIRST = 1990;
constexpr int RECH_LAST = 2015;

// Opens a model file in the run's access mode; fatal when it cannot be opened.
void open_model_file(OutFile& f, const std::string& name, OutFile::Mode mode) {
  if (!f.open(name, mode)) error("Cannot open file " + name);
}

// True when path names a regular file already opened as one of the run's
// model files. Two streams on one file would overwrite each other's records,
// so such a file cannot be opened a second time (a device such as /dev/null
// can take both).
bool already_open(const std::string& path, const std::vector<std::string>& opened) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) return false;
  for (const std::string& other : opened)
    if (std::filesystem::equivalent(path, other, ec)) return true;
  return false;
}

// February has 29 days in every year divisible by 4, 2100 included.
int month_seconds(int year, int m) {
  const int days = (m == 2 && year % 4 == 0) ? 29 : NDM[m - 1];
  return days * SECONDS_PER_DAY;
}

}  // namespace

void run_driver(const RunConfig& cfg, Krig& krig, bool read_ahead) {
  const StationTable& st = cfg.stations;
  const bool steady = cfg.ssyr1 > 0;
  const int ntrans = cfg.tryr2 >= cfg.tryr1 ? cfg.tryr2 - cfg.tryr1 + 1 : 0;

  // Kriging of station precipitation: one system and one set of cell weights
  // for the whole run.
  KrigeWeights weights;
  const KrigeWeights* wptr = nullptr;
  if (cfg.iprism == 0) {
    krigmatinv(X0, Y0, st.stnx.data(), st.stny.data(), krig, st.nstn, st.idrift);
    // A year without a data line would be kriged as zero precipitation.
    if (steady) {
      for (int y = cfg.ssyr1; y <= cfg.ssyr2; ++y)
        if (!st.has_year(y)) errorint("No precip data for year", y);
    }
    for (int y = cfg.tryr1; y <= cfg.tryr2; ++y)
      if (!st.has_year(y)) errorint("No precip data for year", y);
    std::vector<bool> active(NCELL);
    for (int i = 0; i < NCELL; ++i) active[i] = cfg.ibound[i] > 0;
    weights.compute(krig, st.stnx.data(), st.stny.data(), st.nstn, st.idrift, active);
    wptr = &weights;
  }

  // The model files and their header lines.
  const OutFile::Mode mode = cfg.iappend ? OutFile::Mode::Append : OutFile::Mode::Replace;
  ModelFiles files;
  const std::string welname(rtrim(cfg.welfile));
  if (welname.empty()) error("No well file specified");
  open_model_file(files.wel, welname, mode);
  char head[32];
  if (!cfg.iappend) {
    char* p = put_int(head, 10, MAXWEL);
    p = put_int(p, 10, cfg.iwelcb);
    files.wel.line(std::string(head, p - head) + " NOPRINT");
  }
  if (cfg.nrch == 0) error("No recharge file(s) specified");
  const int nrch = cfg.nrch < 4 ? cfg.nrch : 4;
  std::vector<std::string> opened{welname};
  for (int k = 0; k < nrch; ++k) {
    const std::string name(rtrim(cfg.rchfile[k]));
    if (already_open(name, opened)) error("Cannot open file " + name);
    open_model_file(files.rch[k], name, mode);
    opened.push_back(name);
    if (!cfg.iappend) {
      char* p = put_int(head, 10, 1);
      p = put_int(p, 10, cfg.irchcb);
      files.rch[k].line(std::string_view(head, p - head));
    }
  }

  // Every grid of the run, allocated once.
  AnnualArrays ann;
  EvalWork ew;
  PeriodWork pw;
  ew.reader.set_binary(cfg.ibin);
  pw.reader.set_binary(cfg.ibin);
  std::unique_ptr<GridPrefetcher> prefetch;
  if (read_ahead) {
    ReadPlan plan = run_read_plan(cfg);
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

  // The steady period: the mean recharge from precipitation of the window.
  if (steady) {
    rch = real_grid();
    ann.clear();
    for (int y = cfg.ssyr1; y <= cfg.ssyr2; ++y) {
      check_interrupt();  // a kriged steady year reads no grid that would check
      evalcurve(cfg, wptr, ew, curv, 1, y, ann, rpp);
      for (int i = 0; i < NCELL; ++i) rch[i] += curv[i];
    }
    const double nyears = cfg.ssyr2 - cfg.ssyr1 + 1;
    for (int i = 0; i < NCELL; ++i) rch[i] = rch[i] / nyears;
    period(cfg, pw, files, rch, "Steady ", "steady", "steady", -1, STEADY_SECONDS, cfg.ssmult,
           ann);
    budget(cfg, "SS  ", rch, ann, rpp);
    console_flush();  // a budget row shows as soon as its period is done
    progress.step(0, 0);
  }

  // The transient years, twelve monthly periods each.
  OutFile pumptable;
  for (int y = cfg.tryr1; y <= cfg.tryr2; ++y) {
    ann.clear();
    evalcurve(cfg, wptr, ew, curv, 0, y, ann, rpp);
    char ystem[4];
    put_int(ystem, 4, y);
    const std::string_view ys(ystem, 4);
    if (cfg.iannpump) open_pump_table(pumptable, y);
    for (int m = 1; m <= 12; ++m) {
      char label[7], pstem[7];
      put_int(label, 2, m);
      label[2] = '/';
      put_int(label + 3, 4, y);
      put_fixed(pstem, 7, 2, y + m / 100.0);
      period(cfg, pw, files, curv, std::string_view(label, 7), std::string_view(pstem, 7), ys, y,
             month_seconds(y, m), cfg.monmult[m - 1], ann);
      progress.step(y, m);
    }
    budget(cfg, ys, curv, ann, rpp);
    console_flush();
    if (cfg.iannpump) write_pump_table(pumptable, ann);
    if (rechtables) {
      // Recharge from precipitation plus the three irrigation returns,
      // acre-feet turned into inches over the cell.
      RealGrid& rcp = annrcp[y - cfg.tryr1];
      RealGrid& rech = annrech[y - cfg.tryr1];
      const RealGrid& rcg = ann.annrcg[0];
      const RealGrid& rcs = ann.annrcs[0];
      const RealGrid& rcc = ann.annrcc[0];
      for (int i = 0; i < NCELL; ++i) {
        rcp[i] = curv[i];
        rech[i] = curv[i] + AF_TO_INCHES * ((rcg[i] + rcs[i]) + rcc[i]);
      }
    }
  }

  if (rechtables) write_recharge_tables(annrcp, annrech, cfg.tryr1, cfg.ibound);

  progress.finish();
  files.wel.close();
  for (int k = 0; k < nrch; ++k) files.rch[k].close();
  // Only a completed run keeps what it appended to the model files.
  files.wel.commit();
  for (OutFile& f : files.rch) f.commit();
  console_flush();
}

}  // namespace vadz
