#include "krige/krige.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "utl/console.h"
#include "utl/grid.h"

namespace vadz {
namespace {

// The fatal line a call stops with, or "" when it returns.
template <class F>
std::string fatal_of(F&& f) {
  try {
    f();
  } catch (const Fatal& e) {
    return e.line();
  }
  return "";
}

std::string line_of(const std::string& msg) { return " " + msg + "\r\n"; }

// Scattered points inside the grid from a small fixed generator.
struct Points {
  std::vector<double> x, y;
};
Points scatter(int n, uint32_t seed) {
  Points p;
  uint32_t s = seed;
  auto next = [&s] {
    s = s * 1664525u + 1013904223u;
    return (s >> 8) / 16777216.0;
  };
  for (int i = 0; i < n; ++i) {
    p.x.push_back(X0 + 1000.0 + next() * (NCOL * CELL - 2000.0));
    p.y.push_back(Y0 + 1000.0 + next() * (NROW * CELL - 2000.0));
  }
  return p;
}

double eval(const Krig& k, const Points& p, const std::vector<double>& v, double xp, double yp,
            int d) {
  return evalkrige(k, X0, Y0, p.x.data(), p.y.data(), v.data(), xp, yp,
                   static_cast<int>(p.x.size()), d);
}

TEST(Krige, TwoPointsLinearVariogramClosedForm) {
  // Distance h = 5000 between the points. Ordinary kriging with a linear
  // variogram: w1 = (h - d1 + d2) / (2h), w2 = 1 - w1.
  Points p{{X0 + 1000.0, X0 + 4000.0}, {Y0 + 2000.0, Y0 + 6000.0}};
  Krig k;
  krigmatinv(X0, Y0, p.x.data(), p.y.data(), k, 2, 0);
  const double h = 5000.0;
  std::vector<double> v{3.0, 7.0};
  struct Case {
    double xp, yp;
  } cases[] = {{X0 + 2500.0, Y0 + 4000.0},  // midpoint
               {X0 + 7000.0, Y0 + 10000.0}, // beyond point 2 on the line
               {X0 + 1000.0, Y0 + 6000.0},  // off the line
               {X0 - 5000.0, Y0 + 90000.0}};
  for (const Case& c : cases) {
    double d1 = std::hypot(c.xp - p.x[0], c.yp - p.y[0]);
    double d2 = std::hypot(c.xp - p.x[1], c.yp - p.y[1]);
    double w1 = (h - d1 + d2) / (2 * h);
    double expect = w1 * 3.0 + (1 - w1) * 7.0;
    EXPECT_NEAR(eval(k, p, v, c.xp, c.yp, 0), expect, 1e-12 * 7.0) << c.xp << " " << c.yp;
  }
  EXPECT_NEAR(eval(k, p, v, X0 + 2500.0, Y0 + 4000.0, 0), 5.0, 1e-13);
  EXPECT_NEAR(eval(k, p, v, X0 + 7000.0, Y0 + 10000.0, 0), 7.0, 1e-13);
}

TEST(Krige, ThreePointsLinearDriftInterpolatesThePlane) {
  // With drift order 1 and three points the weights are fixed by the drift
  // alone: the estimate is the plane through the three values.
  Points p{{X0 + 10000.0, X0 + 60000.0, X0 + 20000.0}, {Y0 + 5000.0, Y0 + 15000.0, Y0 + 80000.0}};
  auto plane = [](double x, double y) { return 2.0 + 3e-5 * (x - X0) - 1e-5 * (y - Y0); };
  std::vector<double> v;
  for (int i = 0; i < 3; ++i) v.push_back(plane(p.x[i], p.y[i]));
  Krig k;
  krigmatinv(X0, Y0, p.x.data(), p.y.data(), k, 3, 1);
  for (double xp : {X0, X0 + 30000.0, X0 + 900000.0})
    for (double yp : {Y0 + 40000.0, Y0 + 700000.0})
      EXPECT_NEAR(eval(k, p, v, xp, yp, 1), plane(xp, yp), 1e-9) << xp << " " << yp;
}

TEST(Krige, EveryDriftOrderReproducesPointsConstantsAndDrift) {
  for (int d = 0; d <= 3; ++d) {
    SCOPED_TRACE("drift " + std::to_string(d));
    const int n = 12;
    Points p = scatter(n, 7 + d);
    Krig k;
    krigmatinv(X0, Y0, p.x.data(), p.y.data(), k, n, d);
    std::vector<double> v(n), ones(n, 1.0), zero(n, 0.0), poly(n);
    // A polynomial of the drift space is reproduced everywhere.
    auto f = [d](double x, double y) {
      double ex = (x - X0) / 1e6, ey = (y - Y0) / 1e6, s = 5.0;
      if (d >= 1) s += 2.0 * ex - 1.0 * ey;
      if (d >= 2) s += 0.5 * ex * ex + 0.25 * ey * ey;
      if (d >= 3) s -= 0.125 * ex * ex * ex;
      return s;
    };
    for (int i = 0; i < n; ++i) {
      v[i] = 10.0 + std::sin(i * 1.7) * 4.0;
      poly[i] = f(p.x[i], p.y[i]);
    }
    for (int i = 0; i < n; ++i)
      EXPECT_NEAR(eval(k, p, v, p.x[i], p.y[i], d), v[i], 1e-8) << "point " << i;
    for (int c = 1; c <= NCOL; c += 65)
      for (int r = 1; r <= NROW; r += 41) {
        EXPECT_NEAR(eval(k, p, ones, xc(c), yc(r), d), 1.0, 1e-8);
        EXPECT_EQ(eval(k, p, zero, xc(c), yc(r), d), 0.0);
        EXPECT_NEAR(eval(k, p, poly, xc(c), yc(r), d), f(xc(c), yc(r)), 1e-7);
      }
  }
}

TEST(Krige, InverseTimesMatrixIsIdentity) {
  const int n = 20, d = 2, N = n + 1 + 2 * d;
  Points p = scatter(n, 99);
  Krig k;
  krigmatinv(X0, Y0, p.x.data(), p.y.data(), k, n, d);
  std::vector<double> a(N * N);
  krigmat(X0, Y0, p.x.data(), p.y.data(), a.data(), n, d);
  // Symmetric with the layout of the table: zero diagonal, ones, drift.
  EXPECT_EQ(a[0], 0.0);
  EXPECT_EQ(a[(n) * N + 0], 1.0);
  EXPECT_EQ(a[(n + 3) * N + 1], (p.x[1] - X0) * (p.x[1] - X0));
  EXPECT_EQ(a[(n + 4) * N + 1], (p.y[1] - Y0) * (p.y[1] - Y0));
  EXPECT_EQ(a[1 * N + 2], std::sqrt((p.x[2] - p.x[1]) * (p.x[2] - p.x[1]) +
                                    (p.y[2] - p.y[1]) * (p.y[2] - p.y[1])));
  EXPECT_EQ(a[(N - 1) * N + N - 1], 0.0);
  for (int i = 0; i < N; ++i)
    for (int j = 0; j < N; ++j) EXPECT_EQ(a[j * N + i], a[i * N + j]);
  // Row i of A times column j of the inverse.
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < n; ++j) {
      double s = 0;
      for (int m = 0; m < N; ++m) s += a[m * N + i] * k.kinv[j * N + m];
      EXPECT_NEAR(s, i == j ? 1.0 : 0.0, 1e-6);
    }
}

TEST(Ludcmp, EqualMeritsKeepTheUpperRowAndTheScaleMovesWithTheRow) {
  // Column 1 merits: 0, 1/2*2, 1/2*2. Row 2 wins (first strictly greater);
  // row 2 then holds old row 1 with old row 1's scale 1, so in column 2 its
  // merit 1 beats row 3's 1/2*1.5.
  double a[9] = {0, 2, 2, 1, 0, 1.5, 0, 1, 0};  // column by column
  int indx[3];
  double vv[3];
  ASSERT_EQ(ludcmp(a, 3, indx, vv), 1);
  EXPECT_EQ(indx[0], 2);
  EXPECT_EQ(indx[1], 2);
  EXPECT_EQ(indx[2], 3);
  const double lu[9] = {2, 0, 1, 0, 1, 1.5, 1, 0, -1};
  for (int e = 0; e < 9; ++e) EXPECT_EQ(a[e], lu[e]) << e;

  // A x = b with x = (1, 2, 3): b = (2, 5, 5).
  double b[3] = {2, 5, 5};
  lubksb(a, 3, indx, b);
  EXPECT_EQ(b[0], 1.0);
  EXPECT_EQ(b[1], 2.0);
  EXPECT_EQ(b[2], 3.0);
}

TEST(Ludcmp, ZeroRowAndZeroPivot) {
  double z[4] = {1, 0, 2, 0};  // row 2 entirely zero
  const double orig[4] = {1, 0, 2, 0};
  int indx[2];
  double vv[2];
  EXPECT_EQ(ludcmp(z, 2, indx, vv), 0);
  for (int e = 0; e < 4; ++e) EXPECT_EQ(z[e], orig[e]);

  // Singular without a zero row: the last pivot is exactly 0 and replaced.
  double s[4] = {1, 1, 1, 1};
  EXPECT_EQ(ludcmp(s, 2, indx, vv), 2);
  EXPECT_EQ(indx[0], 1);
  EXPECT_EQ(indx[1], 2);
  EXPECT_EQ(s[3], 9.999999682655225e-21);

  // All merits 0 in column 1 below a zero: pivot stays at row 1, replaced.
  double t[9] = {0, 0, 0, 1, 2, 3, 4, 5, 7};
  int ix3[3];
  double vv3[3];
  EXPECT_EQ(ludcmp(t, 3, ix3, vv3), 2);
  EXPECT_EQ(ix3[0], 1);
  EXPECT_EQ(t[0], 9.999999682655225e-21);
}

TEST(Krige, Failures) {
  Points two{{X0 + 100.0, X0 + 100.0}, {Y0 + 100.0, Y0 + 500.0}};
  Points rep{{X0 + 1.0, X0 + 5.0, X0 + 1.0}, {Y0 + 2.0, Y0 + 9.0, Y0 + 2.0}};
  Points one{{X0 + 1000.0}, {Y0 + 2000.0}};
  // On a line parallel to x: the y drift column is a multiple of the ones.
  Points line{{X0 + 1024.0, X0 + 2048.0, X0 + 4096.0}, {Y0 + 512.0, Y0 + 512.0, Y0 + 512.0}};
  Points onaxis{{X0 + 1024.0, X0 + 2048.0, X0 + 4096.0}, {Y0, Y0, Y0}};
  Points big = scatter(2100, 3);
  struct Case {
    const char* name;
    const Points* p;
    int n, d;
    const char* msg;
  } cases[] = {
      {"no points", &two, 0, 0, "Cannot invert kriging matrix"},
      {"no points, drift", &two, 0, 2, "Cannot invert kriging matrix"},
      {"repeated point", &rep, 3, 0, "Repeated point"},
      {"more drift terms than points", &one, 1, 1, "Cannot invert kriging matrix"},
      {"two points, drift 1", &two, 2, 1, "Cannot invert kriging matrix"},
      {"collinear, drift 1", &line, 3, 1, "Cannot invert kriging matrix"},
      {"on the x axis, drift 1", &onaxis, 3, 1, "Cannot invert kriging matrix"},
      {"N 2049", &big, 2048, 0, "Kriging matrix too large"},
      {"N 2049 by drift", &big, 2040, 4, "Kriging matrix too large"},
  };
  for (const Case& c : cases) {
    Krig k;
    EXPECT_EQ(fatal_of([&] { krigmatinv(X0, Y0, c.p->x.data(), c.p->y.data(), k, c.n, c.d); }),
              line_of(c.msg))
        << c.name;
  }
  // Two distinct points with drift 0 are fine.
  Krig k;
  EXPECT_EQ(fatal_of([&] { krigmatinv(X0, Y0, two.x.data(), two.y.data(), k, 2, 0); }), "");
}

TEST(Krige, EvaluationLimit) {
  Krig k;
  Points p = scatter(1100, 5);
  std::vector<double> v(1100, 1.0);
  EXPECT_EQ(fatal_of([&] { eval(k, p, v, X0, Y0, 0); }), line_of("N too large in EVALKRIGE"));
  Points q{std::vector<double>(p.x.begin(), p.x.begin() + 1022),
           std::vector<double>(p.y.begin(), p.y.begin() + 1022)};
  v.resize(1022);
  EXPECT_EQ(fatal_of([&] { eval(k, q, v, X0, Y0, 1); }), line_of("N too large in EVALKRIGE"));
}

TEST(Krige, LargestSystemOfTheStorage) {
  // 128 stations with drift order 3: N = 135.
  Points p = scatter(128, 11);
  Krig k;
  krigmatinv(X0, Y0, p.x.data(), p.y.data(), k, 128, 3);
  std::vector<double> v(128);
  for (int i = 0; i < 128; ++i) v[i] = 15.0 + std::cos(i * 0.37) * 6.0;
  for (int i = 0; i < 128; i += 9) EXPECT_NEAR(eval(k, p, v, p.x[i], p.y[i], 3), v[i], 1e-6);
}

TEST(KrigeWeights, BitIdenticalToEvalkrigeInEveryCell) {
  const int n = 128, d = 2;
  Points p = scatter(n, 2024);
  Krig k;
  krigmatinv(X0, Y0, p.x.data(), p.y.data(), k, n, d);
  std::vector<bool> all(NCELL, true);
  KrigeWeights w;
  w.compute(k, p.x.data(), p.y.data(), n, d, all);
  EXPECT_EQ(w.npoints(), n);
  std::vector<std::vector<double>> values(3, std::vector<double>(n));
  for (int i = 0; i < n; ++i) {
    values[0][i] = 12.0 + 8.0 * std::sin(i * 0.91);
    values[1][i] = 1e-3 * i * i - 3.0;
    values[2][i] = (i % 7 == 0) ? 40.0 : 0.0;
  }
  int mismatches = 0;
  // Several years at once: each vector's estimates as if alone.
  std::vector<RealGrid> many(3, real_grid());
  const double* vs[3] = {values[0].data(), values[1].data(), values[2].data()};
  RealGrid* outs[3] = {&many[0], &many[1], &many[2]};
  w.estimate_many(vs, 3, outs);
  for (int k = 0; k < 3; ++k)
    for (int i = 0; i < NCELL; ++i)
      if (many[k][i] != w.estimate(i, vs[k])) ++mismatches;
  RealGrid all_cells = real_grid();
  for (const auto& v : values) {
    const double* one[1] = {v.data()};
    RealGrid* into[1] = {&all_cells};
    w.estimate_many(one, 1, into);
    for (int r = 1; r <= NROW; ++r)
      for (int c = 1; c <= NCOL; ++c) {
        const double want = eval(k, p, v, xc(c), yc(r), d);
        if (w.estimate(cell(c, r), v.data()) != want) ++mismatches;
        if (all_cells[cell(c, r)] != want) ++mismatches;
      }
  }
  EXPECT_EQ(mismatches, 0);
}

TEST(KrigeWeights, OnlySelectedCellsAndWeightsSumToOne) {
  const int n = 9;
  Points p = scatter(n, 17);
  Krig k;
  krigmatinv(X0, Y0, p.x.data(), p.y.data(), k, n, 0);
  std::vector<bool> sel(NCELL, false);
  sel[cell(1, 1)] = sel[cell(326, 165)] = sel[cell(100, 50)] = true;
  KrigeWeights w;
  w.compute(k, p.x.data(), p.y.data(), n, 0, sel);
  std::vector<double> ones(n, 1.0), v(n);
  for (int i = 0; i < n; ++i) v[i] = i + 0.5;
  for (int c : {cell(1, 1), cell(326, 165), cell(100, 50)}) {
    EXPECT_NEAR(w.estimate(c, ones.data()), 1.0, 1e-12);
  }
  EXPECT_EQ(w.estimate(cell(100, 50), v.data()), eval(k, p, v, xc(100), yc(50), 0));
  EXPECT_TRUE(std::isnan(w.estimate(cell(2, 1), v.data())));
  // All cells at once: the selected ones only, the rest left as they were.
  RealGrid out = real_grid(-7.0);
  const double* one[1] = {v.data()};
  RealGrid* into[1] = {&out};
  w.estimate_many(one, 1, into);
  for (int c : {cell(1, 1), cell(326, 165), cell(100, 50)})
    EXPECT_EQ(out[c], w.estimate(c, v.data()));
  EXPECT_EQ(out[cell(2, 1)], -7.0);
}

}  // namespace
}  // namespace vadz
