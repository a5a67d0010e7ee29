#include "krige/krige.h"

#include <cmath>
#include <cstddef>
#include <system_error>
#include <thread>

#include "utl/console.h"
#include "utl/interrupt.h"

namespace vadz {

namespace {

// Largest system a preparation accepts, and the room of the local
// right-hand side of an estimate.
constexpr int MAXPREP = 2048;
constexpr int MAXEVAL = 1024;

// A zero pivot is replaced by the single-precision value of 1e-20.
constexpr double TINY = 9.999999682655225e-21;

// Column-major element (i, j), 1-based, leading dimension N.
inline double& at(double* a, int N, int i, int j) {
  return a[static_cast<size_t>(j - 1) * N + (i - 1)];
}
inline double at(const double* a, int N, int i, int j) {
  return a[static_cast<size_t>(j - 1) * N + (i - 1)];
}

// Right-hand side of the point (xp, yp) into b[0..N-1]: distances to the
// points, 1, then the drift powers (repeated multiplication, x and y paired).
void rhs(double x0, double y0, const double* x, const double* y, double xp, double yp, int n,
         int d, double* b) {
  for (int i = 0; i < n; ++i) {
    double dx = xp - x[i];
    double dy = yp - y[i];
    b[i] = std::sqrt(dx * dx + dy * dy);
  }
  b[n] = 1.0;
  double ex = xp - x0, ey = yp - y0;
  double px = ex, py = ey;
  for (int k = 1; k <= d; ++k) {
    if (k > 1) {
      px = px * ex;
      py = py * ey;
    }
    b[n + 2 * k - 1] = px;
    b[n + 2 * k] = py;
  }
}

// Weight of point j (1-based) from column j of the inverse: running sum
// over k ascending from 0, the order every estimate depends on.
inline double weight(const double* kinv, int N, int j, const double* b) {
  const double* col = kinv + static_cast<size_t>(j - 1) * N;
  double w = 0.0;
  for (int k = 0; k < N; ++k) w = w + col[k] * b[k];
  return w;
}

}  // namespace

void krigmat(double x0, double y0, const double* x, const double* y, double* a, int n, int d) {
  const int N = n + 1 + 2 * d;
  for (int i = 1; i <= n; ++i) {
    at(a, N, i, i) = 0.0;
    at(a, N, n + 1, i) = 1.0;
    at(a, N, i, n + 1) = 1.0;
    for (int j = 1; j <= i - 1; ++j) {
      double dx = x[i - 1] - x[j - 1];
      double dy = y[i - 1] - y[j - 1];
      double dist = std::sqrt(dx * dx + dy * dy);
      if (dist == 0.0) error("Repeated point");
      at(a, N, i, j) = dist;
      at(a, N, j, i) = dist;
    }
  }
  for (int i = 1; i <= n; ++i) {
    double ex = x[i - 1] - x0, ey = y[i - 1] - y0;
    double px = ex, py = ey;
    for (int k = 1; k <= d; ++k) {
      if (k > 1) {
        px = px * ex;
        py = py * ey;
      }
      at(a, N, i, n + 2 * k) = px;
      at(a, N, n + 2 * k, i) = px;
      at(a, N, i, n + 2 * k + 1) = py;
      at(a, N, n + 2 * k + 1, i) = py;
    }
  }
  for (int j = n + 1; j <= N; ++j)
    for (int i = n + 1; i <= N; ++i) at(a, N, i, j) = 0.0;
}

int ludcmp(double* a, int N, int* indx, double* vv) {
  for (int i = 1; i <= N; ++i) {
    double big = 0.0;
    for (int j = 1; j <= N; ++j) {
      double t = std::fabs(at(a, N, i, j));
      if (t > big) big = t;
    }
    if (big == 0.0) return 0;
    vv[i - 1] = 1.0 / big;
  }
  int status = 1;
  for (int j = 1; j <= N; ++j) {
    for (int i = 1; i <= j - 1; ++i) {
      double sum = at(a, N, i, j);
      for (int k = 1; k <= i - 1; ++k) sum = sum - at(a, N, i, k) * at(a, N, k, j);
      at(a, N, i, j) = sum;
    }
    double big = 0.0;
    int imax = j;
    for (int i = j; i <= N; ++i) {
      double sum = at(a, N, i, j);
      for (int k = 1; k <= j - 1; ++k) sum = sum - at(a, N, i, k) * at(a, N, k, j);
      at(a, N, i, j) = sum;
      double merit = vv[i - 1] * std::fabs(sum);
      if (merit > big) {
        big = merit;
        imax = i;
      }
    }
    if (imax != j) {
      for (int k = 1; k <= N; ++k) {
        double t = at(a, N, imax, k);
        at(a, N, imax, k) = at(a, N, j, k);
        at(a, N, j, k) = t;
      }
      vv[imax - 1] = vv[j - 1];
    }
    indx[j - 1] = imax;
    if (j < N) {
      if (at(a, N, j, j) == 0.0) {
        at(a, N, j, j) = TINY;
        status = 2;
      }
      double r = 1.0 / at(a, N, j, j);
      for (int i = j + 1; i <= N; ++i) at(a, N, i, j) = at(a, N, i, j) * r;
    }
  }
  if (at(a, N, N, N) == 0.0) {
    at(a, N, N, N) = TINY;
    status = 2;
  }
  return status;
}

void lubksb(const double* a, int N, const int* indx, double* b) {
  int f = 0;
  for (int i = 1; i <= N; ++i) {
    int p = indx[i - 1];
    double t = b[p - 1];
    b[p - 1] = b[i - 1];
    if (f != 0) {
      for (int j = f; j <= i - 1; ++j) t = t - at(a, N, i, j) * b[j - 1];
    } else if (t != 0.0) {
      f = i;
    }
    b[i - 1] = t;
  }
  for (int i = N; i >= 1; --i) {
    double s = b[i - 1];
    for (int j = i + 1; j <= N; ++j) s = s - at(a, N, i, j) * b[j - 1];
    b[i - 1] = s / at(a, N, i, i);
  }
}

void krigmatinv(double x0, double y0, const double* x, const double* y, Krig& k, int n, int d) {
  if (n < 0 || d < 0) error("Cannot invert kriging matrix");
  const int N = n + 2 * d + 1;
  if (N > MAXPREP) error("Kriging matrix too large");
  // The storage holds 135 x 135 for the callers' limits; a larger system
  // (possible only outside them) grows it once here rather than overrun it.
  const size_t need = static_cast<size_t>(N) * N;
  if (k.kmat.size() < need) k.kmat.resize(need, 0.0);
  if (k.kinv.size() < need) k.kinv.resize(need, 0.0);
  double* a = k.kmat.data();
  double* inv = k.kinv.data();

  krigmat(x0, y0, x, y, a, n, d);
  int indx[MAXPREP];
  // The scale factors live in the inverse's storage until the solves.
  // A zero pivot (status 2) means a singular system: its weights would be
  // meaningless, so it is refused like an all-zero row.
  if (ludcmp(a, N, indx, inv) != 1) error("Cannot invert kriging matrix");
  for (int i = 1; i <= N; ++i) {
    double* col = inv + static_cast<size_t>(i - 1) * N;
    for (int r = 0; r < N; ++r) col[r] = 0.0;
    col[i - 1] = 1.0;
    lubksb(a, N, indx, col);
  }
  // Overflowing coordinates leave infinities or NaN in the inverse.
  for (size_t e = 0; e < need; ++e)
    if (!std::isfinite(inv[e])) error("Cannot invert kriging matrix");
}

double evalkrige(const Krig& k, double x0, double y0, const double* x, const double* y,
                 const double* v, double xp, double yp, int n, int d) {
  const int N = n + 2 * d + 1;
  if (N > MAXEVAL || static_cast<size_t>(N) * N > k.kinv.size())
    error("N too large in EVALKRIGE");
  double b[MAXEVAL];
  rhs(x0, y0, x, y, xp, yp, n, d, b);
  double est = 0.0;
  for (int j = 1; j <= n; ++j) est = est + v[j - 1] * weight(k.kinv.data(), N, j, b);
  return est;
}

void KrigeWeights::compute(const Krig& k, const double* x, const double* y, int n, int d,
                           const std::vector<bool>& select) {
  const int N = n + 2 * d + 1;
  if (N > MAXEVAL || static_cast<size_t>(N) * N > k.kinv.size())
    error("N too large in EVALKRIGE");
  n_ = n;
  slot_.assign(NCELL, -1);
  size_t nsel = 0;
  cells_.clear();
  for (int c = 0; c < NCELL && c < static_cast<int>(select.size()); ++c)
    if (select[c]) {
      slot_[c] = static_cast<int>(nsel++);
      cells_.push_back(c);
    }
  w_.assign(nsel * static_cast<size_t>(n), 0.0);
  if (n == 0 || nsel == 0) return;
  // Row k of the inverse's first n columns, contiguous: the weights of all
  // points then advance together over k, each still the running sum over
  // k ascending that evalkrige forms (the loop over j vectorises).
  std::vector<double> kt(static_cast<size_t>(N) * n);
  for (int kk = 0; kk < N; ++kk)
    for (int j = 0; j < n; ++j)
      kt[static_cast<size_t>(kk) * n + j] = k.kinv[static_cast<size_t>(j) * N + kk];
  // Cells are independent: the rows are shared between two threads.
  // A signal ends both threads' rows early; the main thread then stops.
  auto rows = [&](int r1, int r2) {
    double b[MAXEVAL];
    for (int r = r1; r <= r2 && !interrupted(); ++r) {
      for (int c = 1; c <= NCOL; ++c) {
        const int s = slot_[cell(c, r)];
        if (s < 0) continue;
        rhs(X0, Y0, x, y, xc(c), yc(r), n, d, b);
        double* w = w_.data() + static_cast<size_t>(s) * n;
        for (int kk = 0; kk < N; ++kk) {
          const double bk = b[kk];
          const double* row = kt.data() + static_cast<size_t>(kk) * n;
          for (int j = 0; j < n; ++j) w[j] = w[j] + row[j] * bk;
        }
      }
    }
  };
  std::thread helper;
  try {
    helper = std::thread(rows, NROW / 2 + 1, NROW);
  } catch (const std::system_error&) {
    // No second thread to be had: one thread does all rows.
  }
  rows(1, NROW / 2);
  if (helper.joinable())
    helper.join();
  else
    rows(NROW / 2 + 1, NROW);
  check_interrupt();
}

double KrigeWeights::estimate(int cellindex, const double* v) const {
  int s = (cellindex >= 0 && cellindex < static_cast<int>(slot_.size())) ? slot_[cellindex] : -1;
  if (s < 0) return std::nan("");
  const double* w = w_.data() + static_cast<size_t>(s) * n_;
  double est = 0.0;
  for (int j = 0; j < n_; ++j) est = est + v[j] * w[j];
  return est;
}

void KrigeWeights::estimate_many(const double* const* v, int nv, RealGrid* const* out) const {
  constexpr int MAXV = 8;
  if (nv > MAXV) error("N too large in EVALKRIGE");
  const size_t n = static_cast<size_t>(n_);
  for (size_t s = 0; s < cells_.size(); ++s) {
    const double* w = w_.data() + s * n;
    double e[MAXV] = {};
    for (size_t j = 0; j < n; ++j) {
      const double wj = w[j];
      for (int k = 0; k < nv; ++k) e[k] = e[k] + v[k][j] * wj;
    }
    for (int k = 0; k < nv; ++k) (*out[k])[cells_[s]] = e[k];
  }
}

}  // namespace vadz
