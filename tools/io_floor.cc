// io_floor: the input/output floor of a vadz run on the benchmark data set.
//
//   io_floor <parameter file> [--mi-once]
//
// Run in the same kind of folder as vadz (the parameter file's relative paths
// resolve from the working directory, the outputs land there). It does only
// the work no implementation of the run can avoid:
//
// - reads every input file the run reads, as often as a straightforward run
//   reads it, and parses every number (std::from_chars for text, memcpy for
//   framed binary records): per transient year and state group the area
//   files (agw only where pumping is on, asw, aco); per stress period and
//   group the mi, pmp, rcg (pumping groups only), rcs and rcc files, where
//   the year's mi file is read again in each of the twelve months (with
//   --mi-once it is read once per year); the steady files once; the flag,
//   station and terrain files once;
// - formats every number the run writes into buffers in the same fixed-field
//   layouts and writes files of the same sizes: the FUNCTION table, the
//   terrain plot, the recharge arrays (one or four per period, 20 values of 9
//   columns per line), the well blocks, the yearly pumping tables,
//   annrcp.csv and annrech.csv, and the three yearly FILE grids (25-column
//   17-digit reals, or framed binary records with BIN).
//
// The values written are simple sums of what was read (pumping, returns,
// areas) and a fixed stand-in for the recharge from precipitation: no
// kriging, no curves, no budget. The budget table on standard output is not
// reproduced. The parameter file is read only as far as the benchmark uses
// it (DIR, NOPUMP, STEADY, TRANSIENT, BIN, RECHARGE, WELL, FILE, ANNPUMP,
// ANNRECH, APPEND, SOIL, FUNCTION, IBOUND, BUDGET, TERRAIN, STATIONS).
#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// Windows opens files in text mode unless told otherwise.
#ifndef O_BINARY
#define O_BINARY 0
#endif

