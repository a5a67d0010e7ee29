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
#include "utl/diag.h"
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

// Where a text grid's parse stopped: the token (or the end of the data)
// and the model row and column (from 0) of the value it was reading.
struct TextFault {
  const char* at = nullptr;
  int row = 0, col = 0;
};

// Parses the rows of a text grid from p. Each row starts on a new line and
// may wrap over several lines; the rest of the line holding a row's last
// number is ignored. Values are separated by blanks, tabs, line ends and at
// most one comma: two commas would be a null value that leaves a cell unread.
// On a fault, fault tells where.
bool parse_text_grid(const char* p, const char* end, double* grid, TextFault& fault) {
  for (int r = 0; r < NROW; ++r) {
    double* row = grid + static_cast<size_t>(r) * NCOL;
    for (int c = 0; c < NCOL; ++c) {
      bool comma = false;
      for (;;) {
        if (p == end) {
          fault = {p, r, c};
          return false;
        }
        char ch = *p;
        if (is_blank(ch)) {
          ++p;
        } else if (ch == ',') {
          if (comma || c == 0) {
            fault = {p, r, c};
            return false;
          }
          comma = true;
          ++p;
        } else {
          break;
        }
      }
      const char* e;
      if (!grid_number(p, end, e, row[c])) {
        fault = {p, r, c};
        return false;
      }
      p = e;
    }
    const void* nl = std::memchr(p, '\n', static_cast<size_t>(end - p));
    p = nl ? static_cast<const char*>(nl) + 1 : end;
  }
  return true;
}

// Numbers on each line of a text grid's data, for telling a short or
// missing row from a bad value.
std::vector<int> tokens_per_line(const char* p, const char* end) {
  std::vector<int> counts;
  while (p != end) {
    const char* nl = static_cast<const char*>(std::memchr(p, '\n', static_cast<size_t>(end - p)));
    const char* e = nl ? nl : end;
    int n = 0;
    for (const char* q = p; q != e;) {
      while (q != e && is_sep(*q)) ++q;
      if (q == e) break;
      ++n;
      while (q != e && !is_sep(*q)) ++q;
    }
    counts.push_back(n);
    p = nl ? nl + 1 : end;
  }
  return counts;
}

// The place of a text grid's fault: the token's line and column, the model
// cell it was to fill, and what usually causes it.
Diag text_grid_fault(const std::string& path, std::string_view text, const char* data,
                     const TextFault& f) {
  Diag d;
  const char* end = text.data() + text.size();
  long line = 0, col = 0;
  line_col(text, static_cast<size_t>(f.at - text.data()), line, col);
  d.where = text_place(path, line, col);
  const std::string cell = "row " + std::to_string(f.row + 1) + ", column " + std::to_string(f.col + 1);
  if (f.at == end) {
    d.notes.push_back("the file ends before model " + cell);
    // One model row per line is the usual layout: name the short line.
    const std::vector<int> counts = tokens_per_line(data, end);
    const long first = static_cast<long>(std::count(text.data(), data, '\n')) + 1;
    size_t full = 0;
    while (full < counts.size() && counts[full] == NCOL) ++full;
    if (full == counts.size() || (full + 1 == counts.size() && counts[full] == 0))
      d.hint = "the file holds " + std::to_string(full) + " rows of " + std::to_string(NCOL) +
               " values; the model grid has " + std::to_string(NROW) + " rows: a row is missing";
    else if (full > 0)
      d.hint = "line " + std::to_string(first + static_cast<long>(full)) + " holds " +
               std::to_string(counts[full]) + " values, not " + std::to_string(NCOL) +
               ": a row is short";
  } else {
    const char* e = f.at;
    while (e != end && !is_sep(*e)) ++e;
    d.notes.push_back("reading the value of model " + cell + ": '" +
                      std::string(f.at, static_cast<size_t>(std::min<ptrdiff_t>(e - f.at, 40))) + "'");
  }
  return d;
}

