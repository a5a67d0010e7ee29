#include "input/curves.h"

#include <array>
#include <cmath>
#include <string>

#include "utl/console.h"
#include "utl/diag.h"
#include "utl/format.h"
#include "utl/scan.h"
#include "utl/textio.h"

namespace vadz {

namespace {

constexpr int MAXFDATA = 64;     // data lines of a FUNCTION block
constexpr int MAXSPLINE = 1024;  // points one spline may fit

// The data lines of one block: precipitation and, per soil, the
// non-irrigated and irrigated recharge, inches.
struct FunctionData {
  int n = 0;
  std::array<double, MAXFDATA> p{};
  std::array<std::array<double, MAXFDATA>, 2 * MAXSOIL> y{};  // [2*(s-1) + (c-1)][i]
};

// Number of tabulation points 0.0, 0.1, ... up to pmax: the integer part of
// the exact 10*pmax, plus 1. The product is not rounded first: 0.7 is stored
// just below 0.7, so it gives 7 points, not 8. Past any table for huge pmax.
long tabulation_points(double pmax) {
  if (!(pmax < 1.0e6)) return MAXCURV + 1;
  double t = 10.0 * pmax;
  double resid = std::fma(10.0, pmax, -t);  // exact: 10*pmax = t + resid
  double f = std::floor(t);
  // Rounding can only carry the product up onto an integer, never across one.
  if (f == t && resid < 0.0) f -= 1.0;
  return static_cast<long>(f) + 1;
}

std::string with_line(std::string_view msg, std::string_view line) {
  std::string s(msg);
  s += rtrim(line);
  return s;
}

// Reads the data lines after the keyword line until a line whose first token
// is not a number, which is given back to the parameter file.
void read_function_data(LineState& ls, int nsoil, FunctionData& d, ReadNotes* notes) {
  d.n = 0;
  while (ls.file && ls.file->next(ls.line)) {
    if (linefix(ls.line) != 0) continue;
    // The data line's scan position is the line state's, so that a stop
    // points at the offending number.
    int& pos = ls.ipos;
    pos = 1;
    int status = 0;
    double p = realin(ls.line, pos, pos, status);
    if (status != 0) {
      const size_t hash = ls.line.find_first_not_of(' ');
      if (notes && hash != std::string::npos && ls.line[hash] == '#')
        notes->warnings.push_back(
            {text_place(notes->parfile, ls.file->line_no(), static_cast<long>(hash) + 1),
             "an indented '#' line ends the FUNCTION block after " + std::to_string(d.n) +
                 (d.n == 1 ? " data line" : " data lines"),
             {},
             "a comment line needs its '#' in the first column"});
      ls.file->unread();
      return;
    }
    int i = d.n;
    if (i + 1 > MAXFDATA) error("Too many FUNCTION data");
    if (!std::isfinite(p)) error(with_line("Invalid FUNCTION data ", ls.line));
    if (i == 0 && p != 0.0) error("FUNCTION data must start at zero");
    if (i > 0 && p <= d.p[i - 1]) error("FUNCTION data not monotone increasing");
    d.p[i] = p;
    for (int k = 0; k < 2 * nsoil; ++k) {
      double v = realin(ls.line, pos, pos, status);
      if (status != 0 || !std::isfinite(v)) error(with_line("Invalid FUNCTION data ", ls.line));
      d.y[k][i] = v;
    }
    d.n = i + 1;
  }
}

}  // namespace

// A header naming each soil's two curves, then one line per tabulation
// point, F6.1 precipitation and F8.3 recharge values.
void write_function_table(const std::string& name, const CurveTable& table, int nsoil) {
  if (nsoil > MAXSOIL) nsoil = MAXSOIL;
  OutFile out;
  if (!out.open(name)) error("Error opening file " + name);
  std::string text = "Precip";
  char buf[16];
  for (int s = 1; s <= nsoil; ++s)
    for (int c = 1; c <= 2; ++c) {
      text += " Soil";
      text.append(buf, put_int(buf, 3, s) - buf);
    }
  out.line(text);
  for (int k = 1; k <= table.ncurv; ++k) {
    text.clear();
    text.append(buf, put_fixed(buf, 6, 1, table.at(k, 1, 0)) - buf);
    for (int s = 1; s <= nsoil; ++s)
      for (int c = 1; c <= 2; ++c) text.append(buf, put_fixed(buf, 8, 3, table.at(k, c, s)) - buf);
    out.line(text);
  }
  out.close();
}

std::string readfunction(LineState& ls, CurveTable& table, int nsoil, ReadNotes* notes) {
  if (nsoil <= 0) error("No SOILs specified before FUNCTION");
  if (nsoil > MAXSOIL) nsoil = MAXSOIL;
  int status = 0;
  std::string fname = charin(ls.line, ls.ipos, ls.ipos, status);
  if (status != 0) error(with_line("Invalid FUNCTION output file name ", ls.line));
  int itype = intin(ls.line, ls.ipos, ls.ipos, status);
  if (status != 0 || (itype != 1 && itype != 2))
    error(with_line("Invalid FUNCTION spline type ", ls.line));

  FunctionData d;
  read_function_data(ls, nsoil, d, notes);
  // An indented '#' line is no comment: it ends the data lines, and the
  // lines after it are read as keywords.
  const size_t first = ls.line.find_first_not_of(' ');
  const bool indented_comment = first != std::string::npos && first > 0 && ls.line[first] == '#';
  const PlaceScope block([&] {
    Diag at;
    if (!indented_comment || d.n >= 2) return at;
    at.where = text_place(ls.file->name(), ls.file->line_no() + 1, static_cast<long>(first) + 1);
    at.notes.push_back("the FUNCTION block ends here after " + std::to_string(d.n) +
                       (d.n == 1 ? " data line" : " data lines"));
    at.hint = "a comment needs '#' in the first column; an indented '#' line ends the FUNCTION block";
    return at;
  });
  if (d.n == 0) error("Cannot fit spline to one point");

  long ncurv = tabulation_points(d.p[d.n - 1]);
  if (ncurv > MAXCURV) error("FUNCTION range too large");
  table.ncurv = static_cast<int>(ncurv);
  for (int k = 1; k <= table.ncurv; ++k) {
    double p = (k - 1) / 10.0;
    table.at(k, 1, 0) = p;
    table.at(k, 2, 0) = p;
  }
  for (int s = 1; s <= nsoil; ++s)
    for (int c = 1; c <= 2; ++c)
      spline(d.p.data(), d.y[2 * (s - 1) + (c - 1)].data(), d.n, &table.at(1, 1, 0),
             &table.at(1, c, s), table.ncurv, itype);

  return std::string(rtrim(fname));
}

void spline(const double* x, const double* y, int n, const double* xe, double* ye, int ne,
            int type) {
  if (n <= 1) error("Cannot fit spline to one point");
  if (n > MAXSPLINE) error("Too many points to fit spline");
  std::array<double, MAXSPLINE> b, c;
  if (type == 2) {
    // Quadratic pieces: each starts with the slope at which the previous one
    // ended and passes through both of its points; the first is a line.
    b[0] = (y[1] - y[0]) / (x[1] - x[0]);
    c[0] = 0.0;
    double g = b[0];
    for (int i = 1; i < n - 1; ++i) {
      double h = x[i + 1] - x[i];
      b[i] = g;
      c[i] = (y[i + 1] - y[i] - b[i] * h) / (h * h);
      g = b[i] + 2.0 * c[i] * h;
    }
  } else {
    for (int i = 0; i < n - 1; ++i) {
      b[i] = (y[i + 1] - y[i]) / (x[i + 1] - x[i]);
      c[i] = 0.0;
    }
  }
  for (int j = 0; j < ne; ++j) {
    double v = xe[j];
    if (!(v >= x[0] && v <= x[n - 1])) error("Spline eval data out of range");
    int lo = 0, hi = n - 1;
    while (hi - lo >= 2) {
      int mid = (lo + hi) / 2;
      if (x[mid] > v) hi = mid;
      else lo = mid;
    }
    double dd = v - x[lo];
    ye[j] = (y[lo] + b[lo] * dd) + c[lo] * (dd * dd);
  }
}

double binfind(double v, const double* xtab, const double* ytab, int n) {
  if (n <= 0 || !(v >= xtab[0] && v <= xtab[n - 1]))
    errordbl("Value out of range in BINFIND", v);
  int lo = 0, hi = n - 1;
  while (hi - lo > 1) {
    int mid = (lo + hi) / 2;
    if (xtab[mid] == v) return ytab[mid];
    if (xtab[mid] < v) lo = mid;
    else hi = mid;
  }
  if (lo == hi) return ytab[lo];
  double w = (v - xtab[lo]) / (xtab[hi] - xtab[lo]);
  return (1.0 - w) * ytab[lo] + w * ytab[hi];
}

}  // namespace vadz