namespace {

constexpr int NROW = 165;
constexpr int NCOL = 326;
constexpr int NCELL = NROW * NCOL;
constexpr int32_t GRID_BYTES = NCELL * 8;
constexpr double X0 = 266023.0;
constexpr double Y0 = 14092806.0;
constexpr double CELL = 5280.0;
constexpr double YEAR_SECONDS = 31557600.0;
constexpr int NDM[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

using Grid = std::vector<double>;

struct Totals {
  long long read_bytes = 0, written_bytes = 0;
  long read_files = 0, written_files = 0;
};
Totals g_tot;

[[noreturn]] void fail(const std::string& what) { throw std::runtime_error(what); }

// ---------------------------------------------------------------- input

// Whole file into buf; false when the file does not exist.
bool slurp(const std::string& path, std::string& buf) {
  int fd = ::open(path.c_str(), O_RDONLY | O_BINARY);
  if (fd < 0) return false;
  struct stat st;
  if (::fstat(fd, &st) != 0) fail("cannot stat " + path);
  buf.resize(static_cast<size_t>(st.st_size));
  size_t got = 0;
  while (got < buf.size()) {
    ssize_t n = ::read(fd, buf.data() + got, buf.size() - got);
    if (n <= 0) fail("cannot read " + path);
    got += static_cast<size_t>(n);
  }
  ::close(fd);
  g_tot.read_bytes += static_cast<long long>(got);
  ++g_tot.read_files;
  return true;
}

inline bool is_sep(char ch) { return ch == ' ' || ch == ',' || ch == '\t' || ch == '\r' || ch == '\n'; }

// Text grid: 165 rows, each starting on a new line and wrapping as needed;
// the rest of the line holding a row's last value is skipped.
void parse_text(const std::string& buf, Grid& g, const std::string& path) {
  const char* p = buf.data();
  const char* end = p + buf.size();
  double* v = g.data();
  for (int r = 0; r < NROW; ++r) {
    for (int c = 0; c < NCOL; ++c) {
      while (p != end && is_sep(*p)) ++p;
      auto res = std::from_chars(p, end, *v++);
      if (res.ec != std::errc()) fail("bad number in " + path);
      p = res.ptr;
    }
    while (p != end && *p != '\n') ++p;
  }
}

// Framed binary grid: the first 430,320 bytes of the first record.
void parse_binary(const std::string& buf, Grid& g, const std::string& path) {
  int32_t n = 0;
  if (buf.size() >= 4) std::memcpy(&n, buf.data(), 4);
  if (buf.size() < 4 + static_cast<size_t>(GRID_BYTES) || n < GRID_BYTES) fail("short record in " + path);
  std::memcpy(g.data(), buf.data() + 4, static_cast<size_t>(GRID_BYTES));
}

struct Reader {
  bool binary = false;
  std::string buf;
  std::string path;

  // dir/stem.tag into g; a missing file is a grid of zeros.
  void read(const std::string& dir, const std::string& stem, const char* tag, Grid& g) {
    path.assign(dir).append("/").append(stem).append(".").append(tag);
    if (!slurp(path, buf)) {
      std::fill(g.begin(), g.end(), 0.0);
      return;
    }
    if (binary) {
      parse_binary(buf, g, path);
    } else {
      parse_text(buf, g, path);
    }
  }
};

// A small text input (flags, stations, terrain): read it and convert every
// token that is a number.
long scan_small(const std::string& path) {
  std::string buf;
  if (!slurp(path, buf)) fail("cannot open " + path);
  long numbers = 0;
  const char* p = buf.data();
  const char* end = p + buf.size();
  while (p != end) {
    while (p != end && is_sep(*p)) ++p;
    const char* t = p;
    while (p != end && !is_sep(*p)) ++p;
    double v;
    if (t != p && std::from_chars(t, p, v).ec == std::errc()) ++numbers;
  }
  return numbers;
}

// ---------------------------------------------------------------- output fields

// Right-aligns [b, e) in w columns at p; w asterisks when it does not fit.
inline char* field(char* p, int w, const char* b, const char* e) {
  int n = static_cast<int>(e - b);
  if (n > w) {
    std::memset(p, '*', static_cast<size_t>(w));
    return p + w;
  }
  std::memset(p, ' ', static_cast<size_t>(w - n));
  std::memcpy(p + (w - n), b, static_cast<size_t>(n));
  return p + w;
}

inline char* put_i(char* p, int w, long v) {
  char b[24];
  auto r = std::to_chars(b, b + sizeof b, v);
  return field(p, w, b, r.ptr);
}

inline char* put_f(char* p, int w, int d, double v) {
  char b[360];
  auto r = std::to_chars(b, b + sizeof b, v, std::chars_format::fixed, d);
  if (d == 0) *r.ptr++ = '.';
  return field(p, w, b, r.ptr);
}

inline char* put_text(char* p, std::string_view s) {
  std::memcpy(p, s.data(), s.size());
  return p + s.size();
}

inline char* crlf(char* p) {
  p[0] = '\r';
  p[1] = '\n';
  return p + 2;
}

// Ew.d with one digit before the point and a two-digit exponent.
char* put_e(char* p, int w, int d, double v) {
  char b[64];
  auto r = std::to_chars(b, b + sizeof b, v, std::chars_format::scientific, d);
  for (char* q = b; q != r.ptr; ++q) {
    if (*q == 'e') *q = 'E';
  }
  return field(p, w, b, r.ptr);
}

// The 25-column real of text grid files: 17 significant digits, fixed form
// in 20 columns plus 5 blanks from 0.1 up to below 1e17 and for 0, else
// exponent form with three exponent digits.
char* put_list(char* p, double v) {
  char b[64];
  if (v == 0.0) {
    p = field(p, 20, "0.0000000000000000", "0.0000000000000000" + 18);
    std::memset(p, ' ', 5);
    return p + 5;
  }
  auto r = std::to_chars(b, b + sizeof b, v, std::chars_format::scientific, 16);
  const char* e = static_cast<const char*>(std::memchr(b, 'e', static_cast<size_t>(r.ptr - b)));
  int ex = 0;
  std::from_chars(e + (e[1] == '+' ? 2 : 1), r.ptr, ex);
  if (ex >= -1 && ex <= 16) {
    int k = ex + 1;
    auto f = std::to_chars(b, b + sizeof b, v, std::chars_format::fixed, 17 - k);
    p = field(p, 20, b, f.ptr);
    std::memset(p, ' ', 5);
    return p + 5;
  }
  char m[40];
  size_t mn = static_cast<size_t>(e - b);
  std::memcpy(m, b, mn);
  m[mn++] = 'E';
  m[mn++] = ex < 0 ? '-' : '+';
  int ax = ex < 0 ? -ex : ex;
  m[mn++] = static_cast<char>('0' + ax / 100);
  m[mn++] = static_cast<char>('0' + ax / 10 % 10);
  m[mn++] = static_cast<char>('0' + ax % 10);
  return field(p, 25, m, m + mn);
}

// ---------------------------------------------------------------- output files

struct Out {
  std::FILE* f = nullptr;
  std::string name;

  void open(const std::string& n, bool append) {
    name = n;
    f = std::fopen(n.c_str(), append ? "ab" : "wb");
    if (!f) fail("cannot create " + n);
    std::setvbuf(f, nullptr, _IOFBF, 1 << 20);
    ++g_tot.written_files;
  }
  void write(const char* b, const char* e) {
    size_t n = static_cast<size_t>(e - b);
    if (std::fwrite(b, 1, n, f) != n) fail("cannot write " + name);
    g_tot.written_bytes += static_cast<long long>(n);
  }
  void close() {
    if (f && std::fclose(f) != 0) fail("cannot close " + name);
    f = nullptr;
  }
};

// ---------------------------------------------------------------- parameter file

struct Setup {
  std::string dir[3] = {"co", "ks", "ne"};
  int ipump[3] = {1, 1, 1};
  int ss1 = 0, ss2 = 0, tr1 = 0, tr2 = -1;
  bool binary = false, append = false, annpump = false, annrech = false;
  std::vector<std::string> rchfile;
  std::string welfile;
  int nfile = 0;
  std::string filedir, fileext[3];
  std::string funfile;
  int ncurv = 0;
  int nsoil = 0;
  std::string plotfile;
};

std::vector<std::string> tokens(const std::string& line) {
  std::vector<std::string> t;
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r')) ++i;
    if (i >= line.size()) break;
    size_t j = i;
    if (line[i] == '"') {
      j = line.find('"', i + 1);
      if (j == std::string::npos) j = line.size();
      t.push_back(line.substr(i + 1, j - i - 1));
      i = j + 1;
      continue;
    }
    while (j < line.size() && line[j] != ' ' && line[j] != '\t' && line[j] != '\r') ++j;
    t.push_back(line.substr(i, j - i));
    i = j;
  }
  return t;
}

bool number(const std::string& s, double& v) {
  auto r = std::from_chars(s.data(), s.data() + s.size(), v);
  return r.ec == std::errc() && r.ptr == s.data() + s.size();
}

int to_int(const std::string& s) {
  int v = 0;
  std::from_chars(s.data(), s.data() + s.size(), v);
  return v;
}

Setup read_setup(const std::string& parfile) {
  std::string text;
  if (!slurp(parfile, text)) fail("cannot open " + parfile);
  std::vector<std::string> lines;
  for (size_t i = 0; i < text.size();) {
    size_t j = text.find('\n', i);
    if (j == std::string::npos) j = text.size();
    lines.push_back(text.substr(i, j - i));
    i = j + 1;
  }
  Setup s;
  for (size_t li = 0; li < lines.size(); ++li) {
    if (lines[li].empty() || lines[li][0] == '#') continue;
    std::vector<std::string> t = tokens(lines[li]);
    if (t.empty()) continue;
    std::string kw = t[0];
    for (char& ch : kw) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    auto arg = [&](size_t k) -> const std::string& {
      if (k >= t.size()) fail("missing argument on " + lines[li]);
      return t[k];
    };
    if (kw == "DIR") {
      for (int g = 0; g < 3; ++g) s.dir[g] = arg(1 + g);
    } else if (kw == "NOPUMP") {
      std::string st = arg(1);
      for (char& ch : st) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
      s.ipump[st == "CO" ? 0 : st == "KS" ? 1 : 2] = 0;
    } else if (kw == "STEADY") {
      s.ss1 = to_int(arg(1));
      s.ss2 = to_int(arg(2));
    } else if (kw == "TRANSIENT") {
      s.tr1 = to_int(arg(1));
      s.tr2 = to_int(arg(2));
    } else if (kw == "BIN") {
      s.binary = true;
    } else if (kw == "APPEND") {
      s.append = true;
    } else if (kw == "ANNPUMP") {
      s.annpump = true;
    } else if (kw == "ANNRECH") {
      s.annrech = true;
    } else if (kw == "RECHARGE") {
      s.rchfile.assign(t.begin() + 1, t.end());
    } else if (kw == "WELL") {
      s.welfile = arg(1);
    } else if (kw == "FILE") {
      s.nfile = 3;
      s.filedir = arg(1);
      for (int k = 0; k < 3; ++k) s.fileext[k] = arg(2 + k);
    } else if (kw == "SOIL") {
      std::string buf;
      if (!slurp(arg(1), buf)) fail("cannot open " + arg(1));
      s.nsoil = static_cast<int>(tokens(buf.substr(0, buf.find('\n'))).size());
    } else if (kw == "IBOUND" || kw == "BUDGET") {
      scan_small(arg(1));
    } else if (kw == "STATIONS") {
      scan_small(arg(1));
      scan_small(arg(2));
    } else if (kw == "TERRAIN") {
      scan_small(arg(1));
      scan_small(arg(2));
      s.plotfile = arg(3);
    } else if (kw == "FUNCTION") {
      s.funfile = arg(1);
      double last = 0.0;
      while (li + 1 < lines.size()) {
        const std::string& l = lines[li + 1];
        if (l.empty() || l[0] == '#') {
          ++li;
          continue;
        }
        std::vector<std::string> d = tokens(l);
        double p;
        if (d.empty()) {
          ++li;
          continue;
        }
        if (!number(d[0], p)) break;
        last = p;
        ++li;
      }
      s.ncurv = static_cast<int>(static_cast<long double>(last) * 10.0L + 1.0L);
    }
  }
  return s;
}

// ---------------------------------------------------------------- the run

struct Floor {
  Setup s;
  Reader in;
  bool mi_once = false;
  std::vector<char> buf;  // one whole block of output text