// Where a binary grid's read stopped: a byte offset, and the value index
// (from 0) when a value is at fault, else -1.
struct BinaryFault {
  long offset = 0;
  long index = -1;
  std::string what;
};

// Reads the first record of a framed binary grid file into grid.
// 0 success, 1 the file cannot be opened, 2 it cannot be read (fault says why).
int read_binary_grid(const std::string& path, std::string& buf, double* grid, BinaryFault& fault) {
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
  bool ok = get_i32(count);
  if (!ok) fault = {0, -1, "the file is shorter than its 4-byte record length"};
  if (ok && count < GRID_BYTES) {
    ok = false;
    fault = {0, -1, "the record length is " + std::to_string(count) + " bytes, " +
                        std::to_string(GRID_BYTES) + " expected (53,790 doubles)"};
  }
  // On a little-endian machine the doubles go straight into the grid.
  constexpr bool direct = std::endian::native == std::endian::little;
  char* dest = direct ? reinterpret_cast<char*>(grid) : nullptr;
  if (ok && !direct) {
    buf.resize(GRID_BYTES);
    dest = buf.data();
  }
  if (ok) {
    const size_t got = std::fread(dest, 1, GRID_BYTES, fp);
    ok = got == static_cast<size_t>(GRID_BYTES);
    if (!ok)
      fault = {4 + static_cast<long>(got), static_cast<long>(got / 8),
               "the file ends inside the record, at value index " + std::to_string(got / 8)};
  }
  // The record must be complete: its closing count present and equal.
  if (ok && count > GRID_BYTES) ok = std::fseek(fp, count - GRID_BYTES, SEEK_CUR) == 0;
  if (ok) {
    ok = get_i32(trailer) && trailer == count;
    if (!ok) fault = {4 + static_cast<long>(count), -1, "the record's closing length is missing or differs"};
  }
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
    if (!std::isfinite(grid[i])) {
      fault = {4 + 8L * i, i, "value index " + std::to_string(i) + " (model row " +
                                  std::to_string(i / NCOL + 1) + ", column " +
                                  std::to_string(i % NCOL + 1) + ") is not a finite number"};
      return 2;
    }
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

// Where a flag file's rows stopped: the model row and column (from 0) and
// whether the file ended there.
struct FlagFault {
  int row = 0, col = 0;
  bool ended = false;
};

// Reads 165 lines of fixed fields of width w into flags.
bool read_flag_rows(LineReader& lr, int w, FlagGrid& flags, FlagFault& fault) {
  char pad[2] = {' ', ' '};
  std::string_view line;
  for (int r = 0; r < NROW; ++r) {
    if (!lr.next(line)) {
      fault = {r, 0, true};
      return false;
    }
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
      if (!flag_field(f, w, row[c])) {
        fault = {r, c, false};
        return false;
      }
    }
  }
  return true;
}

