#include "engine/evalcurve.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <utility>

#include "support/testutil.h"
#include "utl/console.h"

namespace vadz {
namespace {

using test::TempDir;
using Cells = std::map<std::pair<int, int>, double>;  // (c, r) -> value

using test::fatal_line;

// A run set up for PRISM precipitation and one soil whose curves are
// Fn(P) = P/10 and Fi(P) = 3P/10 tabulated every 0.1 inch from 0 to 100.
struct Year {
  TempDir tmp;
  RunConfig cfg;
  EvalWork w;
  AnnualArrays ann;
  RealGrid curv = real_grid(-1.0);
  RealGrid rpp = real_grid(-1.0);

  Year() {
    cfg.stdir = {tmp / "co", tmp / "ks", tmp / "ne"};
    cfg.iprism = 1;
    cfg.prismpath = tmp / "prism";
    cfg.curves.ncurv = 1001;
    for (int k = 1; k <= 1001; ++k) {
      cfg.curves.at(k, 1, 0) = (k - 1) / 10.0;
      cfg.curves.at(k, 2, 0) = (k - 1) / 10.0;
      cfg.curves.at(k, 1, 1) = (k - 1) / 100.0;
      cfg.curves.at(k, 2, 1) = 3 * (k - 1) / 100.0;
    }
    cfg.isoil = flag_grid(1);
    cfg.nsoil = 1;
  }
  void grid(const std::string& path, const Cells& v, double other = 0.0) {
    test::write_file(path, test::text_grid([&](int c, int r) {
      auto it = v.find({c, r});
      return it == v.end() ? other : it->second;
    }));
  }
  void run(int steady, int year = 1950) {
    evalcurve(cfg, nullptr, w, curv, steady, year, ann, rpp);
  }
  double at(const RealGrid& g, int c, int r) const { return g[cell(c, r)]; }
};

TEST(EvalCurve, TransientYearAreasAndRecharge) {
  Year y;
  y.cfg.stressf = {2.0, 1.0, 1.0, 2.0};
  y.cfg.ipump[1] = 0;  // KS pumps nothing
  y.cfg.gwmask[cell(3, 1)] = 1;
  y.cfg.mound[cell(4, 1)] = 1;
  y.cfg.mound[cell(5, 1)] = 1;
  y.cfg.trn[cell(6, 1)] = 0.5;
  y.cfg.isoil[cell(7, 1)] = 0;
  y.cfg.ibound[cell(8, 1)] = 0;
  y.grid(y.cfg.prismpath + "/1950.grd", {{{7, 1}, 37.5}, {{9, 1}, 20.05}, {{10, 1}, 0.0}}, 20.0);
  y.grid(y.cfg.stdir[0] + "/1950.agw", {{{2, 1}, 200.0}, {{3, 1}, 200.0}});
  y.grid(y.cfg.stdir[0] + "/1950.asw", {{{1, 1}, 320.0}, {{6, 1}, 700.0}, {{8, 1}, 100.0}});
  y.grid(y.cfg.stdir[0] + "/1950.aco", {{{2, 1}, 80.0}});
  test::write_file(y.cfg.stdir[1] + "/1950.agw", "not a grid\n");  // must not be opened
  y.grid(y.cfg.stdir[1] + "/1950.aco", {{{5, 1}, 100.0}});
  y.grid(y.cfg.stdir[2] + "/1950.asw", {{{3, 1}, 64.0}, {{4, 1}, 100.0}});
  y.run(0);

  // 320 acres: half the cell irrigated, D = 0.5 x 2, I = 6 x 0.5.
  EXPECT_EQ(y.w.firr[cell(1, 1)], 0.5);
  EXPECT_EQ(y.at(y.curv, 1, 1), 4.0);
  // Groundwater 2 x 200 plus commingled 80 of a pumping group: 480 acres.
  EXPECT_EQ(y.at(y.ann.gwarea[1], 2, 1), 400.0);
  EXPECT_EQ(y.at(y.ann.coarea[1], 2, 1), 80.0);
  EXPECT_EQ(y.at(y.curv, 2, 1), 5.0);
  // Masked cell: no groundwater-irrigated area, surface water still counts.
  EXPECT_EQ(y.at(y.ann.gwarea[1], 3, 1), 0.0);
  EXPECT_DOUBLE_EQ(y.at(y.curv, 3, 1), 2.4);
  // Mound cell: surface water doubled by stressf(4).
  EXPECT_EQ(y.at(y.ann.swarea[3], 4, 1), 200.0);
  EXPECT_EQ(y.at(y.curv, 4, 1), 3.25);
  // KS does not pump: its commingled land is treated like surface water.
  EXPECT_EQ(y.at(y.ann.coarea[2], 5, 1), 200.0);
  EXPECT_EQ(y.at(y.curv, 5, 1), 3.25);
  // 700 acres: fully irrigated, terrain 0.5.
  EXPECT_EQ(y.w.firr[cell(6, 1)], 1.0);
  EXPECT_EQ(y.at(y.curv, 6, 1), 3.0);
  // Soil 0: recharge equals precipitation, on a table point.
  EXPECT_EQ(y.at(y.curv, 7, 1), 37.5);
  // Inactive: no recharge, no fraction, but its area is counted and the
  // precipitation grid keeps the file's value.
  EXPECT_EQ(y.at(y.curv, 8, 1), 0.0);
  EXPECT_EQ(y.w.firr[cell(8, 1)], 0.0);
  EXPECT_EQ(y.at(y.ann.swarea[1], 8, 1), 100.0);
  EXPECT_EQ(y.at(y.rpp, 8, 1), 20.0);
  // Between table points: interpolated.
  EXPECT_NEAR(y.at(y.curv, 9, 1), 2.005, 1e-12);
  EXPECT_EQ(y.at(y.curv, 10, 1), 0.0);
  EXPECT_EQ(y.at(y.curv, 326, 165), 2.0);
  EXPECT_EQ(y.at(y.ann.gwarea[2], 5, 1), 0.0);
  EXPECT_EQ(y.at(y.ann.gwarea[0], 2, 1), 0.0);  // slot 0 is not formed here
}

TEST(EvalCurve, OptmoundAddsCommingledLandInFull) {
  Year y;
  y.cfg.stressf = {1.0, 1.0, 1.0, 2.0};
  y.cfg.ipump[1] = 0;
  y.cfg.ioptmound = 1;
  y.cfg.mound[cell(5, 1)] = 1;
  y.grid(y.cfg.prismpath + "/1950.grd", {}, 20.0);
  y.grid(y.cfg.stdir[1] + "/1950.aco", {{{5, 1}, 100.0}});
  y.run(0);
  EXPECT_EQ(y.at(y.ann.coarea[2], 5, 1), 100.0);
  EXPECT_EQ(y.at(y.curv, 5, 1), 2.625);
}

TEST(EvalCurve, SteadyYearReadsNoAreasAndWritesNoFiles) {
  Year y;
  for (const std::string& d : y.cfg.stdir) {
    for (const char* t : {"agw", "asw", "aco"}) test::write_file(d + "/1950." + t, "garbage\n");
  }
  y.cfg.nfile = 3;
  y.cfg.filedir = y.tmp / "out";
  y.cfg.fileext = {"rpp", "irr", "rcp"};
  test::write_file(y.cfg.filedir + "/keep", "");
  y.cfg.trn[cell(2, 2)] = 3.0;
  y.grid(y.cfg.prismpath + "/1950.grd", {}, 20.0);
  y.run(1);
  EXPECT_EQ(y.at(y.curv, 1, 1), 2.0);
  EXPECT_EQ(y.at(y.curv, 2, 2), 6.0);
  EXPECT_FALSE(test::exists(y.cfg.filedir + "/1950.rpp"));
  EXPECT_FALSE(test::exists(y.cfg.filedir + "/1950.rcp"));
}

TEST(EvalCurve, YearGridFiles) {
  for (int ibin : {0, 1}) {
    Year y;
    y.cfg.ibin = ibin;
    y.cfg.nfile = 3;
    y.cfg.filedir = y.tmp / "out";
    y.cfg.fileext = {"rpp", "irr", "rcp"};
    test::write_file(y.cfg.filedir + "/keep", "");
    // The PRISM grid is read in the run's file form as well.
    RealGrid p = real_grid(20.0);
    p[cell(3, 3)] = 30.0;
    if (ibin) {
      std::string s("\xF0\x90\x06\x00", 4);
      s.append(reinterpret_cast<const char*>(p.data()), p.size() * 8);
      s.append("\xF0\x90\x06\x00", 4);
      test::write_file(y.cfg.prismpath + "/1950.grd", s);
    } else {
      y.grid(y.cfg.prismpath + "/1950.grd", {{{3, 3}, 30.0}}, 20.0);
    }
    y.run(0);
    // No irrigation at all: the acres grid is all zero and not written.
    EXPECT_FALSE(test::exists(y.cfg.filedir + "/1950.irr"));
    GridReader r(ibin);
    RealGrid back = real_grid();
    r.readfile(back, y.cfg.filedir, "1950", "rpp", 1);
    EXPECT_EQ(back, p);
    r.readfile(back, y.cfg.filedir, "1950", "rcp", 1);
    EXPECT_EQ(back, y.curv);
    EXPECT_EQ(back[cell(3, 3)], 3.0);

    // With irrigation the acres grid is firr x 640.
    y.grid(y.cfg.stdir[0] + "/1951.asw", {{{1, 1}, 320.0}, {{2, 1}, 1000.0}});
    y.grid(y.cfg.prismpath + "/1951.grd", {}, 20.0);
    if (ibin) {
      y.cfg.ibin = 0;  // text PRISM file for this year, text outputs
    }
    y.run(0, 1951);
    GridReader t(0);
    t.readfile(back, y.cfg.filedir, "1951", "irr", 1);
    EXPECT_EQ(back[cell(1, 1)], 320.0);
    EXPECT_EQ(back[cell(2, 1)], 640.0);
  }
}

TEST(EvalCurve, Failures) {
  Year y;
  // Negative precipitation in an inactive cell is not looked at.
  y.cfg.ibound[cell(1, 1)] = 0;
  y.grid(y.cfg.prismpath + "/1950.grd", {{{1, 1}, -7.0}, {{3, 2}, -1.5}}, 20.0);
  EXPECT_EQ(fatal_line([&] { y.run(0); }),
            " Negative PPT   -1.5000000000000000     \r\n");
  EXPECT_EQ(fatal_line([&] { y.run(0, 1951); }),
            " File does not exist " + y.cfg.prismpath + "/1951.grd\r\n");
  // Above the last tabulated precipitation (100 inches).
  y.grid(y.cfg.prismpath + "/1952.grd", {{{5, 5}, 100.5}}, 20.0);
  EXPECT_EQ(fatal_line([&] { y.run(1, 1952); }),
            " Value out of range in BINFIND    100.50000000000000     \r\n");
}

TEST(EvalCurve, KrigedPrecipitationFromOneStation) {
  Year y;
  y.cfg.iprism = 0;
  y.cfg.ibound[cell(4, 4)] = 0;
  StationTable& st = y.cfg.stations;
  st.nstn = 1;
  st.stnx[0] = 500000.0;
  st.stny[0] = 14300000.0;
  st.pstn[MAXSTN * (1950 - FIRST_YEAR)] = 25.0;
  st.hasyear[1950 - FIRST_YEAR] = true;
  Krig k;
  krigmatinv(X0, Y0, st.stnx.data(), st.stny.data(), k, 1, 0);
  std::vector<bool> active(NCELL);
  for (int i = 0; i < NCELL; ++i) active[i] = y.cfg.ibound[i] > 0;
  KrigeWeights wts;
  wts.compute(k, st.stnx.data(), st.stny.data(), 1, 0, active);
  evalcurve(y.cfg, &wts, y.w, y.curv, 1, 1950, y.ann, y.rpp);
  EXPECT_NEAR(y.at(y.rpp, 1, 1), 25.0, 1e-9);
  EXPECT_NEAR(y.at(y.rpp, 326, 165), 25.0, 1e-9);
  EXPECT_NEAR(y.at(y.curv, 100, 100), 2.5, 1e-9);
  EXPECT_EQ(y.at(y.rpp, 4, 4), 0.0);
  EXPECT_EQ(y.at(y.curv, 4, 4), 0.0);
}

}  // namespace
}  // namespace vadz
