#include "engine/period.h"

#include <algorithm>
#include <cstddef>

#include "engine/accumulate.h"
#include "utl/console.h"
#include "utl/format.h"

namespace vadz {

namespace {

constexpr double YEAR_SECONDS = 31557600.0;  // 365.25 days
// Recharge array layout: 20 values of 9 columns per line, every grid row
// starting a new line (16 full lines and one of 6 values).
constexpr int PER_LINE = 20;
constexpr int ROW_LINE_COUNT = (NCOL + PER_LINE - 1) / PER_LINE;
constexpr size_t ARRAY_BYTES = static_cast<size_t>(NROW) * (NCOL * 9 + ROW_LINE_COUNT * 2);
constexpr size_t WELL_LINE = 20 + 2;

char* crlf(char* p) {
  *p++ = '\r';
  *p++ = '\n';
  return p;
}

char* put_text(char* p, std::string_view s) {
  std::copy(s.begin(), s.end(), p);
  return p + s.size();
}

// Grows the reusable buffer to at least n bytes (only ever on the first
// periods of a run) and returns its start.
char* room(std::string& buf, size_t n) {
  if (buf.size() < n) buf.resize(n);
  return buf.data();
}

// One stress period's array for the recharge package: the period header,
// the control line with the multiplier M that turns inches in the period
// into feet per second, then the values in inches.
template <class Value>
void write_array(std::string& buf, OutFile& f, double m, std::string_view label, Value value) {
  char* const start = room(buf, 64 + label.size() + ARRAY_BYTES);
  char* p = start;
  p = put_int(p, 10, 1);
  p = put_int(p, 10, 0);
  p = crlf(p);
  p = put_text(p, "INTERNAL ");
  p = put_sci(p, 15, 8, m);
  p = put_text(p, " (20F9.5) ");
  p = put_int(p, 3, -1);
  *p++ = ' ';
  p = put_text(p, label);
  p = crlf(p);
  for (int r = 1; r <= NROW; ++r) {
    const int base = cell(1, r);
    for (int c = 0; c < NCOL; ++c) {
      p = put_fixed(p, 9, 5, value(base + c));
      if ((c + 1) % PER_LINE == 0 || c + 1 == NCOL) p = crlf(p);
    }
  }
  f.write(start, static_cast<size_t>(p - start));
}

// The year's municipal-industrial grid of group s (0-based): one file for
// all twelve months, read again only when the directory, year stem or file
// form changes.
const RealGrid& mi_grid(const RunConfig& cfg, PeriodWork& pw, int s, std::string_view ystem) {
  std::string& key = pw.mistem[s];
  const std::string_view dir = cfg.stdir[s];
  // Key: file form, directory, NUL, stem. Assigned in place, so no
  // allocation once the string has grown to the longest key.
  const bool same = key.size() == 1 + dir.size() + 1 + ystem.size() &&
                    key[0] == static_cast<char>('0' + (cfg.ibin != 0)) &&
                    std::string_view(key).substr(1, dir.size()) == dir &&
                    key[1 + dir.size()] == '\0' &&
                    std::string_view(key).substr(2 + dir.size()) == ystem;
  if (!same) {
    key.clear();  // a failed read must not leave a stale key behind
    pw.reader.readfile(pw.mi[s], dir, ystem, "mi", 0);
    key += static_cast<char>('0' + (cfg.ibin != 0));
    key += dir;
    key += '\0';
    key += ystem;
  }
  return pw.mi[s];
}

}  // namespace

void period_reads(const RunConfig& cfg, std::string_view pstem, std::string_view ystem,
                  std::array<std::string, 3>& mikeys, ReadPlan& plan) {
  const std::string ps(pstem), ys(ystem);
  for (int s = 0; s < 3; ++s) {
    const std::string& dir = cfg.stdir[s];
    if (cfg.ipump[s] != 0) {
      std::string key = dir + '\0' + ys;
      if (key != mikeys[s]) {
        mikeys[s] = key;
        plan.push_back({dir, ys, "mi", 0});
      }
      plan.push_back({dir, ps, "pmp", 0});
      plan.push_back({dir, ps, "rcg", 0});
    }
    plan.push_back({dir, ps, "rcs", 0});
    plan.push_back({dir, ps, "rcc", 0});
  }
}

void period(const RunConfig& cfg, PeriodWork& pw, ModelFiles& files, const RealGrid& rechp,
            std::string_view label, std::string_view pstem, std::string_view ystem, int year,
            int seconds, double w, AnnualArrays& ann) {
  pw.reader.set_binary(cfg.ibin);
  const double q = seconds / YEAR_SECONDS;

  std::fill(pw.pump.begin(), pw.pump.end(), 0.0);
  for (RealGrid& g : pw.rech) std::fill(g.begin(), g.end(), 0.0);

  // Inches per year over a 640-acre cell to acre-feet: x 640/12, the factor
  // formed before the grid is multiplied.
  add(pw.rech[0], w * 53.333333333333336, rechp);

  const double sf4 = cfg.stressf[3];
  for (int s = 1; s <= 3; ++s) {
    const std::string& dir = cfg.stdir[s - 1];
    const double sf = cfg.stressf[s - 1];
    if (cfg.ipump[s - 1] != 0) {
      // Municipal-industrial use is a yearly volume, prorated by the
      // period's share of the year; the mask does not apply to it.
      const RealGrid& mi = mi_grid(cfg, pw, s - 1, ystem);
      const double t = sf * q;
      add(pw.pump, t, mi);
      add(ann.annmi[s], t, mi);
      pw.reader.readfile(pw.work, dir, pstem, "pmp", 0);
      condadd(pw.pump, sf, pw.work, cfg.gwmask);
      condadd(ann.annpump[s], sf, pw.work, cfg.gwmask);
      pw.reader.readfile(pw.work, dir, pstem, "rcg", 0);
      condadd(pw.rech[1], sf, pw.work, cfg.gwmask);
      condadd(ann.annrcg[s], sf, pw.work, cfg.gwmask);
    }
    pw.reader.readfile(pw.work, dir, pstem, "rcs", 0);
    condadd3(pw.rech[2], sf4, pw.work, cfg.mound);
    condadd3(ann.annrcs[s], sf4, pw.work, cfg.mound);
    pw.reader.readfile(pw.work, dir, pstem, "rcc", 0);
    condadd3(pw.rech[3], sf4, pw.work, cfg.mound);
    condadd3(ann.annrcc[s], sf4, pw.work, cfg.mound);
  }

  // Late-year adjustment of the irrigation returns Rcg and Rcs; the steady
  // period (year -1) is never adjusted, whatever XFACTOR year was given.
  if (year > 0 && year > cfg.xyear) {
    for (int i = 0; i < NCELL; ++i) {
      pw.rech[1][i] = pw.rech[1][i] * cfg.xfactor[i];
      pw.rech[2][i] = pw.rech[2][i] * cfg.xfactor[i];
    }
  }

  const double m = 0.08333333333333333 / seconds;
  // Acre-feet over a 640-acre cell to inches (12/640), in single precision.
  const double k = static_cast<double>(static_cast<float>(0.01875));
  const double v = 43560.0 / seconds;  // acre-feet in the period to cubic feet per second

  if (cfg.nrch == 1) {
    const RealGrid& r1 = pw.rech[0];
    const RealGrid& r2 = pw.rech[1];
    const RealGrid& r3 = pw.rech[2];
    const RealGrid& r4 = pw.rech[3];
    write_array(pw.text, files.rch[0], m, label,
                [&](int i) { return (((r1[i] + r2[i]) + r3[i]) + r4[i]) * k; });
  } else if (cfg.nrch == 4) {
    for (int j = 0; j < 4; ++j) {
      const RealGrid& rj = pw.rech[j];
      write_array(pw.text, files.rch[j], m, label, [&](int i) { return rj[i] * k; });
    }
  }

  // A not-a-number pumping is not zero: it is listed, so it shows up.
  int count = 0;
  for (int i = 0; i < NCELL; ++i) {
    if (!(pw.pump[i] == 0.0)) ++count;
  }
  if (count > MAXWEL) errorint("Increase MAXWEL to", count);

  char* const start = room(pw.text, 32 + label.size() + static_cast<size_t>(count) * WELL_LINE);
  char* p = start;
  p = put_int(p, 5, count);
  p = put_int(p, 3, -1);
  *p++ = ' ';
  p = put_text(p, label);
  p = crlf(p);
  for (int r = 1; r <= NROW; ++r) {
    for (int c = 1; c <= NCOL; ++c) {
      const double pump = pw.pump[cell(c, r)];
      if (pump == 0.0) continue;
      p = put_int(p, 1, 1);
      p = put_int(p, 4, r);
      p = put_int(p, 4, c);
      p = put_fixed(p, 11, 6, -(pump * v));
      p = crlf(p);
    }
  }
  files.wel.write(start, static_cast<size_t>(p - start));
}

}  // namespace vadz
