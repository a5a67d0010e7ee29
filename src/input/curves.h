// Recharge curves: the FUNCTION block, its spline fit, the tabulated curve
// table and the lookup into it.
#pragma once
#include <string>
#include <vector>

#include "input/readnotes.h"
#include "utl/paramlines.h"

namespace vadz {

inline constexpr int MAXCURV = 8192;  // tabulation points, 0.1 inch apart
inline constexpr int MAXSOIL = 9;

// frch(k, c, s): point k = 1..8192, curve c = 1 (non-irrigated) or 2
// (irrigated), soil s = 0..9. Soil 0 holds the abscissae (precipitation).
struct CurveTable {
  std::vector<double> frch = std::vector<double>(MAXCURV * 2 * (MAXSOIL + 1), 0.0);
  int ncurv = 0;
  double& at(int k, int c, int s) { return frch[(k - 1) + MAXCURV * (c - 1) + 2 * MAXCURV * s]; }
  double at(int k, int c, int s) const { return frch[(k - 1) + MAXCURV * (c - 1) + 2 * MAXCURV * s]; }
  // Start of curve (c, s), for binfind.
  const double* curve(int c, int s) const { return &frch[MAXCURV * (c - 1) + 2 * MAXCURV * s]; }
  // Whether the curves reach precipitation p (binfind's range): a run stops
  // on any other value.
  bool covers(double p) const { return ncurv > 0 && p >= at(1, 1, 0) && p <= at(ncurv, 1, 0); }
  // The last tabulated precipitation.
  double last_p() const { return ncurv > 0 ? at(ncurv, 1, 0) : 0.0; }
};

// Reads the FUNCTION block: the rest of the keyword line in ls, then the data
// lines that follow in the parameter file; the first line that is not curve
// data is pushed back. Returns the name of the FUNCTION table file (trailing
// blanks dropped), which a run then writes with write_function_table.
// With notes (the input check), an indented '#' line, which ends the block
// rather than being skipped, is noted as a warning.
std::string readfunction(LineState& ls, CurveTable& table, int nsoil, ReadNotes* notes = nullptr);

// The FUNCTION table file: every soil's two curves at the tabulation points.
void write_function_table(const std::string& name, const CurveTable& table, int nsoil);

// Fits n points (x strictly increasing) with type 1 (linear) or 2 (quadratic)
// and evaluates the fit at the ne points xe into ye.
void spline(const double* x, const double* y, int n, const double* xe, double* ye, int ne,
            int type);

// Linear interpolation in the table (xtab, ytab) of n entries at v.
double binfind(double v, const double* xtab, const double* ytab, int n);

}  // namespace vadz
