#include "run/driver.h"

#include <algorithm>
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "engine/annual.h"
#include "engine/budget.h"
#include "engine/evalcurve.h"
#include "engine/period.h"
#include "run/progress.h"
#include "run/tables.h"
#include "utl/console.h"
#include "utl/format.h"
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

int month_seconds(int year, int m) {
  const int days = (m == 2 && year % 4 == 0) ? 29 : NDM[m - 1];
  return days * SECONDS_PER_DAY;
}

}  // namespace

void run_driver(const RunConfig& cfg, Krig& krig) {
  const StationTable& st = cfg.stations;
  const bool steady = cfg.ssyr1 > 0;
  const int ntrans = cfg.tryr2 >= cfg.tryr1 ? cfg.tryr2 - cfg.tryr1 + 1 : 0;

  // 1. Kriging of station precipitation: one system and one set of cell
  //    weights for the whole run.
  KrigeWeights weights;
  const KrigeWeights* wptr = nullptr;
  if (cfg.iprism == 0) {
    krigmatinv(X0, Y0, st.stnx.data(), st.stny.data(), krig, st.nstn, st.idrift);
    // A year without station data would be kriged as zero precipitation.
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

  // 2.-4. The model files and their header lines.
  const OutFile::Mode mode = cfg.iappend ? OutFile::Mode::Append : OutFile::Mode::Replace;
  ModelFiles files;
  const std::string welname(rtrim(cfg.welfile));
  if (welname.empty()) error("No well file specified");
  open_model_file(files.wel, welname, mode);
  char head[32];
  if (!cfg.iappend) {
    char* p = put_int(head, 10, MAXWEL);
    p = put_int(p, 10, cfg.iwelcb);
    files.wel.line(std::string_view(head, p - head).substr(0) );
    files.wel.write(" NOPRINT");
  }
  (void)0;
  if (cfg.nrch == 0) error("No recharge file(s) specified");
  for (int k = 0; k < cfg.nrch && k < 4; ++k) {
    open_model_file(files.rch[k], std::string(rtrim(cfg.rchfile[k])), mode);
    if (!cfg.iappend) {
      char* p = put_int(head, 10, 1);
      p = put_int(p, 10, cfg.irchcb);
      files.rch[k].line(std::string_view(head, p - head));
    }
  }
}

}  // namespace vadz