  Grid work = Grid(NCELL), pump = Grid(NCELL);
  Grid mi[3] = {Grid(NCELL), Grid(NCELL), Grid(NCELL)};  // the year's mi file of each group
  Grid rech[4] = {Grid(NCELL), Grid(NCELL), Grid(NCELL), Grid(NCELL)};
  Grid rcp = Grid(NCELL);  // stand-in for the recharge from precipitation, in/yr
  Grid area = Grid(NCELL), gwarea = Grid(NCELL);
  Grid annpump = Grid(NCELL), annmi = Grid(NCELL), annret = Grid(NCELL), annrcg = Grid(NCELL);
  std::vector<Grid> annrcp, annrech;
  std::vector<Out> rch;
  Out wel;

  char* block(size_t n) {
    if (buf.size() < n) buf.resize(n);
    return buf.data();
  }

  void function_table() {
    if (s.funfile.empty()) return;
    Out o;
    o.open(s.funfile, false);
    int w = 6 + 16 * s.nsoil;
    char* b = block(static_cast<size_t>(w + 2) * static_cast<size_t>(s.ncurv + 1));
    char* p = put_text(b, "Precip");
    for (int soil = 1; soil <= s.nsoil; ++soil) {
      for (int c = 0; c < 2; ++c) p = put_i(put_text(p, " Soil"), 3, soil);
    }
    p = crlf(p);
    for (int k = 1; k <= s.ncurv; ++k) {
      double P = (k - 1) / 10.0;
      p = put_f(p, 6, 1, P);
      for (int j = 0; j < 2 * s.nsoil; ++j) p = put_f(p, 8, 3, P * (0.05 + 0.02 * j));
      p = crlf(p);
    }
    o.write(b, p);
    o.close();
  }

