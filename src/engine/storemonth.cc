#include "engine/storemonth.h"

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <string>
#include <system_error>

#include "utl/console.h"
#include "utl/format.h"
#include "utl/lebytes.h"
#include "utl/textio.h"

namespace vadz {

namespace {

// One grid row of a text file: a leading blank, then a value of 25 columns
// per grid column, each after the first preceded by one blank, then CR LF.
size_t text_line() { return 1 + LISTREAL_WIDTH + (NCOL - 1) * (LISTREAL_WIDTH + 1) + 2; }

std::string_view trim_right(std::string_view s) {
  size_t n = s.size();
  while (n > 0 && s[n - 1] == ' ') --n;
  return s.substr(0, n);
}

// dir/steady.ext, dir/YYYY.ext or dir/YYYY.MM.ext.
std::string grid_file_name(int year, int month, std::string_view dir, std::string_view ext) {
  std::string name(trim_right(dir));
  char buf[16];
  if (year <= 0) {
    name += "/steady.";
  } else if (month <= 0) {
    put_int(buf, 4, year);
    name += '/';
    name.append(buf, 4);
    name += '.';
  } else {
    put_fixed(buf, 7, 2, year + month / 100.0);
    name += '/';
    name.append(buf, 7);
    name += '.';
  }
  name += trim_right(ext);
  return name;
}

// One framed record: byte count, the values, byte count again.
void write_binary(OutFile& f, const RealGrid& grid, double factor) {
  std::string row_bytes(static_cast<size_t>(NCOL) * 8, '\0');
  char* const buf = row_bytes.data();
  char len[4];
  put_le32(len, static_cast<uint32_t>(NCELL) * 8u);
  f.write(len, 4);
  for (int r = 1; r <= NROW; ++r) {
    const double* row = &grid[cell(1, r)];
    for (int c = 0; c < NCOL; ++c) put_le64(buf + 8 * c, factor * row[c]);
    f.write(buf, row_bytes.size());
  }
  f.write(len, 4);
}

void write_text(OutFile& f, const RealGrid& grid, double factor) {
  std::string line(text_line(), ' ');
  char* const buf = line.data();
  for (int r = 1; r <= NROW; ++r) {
    const double* row = &grid[cell(1, r)];
    char* p = buf;
    for (int c = 0; c < NCOL; ++c) {
      *p++ = ' ';
      p = put_listreal(p, factor * row[c]);
    }
    *p++ = '\r';
    *p++ = '\n';
    f.write(buf, static_cast<size_t>(p - buf));
  }
}

void remove_stale(const std::string& name) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(std::filesystem::symlink_status(name, ec))) return;
  if (std::filesystem::remove(name, ec) || !ec) return;
  diag_write(render(
      Diag{name, "an earlier run's grid cannot be removed (this run's grid is all zero): " +
                     ec.message(),
           {}, ""},
      "warning"));
}

}  // namespace

void storemonth(const RealGrid& grid, double factor, int year, int month, std::string_view dir,
                std::string_view ext, int ibin) {
  if (factor == 0.0) return;
  double s = 0.0;
  for (int i = 0; i < NCELL; ++i) s = s + std::fabs(factor * grid[i]);
  const std::string name = grid_file_name(year, month, dir, ext);
  if (s == 0.0) {
    // An all-zero grid (a year without irrigation data, say) is not
    // written; a file of its name from an earlier run would read as this
    // run's, so it goes.
    remove_stale(name);
    return;
  }
  OutFile f;
  if (!f.open(name)) error("Cannot open file " + name);
  if (ibin != 0) {
    write_binary(f, grid, factor);
  } else {
    write_text(f, grid, factor);
  }
  f.close();
}

}  // namespace vadz
