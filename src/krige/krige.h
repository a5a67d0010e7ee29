// Universal kriging with a linear variogram and a polynomial drift
// (1, x^k, y^k for k = 1..d, no mixed terms) about the grid origin.
#pragma once
#include <vector>

#include "utl/grid.h"

namespace vadz {

inline constexpr int MAXKRIG = 135;  // 128 points with drift order 3

// The one kriging system held at a time. Matrices are stored column by
// column with leading dimension N = n + 1 + 2d: element (i, j), 1-based, at
// (j-1)*N + (i-1).
struct Krig {
  std::vector<double> kmat = std::vector<double>(MAXKRIG * MAXKRIG, 0.0);
  std::vector<double> kinv = std::vector<double>(MAXKRIG * MAXKRIG, 0.0);
};

void krigmat(double x0, double y0, const double* x, const double* y, double* a, int n, int d);
// Returns 1 when factored, 0 when a row is entirely zero, 2 when factored
// with an exactly zero pivot replaced (a singular matrix). indx gets the
// 1-based pivot rows.
int ludcmp(double* a, int N, int* indx, double* vv);
void lubksb(const double* a, int N, const int* indx, double* b);
// Builds, factors and inverts the system of n points; fatal on failure.
void krigmatinv(double x0, double y0, const double* x, const double* y, Krig& k, int n, int d);
// The estimate at (xp, yp) from point values v.
double evalkrige(const Krig& k, double x0, double y0, const double* x, const double* y,
                 const double* v, double xp, double yp, int n, int d);

// The kriging weights of every selected cell, computed once per system: the
// weight of point j at a cell is sum over k ascending of kinv(k, j) * b(k),
// so an estimate is one dot product, bit-identical to evalkrige.
class KrigeWeights {
 public:
  // Weights at the centres of cells with select[cell] true (grid origin).
  void compute(const Krig& k, const double* x, const double* y, int n, int d,
               const std::vector<bool>& select);
  // Sum over points j ascending of v[j] * w(cell, j), starting from 0;
  // NaN for a cell that was not selected.
  double estimate(int cellindex, const double* v) const;
  // estimate() of every selected cell for up to 8 value vectors at once:
  // out[k][cell] receives the estimate from v[k]; other cells are untouched.
  // The weights of a cell are read once for all vectors (the weights of a
  // run far exceed the caches), each estimate its own running sum.
  void estimate_many(const double* const* v, int nv, RealGrid* const* out) const;
  int npoints() const { return n_; }

 private:
  int n_ = 0;
  std::vector<int> slot_;      // cell -> row of w_, -1 when not selected
  std::vector<int> cells_;     // row of w_ -> cell, ascending
  std::vector<double> w_;      // n_ weights per selected cell
};

}  // namespace vadz