  void terrain_plot() {
    if (s.plotfile.empty()) return;
    Out o;
    o.open(s.plotfile, false);
    char* b = block(static_cast<size_t>(NCOL * 6 + 2) * NROW);
    char* p = b;
    for (int r = 0; r < NROW; ++r) {
      for (int c = 0; c < NCOL; ++c) p = put_f(p, 6, 3, 0.5 + (r * NCOL + c) % 997 * 0.001);
      p = crlf(p);
    }
    o.write(b, p);
    o.close();
  }

  void open_model_files() {
    char line[64];
    wel.open(s.welfile, s.append);
    if (!s.append) {
      char* p = put_text(put_i(put_i(line, 10, 14000), 10, 0), " NOPRINT");
      wel.write(line, crlf(p));
    }
    rch.resize(s.rchfile.size());
    for (size_t k = 0; k < rch.size(); ++k) {
      rch[k].open(s.rchfile[k], s.append);
      if (!s.append) {
        char* p = put_i(put_i(line, 10, 1), 10, 0);
        rch[k].write(line, crlf(p));
      }
    }
  }

  // One stress period: read the group files, form the four recharge parts
  // and the pumping, write the arrays and the well block.
  void period(const std::string& pstem, const std::string& ystem, const char* label, double S,
              double w, bool new_year) {
    double q = S / YEAR_SECONDS;
    std::fill(pump.begin(), pump.end(), 0.0);
    for (Grid& g : rech) std::fill(g.begin(), g.end(), 0.0);
    double f = w * 53.333333333333336;
    for (int i = 0; i < NCELL; ++i) rech[0][i] += f * rcp[i];
    for (int g = 0; g < 3; ++g) {
      if (s.ipump[g]) {
        if (!mi_once || new_year) in.read(s.dir[g], ystem, "mi", mi[g]);
        for (int i = 0; i < NCELL; ++i) {
          pump[i] += q * mi[g][i];
          annmi[i] += q * mi[g][i];
        }
        in.read(s.dir[g], pstem, "pmp", work);
        for (int i = 0; i < NCELL; ++i) {
          pump[i] += work[i];
          annpump[i] += work[i];
        }
        in.read(s.dir[g], pstem, "rcg", work);
        for (int i = 0; i < NCELL; ++i) {
          rech[1][i] += work[i];
          annrcg[i] += work[i];
        }
      }
      in.read(s.dir[g], pstem, "rcs", work);
      for (int i = 0; i < NCELL; ++i) {
        rech[2][i] += work[i];
        annret[i] += work[i];
      }
      in.read(s.dir[g], pstem, "rcc", work);
      for (int i = 0; i < NCELL; ++i) {
        rech[3][i] += work[i];
        annret[i] += work[i];
      }
    }

    const double k = static_cast<double>(0.01875f);
    double M = 0.08333333333333333 / S;
    for (size_t j = 0; j < rch.size(); ++j) {
      // 165 rows of 16 lines of 20 values and one of 6; the header lines.
      char* b = block(64 + static_cast<size_t>(NROW) * (16 * 182 + 56));
      char* p = crlf(put_i(put_i(b, 10, 1), 10, 0));
      p = put_e(put_text(p, "INTERNAL "), 15, 8, M);
      p = put_text(put_i(put_text(p, " (20F9.5) "), 3, -1), " ");
      p = crlf(put_text(p, std::string_view(label, 7)));
      for (int r = 0; r < NROW; ++r) {
        for (int c = 0; c < NCOL; ++c) {
          int i = r * NCOL + c;
          double v = rch.size() == 1 ? (((rech[0][i] + rech[1][i]) + rech[2][i]) + rech[3][i]) * k
                                     : rech[j][i] * k;
          p = put_f(p, 9, 5, v);
          if (c % 20 == 19 || c == NCOL - 1) p = crlf(p);
        }
      }
      rch[j].write(b, p);
    }

    long n = 0;
    for (int i = 0; i < NCELL; ++i) n += pump[i] != 0.0;
    char* b = block(32 + static_cast<size_t>(n) * 22);
    char* p = put_i(put_i(b, 5, n), 3, -1);
    p = crlf(put_text(put_text(p, " "), std::string_view(label, 7)));
    double V = 43560.0 / S;
    for (int r = 0; r < NROW; ++r) {
      for (int c = 0; c < NCOL; ++c) {
        double v = pump[r * NCOL + c];
        if (v == 0.0) continue;
        p = put_i(put_i(put_i(p, 1, 1), 4, r + 1), 4, c + 1);
        p = crlf(put_f(p, 11, 6, -(v * V)));
      }
    }
    wel.write(b, p);
  }

