#include "input/terrain.h"

#include <cmath>
#include <string>
#include <string_view>
#include <vector>

#include "input/gridio.h"
#include "utl/console.h"
#include "utl/format.h"
#include "utl/scan.h"
#include "utl/textio.h"

namespace vadz {

namespace {

constexpr int MAXZONE = 9;    // one-character zone fields in the flag file
constexpr int MAXLOC = 128;   // locations of the multiplier file
constexpr int PLOTW = 6;      // F6.3 per cell in the plot file

[[noreturn]] void fail_line(std::string_view msg, std::string_view line) {
  std::string text(msg);
  text += rtrim(line);
  error(text);
}

// "END" in capitals from column 1 followed by blanks only, on the raw line.
bool is_end(std::string_view raw) {
  if (raw.substr(0, 3) != "END") return false;
  for (size_t i = 3; i < raw.size(); ++i)
    if (raw[i] != ' ') return false;
  return true;
}

// A LIMIT bound: a number, possibly infinite, never NaN.
double read_bound(std::string_view line, int& pos, const char* msg) {
  int status = 0;
  double v = realin(line, pos, pos, status);
  if (status != 0 || std::isnan(v)) error(msg);
  return v;
}

// A coordinate or multiplier of a location line: a finite number.
double read_value(std::string_view line, int& pos, const char* msg) {
  int status = 0;
  double v = realin(line, pos, pos, status);
  if (status != 0 || !std::isfinite(v)) fail_line(msg, line);
  return v;
}

}  // namespace

std::string readterrain(LineState& ls, RealGrid& trn, Krig& krig) {
  int status = 0;
  std::string flagname = charin(ls.line, ls.ipos, ls.ipos, status);
  if (status != 0) fail_line("Invalid TERRAIN flag file ", ls.line);

  FlagGrid itrn = flag_grid(0);
  std::vector<std::string> zones;
  int nz = 0;
  readflags(flagname, itrn, zones, nz, MAXZONE);

  // File names lose trailing blanks (a quoted name may carry some).
  std::string multname = charin(ls.line, ls.ipos, ls.ipos, status);
  if (status != 0) fail_line("Invalid TERRAIN multiplier file ", ls.line);
  multname.assign(rtrim(multname));
  std::string content;
  if (!read_whole_file(multname, content)) error2("Error opening file", multname);

  std::string plotname = charin(ls.line, ls.ipos, ls.ipos, status);
  if (status != 0) fail_line("Invalid TERRAIN plot file ", ls.line);
  plotname.assign(rtrim(plotname));

  double tmin = 0.0, tmax = 1.0e100;
  while (!eol(ls.line, ls.ipos)) {
    std::string token = charin(ls.line, ls.ipos, ls.ipos, status);
    if (token != "LIMIT") {
      std::string msg = "Invalid TERRAIN parameter ";
      msg += std::string_view(token).substr(0, 16);
      error(msg);
    }
    tmin = read_bound(ls.line, ls.ipos, "Invalid TERRAIN LIMIT minimum");
    tmax = read_bound(ls.line, ls.ipos, "Invalid TERRAIN LIMIT maximum");
    if (tmin > tmax) fail_line("Invalid TERRAIN LIMIT range ", ls.line);
  }

  // Locations: X, Y and one multiplier per zone, kept zone by zone so that
  // each zone's values form the data vector of the kriging.
  double x[MAXLOC], y[MAXLOC];
  double mult[MAXZONE][MAXLOC];
  int n = 0;
  LineReader reader(content);
  std::string_view raw;
  if (!reader.next(raw)) error2("Error reading file header", multname);
  std::string& line = ls.line;  // the parameter line's buffer is reused
  while (reader.next(raw)) {
    if (is_end(raw)) break;
    line.assign(raw);
    if (linefix(line) != 0) continue;
    if (++n > MAXLOC) error("Too many TERRAIN locations");
    int pos = 1;
    x[n - 1] = read_value(line, pos, "Invalid terrain X ");
    y[n - 1] = read_value(line, pos, "Invalid terrain Y ");
    for (int z = 0; z < nz; ++z) mult[z][n - 1] = read_value(line, pos, "Invalid terrain multiplier ");
  }

  krigmatinv(X0, Y0, x, y, krig, n, 0);
  for (int r = 1; r <= NROW; ++r) {
    for (int c = 1; c <= NCOL; ++c) {
      int z = itrn[cell(c, r)];
      double v = 1.0;
      if (z != 0) {
        v = evalkrige(krig, X0, Y0, x, y, mult[z - 1], xc(c), yc(r), n, 0);
        if (v < tmin) v = tmin;
        if (v > tmax) v = tmax;
      }
      trn[cell(c, r)] = v;
    }
  }
  return plotname;
}

void write_terrain_plot(const std::string& plotname, const RealGrid& trn) {
  OutFile plot;
  if (!plot.open(plotname)) error2("Error opening file", plotname);
  char row[NCOL * PLOTW];
  for (int r = 1; r <= NROW; ++r) {
    char* p = row;
    for (int c = 1; c <= NCOL; ++c) p = put_fixed(p, PLOTW, 3, trn[cell(c, r)]);
    plot.line(std::string_view(row, sizeof row));
  }
  plot.close();
}

}  // namespace vadz
