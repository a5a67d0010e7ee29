// Times the engine's two hot routines on full-size inputs: one year's
// evalcurve (nine area grids and a precipitation grid read) and one stress
// period (fifteen per-group grids read, four recharge arrays and a well
// block written); then the period's two writers alone, the model files
// (text arrays) and the MODFLOW 6 files (binary arrays). Run by hand:
// bench_engine [bin] [repeats].
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/evalcurve.h"
#include "engine/mf6files.h"
#include "engine/period.h"
#include "engine/storemonth.h"
#include "utl/console.h"

using namespace vadz;

namespace {

// Reproducible values spread over many digits, like real area and volume grids.
double value(unsigned& seed, double scale) {
  seed = seed * 1664525u + 1013904223u;
  return scale * ((seed >> 8) / 16777216.0) + 1e-3;
}

RealGrid random_grid(unsigned seed, double scale, int every) {
  RealGrid g = real_grid(0.0);
  for (int i = 0; i < NCELL; ++i) {
    const double v = value(seed, scale);
    if (i % every == 0) g[i] = v;
  }
  return g;
}

template <class F>
double median_ms(int n, F f) {
  std::vector<double> t;
  for (int i = 0; i < n; ++i) {
    auto a = std::chrono::steady_clock::now();
    f();
    auto b = std::chrono::steady_clock::now();
    t.push_back(std::chrono::duration<double, std::milli>(b - a).count());
  }
  std::sort(t.begin(), t.end());
  return t[t.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  const int ibin = argc > 1 && std::string(argv[1]) == "bin" ? 1 : 0;
  const int repeats = argc > 2 ? std::max(1, std::atoi(argv[2])) : 7;
  namespace fs = std::filesystem;
  const fs::path root = fs::temp_directory_path() /
      ("vadz_bench_" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));

  try {
    RunConfig cfg;
    cfg.ibin = ibin;
    cfg.nrch = 4;
    cfg.iprism = 1;
    cfg.prismpath = (root / "prism").string();
    for (int s = 0; s < 3; ++s) cfg.stdir[s] = (root / cfg.stdir[s]).string();
    for (const std::string& d : cfg.stdir) fs::create_directories(d);
    fs::create_directories(cfg.prismpath);
    cfg.stressf = {1.1, 0.9, 1.0, 1.2};
    for (int i = 0; i < NCELL; ++i) {
      cfg.isoil[i] = 1 + i % 3;
      cfg.mound[i] = i % 7 == 0;
      cfg.gwmask[i] = i % 11 == 0;
    }
    cfg.nsoil = 3;
    cfg.curves.ncurv = MAXCURV;
    for (int k = 1; k <= MAXCURV; ++k) {
      const double x = (k - 1) / 10.0;
      cfg.curves.at(k, 1, 0) = x;
      cfg.curves.at(k, 2, 0) = x;
      for (int s = 1; s <= 3; ++s) {
        cfg.curves.at(k, 1, s) = 0.02 * s * x;
        cfg.curves.at(k, 2, s) = 0.05 * s * x;
      }
    }

    // Input grids in the run's own file form, written by the grid writer.
    unsigned seed = 7;
    storemonth(random_grid(seed++, 30.0, 1), 1.0, 1950, -1, cfg.prismpath, "grd", ibin);
    for (int s = 0; s < 3; ++s) {
      for (const char* t : {"agw", "asw", "aco"}) {
        storemonth(random_grid(seed++, 200.0, 1), 1.0, 1950, -1, cfg.stdir[s], t, ibin);
      }
      // Pumping in every fourth cell: 13,448 wells, under the limit.
      storemonth(random_grid(seed++, 500.0, 4), 1.0, 1950, -1, cfg.stdir[s], "mi", ibin);
      storemonth(random_grid(seed++, 50.0, 4), 1.0, 1950, 1, cfg.stdir[s], "pmp", ibin);
      for (const char* t : {"rcg", "rcs", "rcc"}) {
        storemonth(random_grid(seed++, 5.0, 1), 1.0, 1950, 1, cfg.stdir[s], t, ibin);
      }
    }

    EvalWork w;
    AnnualArrays ann;
    RealGrid curv = real_grid();
    RealGrid rpp = real_grid();
    PeriodWork pw;
    ModelFiles files;
    files.wel.open((root / "wel").string());
    for (int j = 0; j < 4; ++j) files.rch[j].open((root / ("rch" + std::to_string(j + 1))).string());

    const double te = median_ms(repeats, [&] { evalcurve(cfg, nullptr, w, curv, 0, 1950, ann, rpp); });
    // January: the year's "mi" grids are read too, fifteen files in all.
    const double tp = median_ms(repeats, [&] {
      for (std::string& m : pw.mikeys) m.clear();
      period(cfg, pw, {&files}, curv, " 1/1950", "1950.01", "1950", 1950, 2678400, 0.1, ann);
    });
    // A later month of the same year: the "mi" grids are reused.
    const double tq = median_ms(repeats, [&] {
      period(cfg, pw, {&files}, curv, " 1/1950", "1950.01", "1950", 1950, 2678400, 0.1, ann);
    });

    // The writers alone on that period's stresses, with its wells and with
    // none (the four recharge arrays only).
    cfg.mf6dir = (root / "mf6").string();
    cfg.tryr1 = 1950;
    cfg.tryr2 = 1950 + 2 * repeats / 12 + 1;  // enough periods for every call
    Staging staged;
    Mf6Files mf6(cfg, staged);
    const RealGrid nopump = real_grid();
    const PeriodResult with_wells{cfg, " 1/1950", 1950, 2678400, pw.rech, pw.pump, ann};
    const PeriodResult arrays_only{cfg, " 1/1950", 1950, 2678400, pw.rech, nopump, ann};
    const double tw = median_ms(repeats, [&] { files.period(with_wells); });
    const double tr = median_ms(repeats, [&] { files.period(arrays_only); });
    const double t6w = median_ms(repeats, [&] { mf6.period(with_wells); });
    const double t6r = median_ms(repeats, [&] { mf6.period(arrays_only); });
    mf6.finish();
    staged.commit();
    files.wel.close();
    for (OutFile& f : files.rch) f.close();

    std::printf("grid files: %s, median of %d runs\n", ibin ? "binary" : "text", repeats);
    std::printf("evalcurve, transient year (10 grids read):           %8.1f ms\n", te);
    std::printf("period, 15 grids read, 4 recharge files + wells:      %8.1f ms\n", tp);
    std::printf("period, 12 grids read (mi reused), same output:        %8.1f ms\n", tq);
    std::printf("model files alone, 4 text arrays + wells:             %8.1f ms\n", tw);
    std::printf("model files alone, 4 text arrays:                     %8.1f ms\n", tr);
    std::printf("MODFLOW 6 files alone, 4 binary arrays + wells:       %8.1f ms\n", t6w);
    std::printf("MODFLOW 6 files alone, 4 binary arrays:               %8.1f ms\n", t6r);
    std::printf("recharge file size per period: %ju bytes\n",
                static_cast<uintmax_t>(fs::file_size(root / "rch1") / (4 * repeats)));
  } catch (const Fatal& e) {
    std::fputs(e.line().c_str(), stdout);
    fs::remove_all(root);
    return 1;
  }
  fs::remove_all(root);
  return 0;
}