  void clear_year() {
    for (Grid* g : {&annpump, &annmi, &annret, &annrcg, &area, &gwarea})
      std::fill(g->begin(), g->end(), 0.0);
  }

  void year_areas(const std::string& ystem) {
    for (int g = 0; g < 3; ++g) {
      if (s.ipump[g]) {
        in.read(s.dir[g], ystem, "agw", work);
        for (int i = 0; i < NCELL; ++i) {
          area[i] += work[i];
          gwarea[i] += work[i];
        }
      }
      for (const char* tag : {"asw", "aco"}) {
        in.read(s.dir[g], ystem, tag, work);
        for (int i = 0; i < NCELL; ++i) area[i] += work[i];
      }
    }
  }

  void store(const Grid& g, double factor, int year, const std::string& ext) {
    Out o;
    o.open(s.filedir + "/" + std::to_string(year) + "." + ext, false);
    if (s.binary) {
      char* b = block(static_cast<size_t>(GRID_BYTES) + 8);
      std::memcpy(b, &GRID_BYTES, 4);
      double* d = reinterpret_cast<double*>(b + 4);
      for (int i = 0; i < NCELL; ++i) {
        double v = factor * g[i];
        std::memcpy(d + i, &v, 8);
      }
      std::memcpy(b + 4 + GRID_BYTES, &GRID_BYTES, 4);
      o.write(b, b + GRID_BYTES + 8);
    } else {
      char* b = block(static_cast<size_t>(NROW) * (1 + NCOL * 26 + 2));
      char* p = b;
      for (int r = 0; r < NROW; ++r) {
        for (int c = 0; c < NCOL; ++c) {
          *p++ = ' ';
          p = put_list(p, factor * g[r * NCOL + c]);
        }
        p = crlf(p);
      }
      o.write(b, p);
    }
    o.close();
  }