// The place of a flag file's fault: the field's line and column (the
// header, when there is one, is line 1), and the model cell.
Diag flag_fault(const std::string& path, int header, int w, const FlagFault& f) {
  Diag d;
  const long line = header + f.row + 1;
  if (f.ended) {
    d.where = path;
    d.notes.push_back("the file ends after line " + std::to_string(line - 1) + "; " +
                      std::to_string(NROW) + " rows of " + std::to_string(NCOL) + " fields" +
                      (header ? " after the header line" : "") + " are read");
  } else {
    d.where = text_place(path, line, static_cast<long>(f.col) * w + 1);
    d.notes.push_back("model row " + std::to_string(f.row + 1) + ", column " +
                      std::to_string(f.col + 1) + ": a field of " + std::to_string(w) +
                      (w == 1 ? " character" : " characters") + " holds a sign and digits only");
  }
  return d;
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
    if (mustexist == 1) {
      const PlaceScope at([this] { return Diag{path_, "", {}, open_hint(path_)}; });
      error("File does not exist " + path_);
    }
    std::fill(grid.begin(), grid.end(), 0.0);
    return;
  }
  if (ibin_ == 1) {
    BinaryFault fault;
    int rc = read_binary_grid(path_, buf_, grid.data(), fault);
    if (rc == 1) {
      const PlaceScope at([this] { return Diag{path_, "", {}, open_hint(path_)}; });
      error("Cannot open file " + path_);
    }
    if (rc == 2) {
      const PlaceScope at([&] {
        return Diag{path_, "", {"byte offset " + std::to_string(fault.offset) + ": " + fault.what}, ""};
      });
      error("Cannot read file " + path_);
    }
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
  if (!read_whole_file(p, buf_)) error_open("Error opening file", p);
  const char* b = buf_.data();
  const char* end = b + buf_.size();
  for (int i = 0; i < nskip; ++i) {
    if (b == end) error2("Error reading file header", p);
    const void* nl = std::memchr(b, '\n', static_cast<size_t>(end - b));
    b = nl ? static_cast<const char*>(nl) + 1 : end;
  }
  TextFault fault;
  if (!parse_text_grid(b, end, grid.data(), fault)) {
    const PlaceScope at([&] { return text_grid_fault(p, buf_, b, fault); });
    error2("Error reading file", p);
  }
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
  if (!read_whole_file(p, buf)) error_open("Error opening file", p);
  LineReader lr(buf);
  FlagFault fault;
  if (maxzones <= 0) {
    if (!read_flag_rows(lr, PLAIN_FLAG_WIDTH, flags, fault)) {
      const PlaceScope at([&] { return flag_fault(p, 0, PLAIN_FLAG_WIDTH, fault); });
      error2("Error reading file", p);
    }
    return;
  }
  // The header names the zones; it is scanned as it stands (a tab does not
  // separate two names), over its first 256 characters.
  std::string_view header;
  if (!lr.next(header)) error2("Error reading file header", p);
  header = header.substr(0, 256);
  // A header of digits only is the first row of flags: the names are missing.
  const bool digits_only = header.find_first_not_of("0123456789 ") == std::string_view::npos &&
                           header.find_first_not_of(' ') != std::string_view::npos;
  const std::string no_header =
      digits_only ? "line 1 holds digits, not zone names: a zoned flag file starts with a header "
                    "line naming its zones"
                  : "";
  nzones = 0;
  names.clear();
  int pos = 1, status = 0;
  for (;;) {
    std::string tok = charin(header, pos, pos, status);
    if (status != 0) break;
    if (++nzones > maxzones) {
      const PlaceScope at([&] {
        return Diag{text_place(p, 1, token_start(header, pos)), "",
                    {"at most " + std::to_string(maxzones) + " zones are named on the header line"},
                    no_header};
      });
      error2("Too many zones in", p);
    }
    if (tok.size() > 16) tok.resize(16);
    names.push_back(std::move(tok));
  }
  const int w = zoned_flag_width(nzones);
  if (!read_flag_rows(lr, w, flags, fault)) {
    const PlaceScope at([&] {
      Diag d = flag_fault(p, 1, w, fault);
      d.hint = no_header;
      return d;
    });
    error2("Error reading file", p);
  }
  for (size_t i = 0; i < flags.size(); ++i) {
    const int32_t v = flags[i];
    if (v < 0 || v > nzones) {
      const int r = static_cast<int>(i) / NCOL, c = static_cast<int>(i) % NCOL;
      const PlaceScope at([&] {
        return Diag{text_place(p, r + 2, static_cast<long>(c) * w + 1), "",
                    {"model row " + std::to_string(r + 1) + ", column " + std::to_string(c + 1) +
                     ": zone " + std::to_string(v) + "; the header names " + std::to_string(nzones) +
                     (nzones == 1 ? " zone" : " zones")},
                    ""};
      });
      error2("Zone out of range in file", p);
    }
  }
}

}  // namespace vadz
