#include "input/gridio.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "input/prefetch.h"
#include "utl/console.h"
#include "utl/interrupt.h"
#include "utl/scan.h"
#include "utl/textio.h"

namespace vadz {

namespace {


inline bool is_blank(char ch) { return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n'; }
inline bool is_sep(char ch) { return is_blank(ch) || ch == ','; }

constexpr double POW10[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                            1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                            1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// The common token: up to 19 significant digits and a small decimal
// exponent. Digits and power of ten are then both exact doubles, so one
// multiplication or division gives the correctly rounded value. False when
// the token needs the general path.
inline bool short_decimal(const char* p, const char* end, const char*& e, double& v) {
  bool neg = p != end && *p == '-';
  if (neg) ++p;
  uint64_t m = 0;
  int ndig = 0, exp10 = 0;
  // Every digit counts towards the 19, leading zeros too: a rare long
  // token just takes the general path.
  const char* d0 = p;
  for (; p != end && *p >= '0' && *p <= '9'; ++p) m = m * 10 + static_cast<unsigned>(*p - '0');
  ndig = static_cast<int>(p - d0);
  if (p != end && *p == '.') {
    const char* f0 = ++p;
    for (; p != end && *p >= '0' && *p <= '9'; ++p) m = m * 10 + static_cast<unsigned>(*p - '0');
    exp10 = -static_cast<int>(p - f0);
    ndig -= exp10;
  }
  if (ndig == 0 || ndig > 19) return false;
  if (p != end && (*p == 'e' || *p == 'E')) {
    ++p;
    bool eneg = p != end && *p == '-';
    if (p != end && (*p == '-' || *p == '+')) ++p;
    int x = 0, nx = 0;
    for (; p != end && *p >= '0' && *p <= '9'; ++p, ++nx)
      if (nx < 5) x = x * 10 + (*p - '0');
    if (nx == 0 || nx > 4) return false;
    exp10 += eneg ? -x : x;
  }
  if (p != end && !is_sep(*p)) return false;
  if (m == 0) {
    v = neg ? -0.0 : 0.0;
  } else if (m <= (uint64_t{1} << 53) && exp10 >= -22 && exp10 <= 22) {
    double d = static_cast<double>(m);
    v = exp10 < 0 ? d / POW10[-exp10] : d * POW10[exp10];
    if (neg) v = -v;
  } else {
    return false;
  }
  e = p;
  return true;
}

// One number token [t, e): the plain decimal/exponent forms through the
// short path or from_chars; the other forms the scanners know (D and Q
// exponents, 1.5+3, a leading '+') through parse_real. False for anything else.
inline bool grid_number(const char* t, const char* end, const char*& e, double& v) {
  if (short_decimal(t, end, e, v)) return true;
  auto [q, ec] = std::from_chars(t, end, v);
  if (ec == std::errc() && (q == end || is_sep(*q))) {
    e = q;
  } else {
    e = t;
    while (e != end && !is_sep(*e)) ++e;
    if (!parse_real(std::string_view(t, static_cast<size_t>(e - t)), v)) return false;
  }
  return std::isfinite(v);
}

// Parses the rows of a text grid from p. Each row starts on a new line and
// may wrap over several lines; the rest of the line holding a row's last
// number is ignored. Values are separated by blanks, tabs, line ends and at
// most one comma: two commas would be a null value that leaves a cell unread.
bool parse_text_grid(const char* p, const char* end, double* grid) {
  for (int r = 0; r < NROW; ++r) {
    double* row = grid + static_cast<size_t>(r) * NCOL;
    for (int c = 0; c < NCOL; ++c) {
      bool comma = false;
      for (;;) {
        if (p == end) return false;
        char ch = *p;
        if (is_blank(ch)) {
          ++p;
        } else if (ch == ',') {
          if (comma || c == 0) return false;
          comma = true;
          ++p;
        } else {
          break;
        }
      }
      const char* e;
      if (!grid_number(p, end, e, row[c])) return false;
      p = e;
    }
    const void* nl = std::memchr(p, '\n', static_cast<size_t>(end - p));
    p = nl ? static_cast<const char*>(nl) + 1 : end;
  }
  return true;
}

// Reads the first record of a framed binary grid file into grid.
// 0 success, 1 the file cannot be opened, 2 it cannot be read.
int read_binary_grid(const std::string& path, std::string& buf, double* grid) {
  std::FILE* fp = std::fopen(path.c_str(), "rb");
  if (!fp) return 1;
  auto get_i32 = [&](int32_t& v) {
    unsigned char b[4];
    if (std::fread(b, 1, 4, fp) != 4) return false;
    v = static_cast<int32_t>(static_cast<uint32_t>(b[0]) | static_cast<uint32_t>(b[1]) << 8 |
                             static_cast<uint32_t>(b[2]) << 16 |
                             static_cast<uint32_t>(b[3]) << 24);
    return true;
  };
  // A binary grid is one framed record: int32 byte count, a double per
  // cell (430,320 bytes on the default grid), count.
  const int32_t GRID_BYTES = NCELL * 8;
  int32_t count = 0, trailer = 0;
  bool ok = get_i32(count) && count >= GRID_BYTES;
  // On a little-endian machine the doubles go straight into the grid.
  constexpr bool direct = std::endian::native == std::endian::little;
  char* dest = direct ? reinterpret_cast<char*>(grid) : nullptr;
  if (ok && !direct) {
    buf.resize(GRID_BYTES);
    dest = buf.data();
  }
  if (ok) ok = std::fread(dest, 1, GRID_BYTES, fp) == static_cast<size_t>(GRID_BYTES);
  // The record must be complete: its closing count present and equal.
  if (ok && count > GRID_BYTES) ok = std::fseek(fp, count - GRID_BYTES, SEEK_CUR) == 0;
  if (ok) ok = get_i32(trailer) && trailer == count;
  std::fclose(fp);
  if (!ok) return 2;
  if (!direct) {
    const unsigned char* b = reinterpret_cast<const unsigned char*>(buf.data());
    for (int i = 0; i < NCELL; ++i, b += 8) {
      uint64_t u = 0;
      for (int k = 7; k >= 0; --k) u = u << 8 | b[k];
      grid[i] = std::bit_cast<double>(u);
    }
  }
  for (int i = 0; i < NCELL; ++i)
    if (!std::isfinite(grid[i])) return 2;
  return 0;
}

// Value of one flag field: blanks ignored, all blank 0, an optional sign and
// digits. False for any other character.
bool flag_field(const char* f, int w, int32_t& v) {
  bool neg = false, sign = false, digit = false;
  int32_t x = 0;
  for (int i = 0; i < w; ++i) {
    char ch = f[i];
    if (ch == ' ') continue;
    if ((ch == '-' || ch == '+') && !sign && !digit) {
      sign = true;
      neg = ch == '-';
    } else if (ch >= '0' && ch <= '9') {
      digit = true;
      x = x * 10 + (ch - '0');
    } else {
      return false;
    }
  }
  if (sign && !digit) return false;
  v = neg ? -x : x;
  return true;
}

// Reads 165 lines of fixed fields of width w into flags.
bool read_flag_rows(LineReader& lr, int w, FlagGrid& flags) {
  char pad[2] = {' ', ' '};
  std::string_view line;
  for (int r = 0; r < NROW; ++r) {
    if (!lr.next(line)) return false;
    int32_t* row = flags.data() + static_cast<size_t>(r) * NCOL;
    for (int c = 0; c < NCOL; ++c) {
      size_t at = static_cast<size_t>(c) * w;
      const char* f = pad;
      char part[2];
      if (at + w <= line.size()) {
        f = line.data() + at;
      } else if (at < line.size()) {
        part[0] = line[at];
        part[1] = ' ';
        f = part;
      }
      if (!flag_field(f, w, row[c])) return false;
    }
  }
  return true;
}

void ensure_size(RealGrid& g) {
  if (g.size() != static_cast<size_t>(NCELL)) g.assign(NCELL, 0.0);
}

}  // namespace

void GridReader::readfile(RealGrid& grid, std::string_view dir, std::string_view name,
                          std::string_view tag, int mustexist) {
  // Every period reads grids, on this thread or ahead on another: a signal
  // stops the run at the next read.
  check_interrupt();
  if (prefetch_ && prefetch_->take(grid, dir, name, tag, mustexist)) return;
  path_.assign(rtrim(dir));
  path_ += '/';
  path_ += name;
  path_ += '.';
  path_ += tag;
  ensure_size(grid);
  if (!file_exists(path_)) {
    if (mustexist == 1) error("File does not exist " + path_);
    std::fill(grid.begin(), grid.end(), 0.0);
    return;
  }
  if (ibin_ == 1) {
    int rc = read_binary_grid(path_, buf_, grid.data());
    if (rc == 1) error("Cannot open file " + path_);
    if (rc == 2) error("Cannot read file " + path_);
    return;
  }
  read_text(grid, 0);
}

void GridReader::readreal(const std::string& path, RealGrid& grid, int nskip) {
  check_interrupt();
  path_.assign(rtrim(path));
  ensure_size(grid);
  read_text(grid, nskip);
}

void GridReader::read_text(RealGrid& grid, int nskip) {
  const std::string& p = path_;
  if (!read_whole_file(p, buf_)) error2("Error opening file", p);
  const char* b = buf_.data();
  const char* end = b + buf_.size();
  for (int i = 0; i < nskip; ++i) {
    if (b == end) error2("Error reading file header", p);
    const void* nl = std::memchr(b, '\n', static_cast<size_t>(end - b));
    b = nl ? static_cast<const char*>(nl) + 1 : end;
  }
  if (!parse_text_grid(b, end, grid.data())) error2("Error reading file", p);
}

void readreal(const std::string& path, RealGrid& grid, int nskip) {
  GridReader reader;
  reader.readreal(path, grid, nskip);
}

int zoned_flag_width(int nzones) { return nzones <= 9 ? 1 : 2; }

void readflags(const std::string& path, FlagGrid& flags, std::vector<std::string>& names,
               int& nzones, int maxzones) {
  std::string p(rtrim(path));
  if (flags.size() != static_cast<size_t>(NCELL)) flags.assign(NCELL, 0);
  if (p == "*") {
    nzones = 1;
    names.assign(1, "*");
    std::fill(flags.begin(), flags.end(), 1);
    return;
  }
  std::string buf;
  if (!read_whole_file(p, buf)) error2("Error opening file", p);
  LineReader lr(buf);
  if (maxzones <= 0) {
    if (!read_flag_rows(lr, PLAIN_FLAG_WIDTH, flags)) error2("Error reading file", p);
    return;
  }
  // The header names the zones; it is scanned as it stands (a tab does not
  // separate two names), over its first 256 characters.
  std::string_view header;
  if (!lr.next(header)) error2("Error reading file header", p);
  header = header.substr(0, 256);
  nzones = 0;
  names.clear();
  int pos = 1, status = 0;
  for (;;) {
    std::string tok = charin(header, pos, pos, status);
    if (status != 0) break;
    if (++nzones > maxzones) error2("Too many zones in", p);
    if (tok.size() > 16) tok.resize(16);
    names.push_back(std::move(tok));
  }
  const int w = zoned_flag_width(nzones);
  if (!read_flag_rows(lr, w, flags)) error2("Error reading file", p);
  for (int32_t v : flags)
    if (v < 0 || v > nzones) error2("Zone out of range in file", p);
}

}  // namespace vadz