  void pump_table(int year) {
    Out o;
    o.open(std::to_string(year) + "annpump.csv", false);
    char* b = block(64 + static_cast<size_t>(NCELL) * 72);
    char* p = crlf(put_text(b, "node, row, col, gwirr_af, gwrcg_af, mi_af, gw_ac"));
    for (int r = 1; r <= NROW; ++r) {
      for (int c = 1; c <= NCOL; ++c) {
        int i = (r - 1) * NCOL + (c - 1);
        p = put_i(p, 5, i + 1);
        *p++ = ',';
        p = put_i(p, 5, r);
        *p++ = ',';
        p = put_i(p, 5, c);
        *p++ = ',';
        for (const Grid* g : {&annpump, &annrcg, &annmi, &gwarea}) {
          p = put_f(p, 12, 2, (*g)[i]);
          *p++ = ',';
        }
        p = crlf(p);
      }
    }
    o.write(b, p);
    o.close();
  }

  void recharge_tables() {
    int n = s.tr2 - s.tr1 + 1;
    Out a, t;
    a.open("annrcp.csv", false);
    t.open("annrech.csv", false);
    size_t width = 50 + 13 * static_cast<size_t>(n) + 2;
    char* b = block(width * 2 * (NCELL + 1));
    char* pa = b;
    char* pt = b + width * (NCELL + 1);
    char* p = put_text(pa, " node,  row,  col, ibnd,        x_ft,        y_ft,");
    for (int y = s.tr1; y <= s.tr2; ++y) {
      p = put_i(p, 12, y);
      *p++ = ',';
    }
    p = crlf(p);
    std::memcpy(pt, pa, static_cast<size_t>(p - pa));
    char* qa = p;
    char* qt = pt + (p - pa);
    for (int r = 1; r <= NROW; ++r) {
      double yc = (NROW - r + 0.5) * CELL + Y0;
      for (int c = 1; c <= NCOL; ++c) {
        int i = (r - 1) * NCOL + (c - 1);
        double xc = (c - 0.5) * CELL + X0;
        for (int which = 0; which < 2; ++which) {
          char*& q = which == 0 ? qa : qt;
          q = put_i(q, 5, i + 1);
          *q++ = ',';
          q = put_i(q, 5, r);
          *q++ = ',';
          q = put_i(q, 5, c);
          *q++ = ',';
          q = put_i(q, 5, 1);
          *q++ = ',';
          q = put_f(q, 12, 0, xc);
          *q++ = ',';
          q = put_f(q, 12, 0, yc);
          *q++ = ',';
          const std::vector<Grid>& src = which == 0 ? annrcp : annrech;
          for (int y = 0; y < n; ++y) {
            q = put_f(q, 12, 6, src[static_cast<size_t>(y)][i]);
            *q++ = ',';
          }
          q = crlf(q);
        }
      }
    }
    a.write(pa, qa);
    t.write(b + width * (NCELL + 1), qt);
    a.close();
    t.close();
  }

