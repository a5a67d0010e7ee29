#include "engine/modelfiles.h"

#include <algorithm>
#include <cstddef>
#include <filesystem>
#include <string_view>
#include <system_error>
#include <vector>

#include "utl/console.h"
#include "utl/diag.h"
#include "utl/format.h"
#include "utl/scan.h"

namespace vadz {

namespace {

// Recharge array layout: 20 values of 9 columns per line, every grid row
// starting a new line (16 full lines and one of 6 values).
constexpr int PER_LINE = 20;
size_t array_bytes() {
  const size_t row_lines = static_cast<size_t>(NCOL + PER_LINE - 1) / PER_LINE;
  return static_cast<size_t>(NROW) * (static_cast<size_t>(NCOL) * 9 + row_lines * 2);
}
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
  char* const start = room(buf, 64 + label.size() + array_bytes());
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

// Opens a model file in the run's access mode; fatal when it cannot be opened.
void open_model_file(OutFile& f, const std::string& name, OutFile::Mode mode) {
  if (!f.open(name, mode)) error("Cannot open file " + name);
}

// True when path names a regular file already opened as one of the run's
// model files. Two streams on one file would overwrite each other's records,
// so such a file cannot be opened a second time (a device such as /dev/null
// can take both).
bool already_open(const std::string& path, const std::vector<std::string>& opened) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) return false;
  for (const std::string& other : opened)
    if (std::filesystem::equivalent(path, other, ec)) return true;
  return false;
}

}  // namespace

// A model file the parameter file does not name: the fault is the file's.
void require_well_file(const RunConfig& cfg) {
  if (rtrim(cfg.welfile).empty()) {
    const PlaceScope here([&cfg] { return Diag{cfg.parfile, "", {}, "add a line WELL <file>"}; });
    error("No well file specified");
  }
}

void require_recharge_files(const RunConfig& cfg) {
  if (cfg.nrch == 0) {
    const PlaceScope here([&cfg] { return Diag{cfg.parfile, "", {}, "add a line RECHARGE <file>"}; });
    error("No recharge file(s) specified");
  }
}

void ModelFiles::open(const RunConfig& cfg) {
  const OutFile::Mode mode = cfg.iappend ? OutFile::Mode::Append : OutFile::Mode::Replace;
  const std::string welname(rtrim(cfg.welfile));
  require_well_file(cfg);
  open_model_file(wel, welname, mode);
  char head[32];
  if (!cfg.iappend) {
    char* p = put_int(head, 10, MAXWEL);
    p = put_int(p, 10, cfg.iwelcb);
    wel.line(std::string(head, p - head) + " NOPRINT");
  }
  require_recharge_files(cfg);
  const int nrch = cfg.nrch < 4 ? cfg.nrch : 4;
  std::vector<std::string> opened{welname};
  for (int k = 0; k < nrch; ++k) {
    const std::string name(rtrim(cfg.rchfile[k]));
    if (already_open(name, opened)) error("Cannot open file " + name);
    open_model_file(rch[k], name, mode);
    opened.push_back(name);
    if (!cfg.iappend) {
      char* p = put_int(head, 10, 1);
      p = put_int(p, 10, cfg.irchcb);
      rch[k].line(std::string_view(head, p - head));
    }
  }
}

void ModelFiles::period(const PeriodResult& pr) {
  const RunConfig& cfg = pr.cfg;
  const std::string_view label = pr.label;
  const int seconds = pr.seconds;
  const double m = rch_multiplier(seconds);
  const double k = RCH_INCHES;
  const double v = wel_factor(seconds);

  if (cfg.nrch == 1) {
    const RealGrid& r1 = pr.rech[0];
    const RealGrid& r2 = pr.rech[1];
    const RealGrid& r3 = pr.rech[2];
    const RealGrid& r4 = pr.rech[3];
    write_array(text_, rch[0], m, label,
                [&](int i) { return (((r1[i] + r2[i]) + r3[i]) + r4[i]) * k; });
  } else if (cfg.nrch == 4) {
    for (int j = 0; j < 4; ++j) {
      const RealGrid& rj = pr.rech[j];
      write_array(text_, rch[j], m, label, [&](int i) { return rj[i] * k; });
    }
  }

  // A not-a-number pumping is not zero: it is listed, so it shows up.
  const RealGrid& pump = pr.pump;
  int count = 0;
  for (int i = 0; i < NCELL; ++i) {
    if (!(pump[i] == 0.0)) ++count;
  }
  if (count > MAXWEL) errorint("Increase MAXWEL to", count);

  char* const start = room(text_, 32 + label.size() + static_cast<size_t>(count) * WELL_LINE);
  char* p = start;
  p = put_int(p, 5, count);
  p = put_int(p, 3, -1);
  *p++ = ' ';
  p = put_text(p, label);
  p = crlf(p);
  for (int r = 1; r <= NROW; ++r) {
    for (int c = 1; c <= NCOL; ++c) {
      const double q = pump[cell(c, r)];
      if (q == 0.0) continue;
      p = put_int(p, 1, 1);
      p = put_int(p, 4, r);
      p = put_int(p, 4, c);
      p = put_fixed(p, 11, 6, -(q * v));
      p = crlf(p);
    }
  }
  wel.write(start, static_cast<size_t>(p - start));
}

void ModelFiles::finish() {
  wel.close();
  for (OutFile& f : rch)
    if (f.is_open()) f.close();
}

void ModelFiles::commit() {
  wel.commit();
  for (OutFile& f : rch) f.commit();
}

bool is_model_file(const RunConfig& cfg, const std::string& path) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) return false;
  std::vector<std::string> models{std::string(rtrim(cfg.welfile))};
  for (int k = 0; k < cfg.nrch && k < 4; ++k) models.emplace_back(rtrim(cfg.rchfile[k]));
  for (const std::string& m : models)
    if (std::filesystem::equivalent(path, m, ec)) return true;
  return false;
}

}  // namespace vadz
