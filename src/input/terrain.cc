#include "input/terrain.h"

#include <cmath>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "input/gridio.h"
#include "utl/console.h"
#include "utl/diag.h"
#include "utl/interrupt.h"
#include "utl/format.h"
#include "utl/scan.h"
#include "utl/textio.h"

namespace vadz {

namespace {

constexpr int PLOTW = 6;  // F6.3 per cell in the plot file

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

void read_terrain(LineState& ls, TerrainData& t) {
  int status = 0;
  std::string flagname = charin(ls.line, ls.ipos, ls.ipos, status);
  if (status != 0) fail_line("Invalid TERRAIN flag file ", ls.line);

  std::vector<std::string> zones;
  t.nz = 0;
  readflags(flagname, t.zones, zones, t.nz, TERRAIN_ZONES);

  // File names lose trailing blanks (a quoted name may carry some).
  std::string multname = charin(ls.line, ls.ipos, ls.ipos, status);
  if (status != 0) fail_line("Invalid TERRAIN multiplier file ", ls.line);
  multname.assign(rtrim(multname));
  std::string content;
  if (!read_whole_file(multname, content)) error_open("Error opening file", multname);

  std::string plotname = charin(ls.line, ls.ipos, ls.ipos, status);
  if (status != 0) fail_line("Invalid TERRAIN plot file ", ls.line);
  t.plotname.assign(rtrim(plotname));

  t.tmin = 0.0;
  t.tmax = 1.0e100;
  while (!eol(ls.line, ls.ipos)) {
    std::string token = charin(ls.line, ls.ipos, ls.ipos, status);
    if (token != "LIMIT") {
      std::string msg = "Invalid TERRAIN parameter ";
      msg += std::string_view(token).substr(0, 16);
      error(msg);
    }
    t.tmin = read_bound(ls.line, ls.ipos, "Invalid TERRAIN LIMIT minimum");
    t.tmax = read_bound(ls.line, ls.ipos, "Invalid TERRAIN LIMIT maximum");
    if (t.tmin > t.tmax) fail_line("Invalid TERRAIN LIMIT range ", ls.line);
  }

  // Locations: X, Y and one multiplier per zone.
  t.n = 0;
  LineReader reader(content);
  std::string_view raw;
  if (!reader.next(raw)) error2("Error reading file header", multname);
  std::string& line = ls.line;  // the parameter line's buffer is reused
  long lineno = 1;
  int pos = 1;
  const PlaceScope here([&] {
    return Diag{text_place(multname, lineno, token_start(line, pos)), "", {}, ""};
  });
  while (reader.next(raw)) {
    ++lineno;
    if (is_end(raw)) break;
    line.assign(raw);
    if (linefix(line) != 0) continue;
    if (++t.n > TERRAIN_LOCATIONS) error("Too many TERRAIN locations");
    const int i = t.n - 1;
    pos = 1;
    t.x[i] = read_value(line, pos, "Invalid terrain X ");
    t.y[i] = read_value(line, pos, "Invalid terrain Y ");
    for (int z = 0; z < t.nz; ++z) t.mult[z][i] = read_value(line, pos, "Invalid terrain multiplier ");
  }
}

void krige_terrain(const TerrainData& t, RealGrid& trn, Krig& krig) {
  const int n = t.n;
  krigmatinv(X0, Y0, t.x.data(), t.y.data(), krig, n, 0);
  for (int r = 1; r <= NROW; ++r) {
    check_interrupt();  // many locations make this the longest part of start-up
    for (int c = 1; c <= NCOL; ++c) {
      int z = t.zones[cell(c, r)];
      double v = 1.0;
      if (z != 0) {
        v = evalkrige(krig, X0, Y0, t.x.data(), t.y.data(), t.mult[z - 1].data(), xc(c), yc(r),
                      n, 0);
        if (v < t.tmin) v = t.tmin;
        if (v > t.tmax) v = t.tmax;
      }
      trn[cell(c, r)] = v;
    }
  }
}

void write_terrain_plot(const std::string& plotname, const RealGrid& trn) {
  OutFile plot;
  if (!plot.open(plotname)) error_open("Error opening file", plotname);
  std::string row(static_cast<size_t>(NCOL) * PLOTW, ' ');
  for (int r = 1; r <= NROW; ++r) {
    char* p = row.data();
    for (int c = 1; c <= NCOL; ++c) p = put_fixed(p, PLOTW, 3, trn[cell(c, r)]);
    plot.line(row);
  }
  plot.close();
}

std::string readterrain(LineState& ls, RealGrid& trn, Krig& krig) {
  auto t = std::make_unique<TerrainData>();
  read_terrain(ls, *t);
  krige_terrain(*t, trn, krig);
  return t->plotname;
}

}  // namespace vadz