  void run() {
    in.binary = s.binary;
    for (int i = 0; i < NCELL; ++i) rcp[i] = 0.25 + (i * 7919 % 4001) * 0.001;
    function_table();
    terrain_plot();
    open_model_files();
    if (s.ss1 > 0) {
      clear_year();
      period("steady", "steady", "Steady ", YEAR_SECONDS, 1.0, true);
    }
    bool tables = s.annrech && s.tr1 >= 1990 && s.tr2 <= 2015 && s.tr2 >= s.tr1;
    if (tables) {
      annrcp.assign(static_cast<size_t>(s.tr2 - s.tr1 + 1), Grid(NCELL));
      annrech.assign(static_cast<size_t>(s.tr2 - s.tr1 + 1), Grid(NCELL));
    }
    const double monmult = 1.0 / 12.0;
    for (int y = s.tr1; y <= s.tr2; ++y) {
      clear_year();
      std::string ystem = std::to_string(y);
      year_areas(ystem);
      if (s.nfile > 0) {
        store(rcp, 1.0, y, s.fileext[0]);
        store(area, 1.0, y, s.fileext[1]);
        store(rcp, 1.0, y, s.fileext[2]);
      }
      for (int m = 1; m <= 12; ++m) {
        int days = NDM[m - 1] + (m == 2 && y % 4 == 0 ? 1 : 0);
        char pstem[16], label[16];
        std::snprintf(pstem, sizeof pstem, "%4d.%02d", y, m);
        std::snprintf(label, sizeof label, "%2d/%4d", m, y);
        period(pstem, ystem, label, days * 86400.0, monmult, m == 1);
      }
      if (s.annpump) pump_table(y);
      if (tables) {
        Grid& a = annrcp[static_cast<size_t>(y - s.tr1)];
        Grid& t = annrech[static_cast<size_t>(y - s.tr1)];
        for (int i = 0; i < NCELL; ++i) {
          a[i] = rcp[i];
          t[i] = rcp[i] + 0.01875 * (annrcg[i] + annret[i]);
        }
      }
    }
    if (tables) recharge_tables();
    wel.close();
    for (Out& o : rch) o.close();
  }
};

}  // namespace

int main(int argc, char** argv) {
  std::string parfile;
  bool mi_once = false;
  for (int a = 1; a < argc; ++a) {
    if (std::strcmp(argv[a], "--mi-once") == 0) {
      mi_once = true;
    } else {
      parfile = argv[a];
    }
  }
  if (parfile.empty()) {
    std::fprintf(stderr, "Usage: io_floor <parameter file> [--mi-once]\n");
    return 2;
  }
  try {
    Floor f;
    f.s = read_setup(parfile);
    f.mi_once = mi_once;
    f.run();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "io_floor: %s\n", e.what());
    return 1;
  }
  std::printf("io_floor: read %lld bytes from %ld files, wrote %lld bytes to %ld files\n",
              g_tot.read_bytes, g_tot.read_files, g_tot.written_bytes, g_tot.written_files);
  return 0;
}
