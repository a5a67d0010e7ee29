#include "gridtool/gridfile.h"

#include <cstdint>

#include "utl/console.h"
#include "utl/format.h"
#include "utl/lebytes.h"
#include "utl/textio.h"

namespace vadz {

void write_real_grid(const std::string& path, const TargetGrid& g, const std::vector<double>& v,
                     bool binary) {
  OutFile f;
  if (!f.open(path)) error("Cannot open file " + path);
  if (binary) {
    // One record: byte count, the doubles row by row, byte count again.
    const uint64_t bytes = static_cast<uint64_t>(g.ncell()) * 8u;
    if (bytes > 0x7fffffffu) error("Grid too large for a binary grid file " + path);
    char len[4];
    put_le32(len, static_cast<uint32_t>(bytes));
    f.write(len, 4);
    std::vector<char> buf(static_cast<size_t>(g.ncol) * 8);
    for (int r = 1; r <= g.nrow; ++r) {
      for (int c = 1; c <= g.ncol; ++c)
        put_le64(buf.data() + 8 * (c - 1), v[static_cast<size_t>(g.index(c, r))]);
      f.write(buf.data(), buf.size());
    }
    f.write(len, 4);
  } else {
    std::vector<char> buf(static_cast<size_t>(g.ncol) * (LISTREAL_WIDTH + 1) + 2);
    for (int r = 1; r <= g.nrow; ++r) {
      char* p = buf.data();
      for (int c = 1; c <= g.ncol; ++c) {
        *p++ = ' ';
        p = put_listreal(p, v[static_cast<size_t>(g.index(c, r))]);
      }
      *p++ = '\r';
      *p++ = '\n';
      f.write(buf.data(), static_cast<size_t>(p - buf.data()));
    }
  }
  f.close();
}

void write_zoned_flags(const std::string& path, const TargetGrid& g,
                       const std::vector<std::string>& names, const std::vector<int>& zone) {
  OutFile f;
  if (!f.open(path)) error("Cannot open file " + path);
  std::string head;
  for (const std::string& n : names) {
    if (!head.empty()) head += ' ';
    // A name holding a blank is quoted, as the flag reader takes it.
    head += n.find(' ') != std::string::npos ? '"' + n + '"' : n;
  }
  f.line(head);
  const int w = names.size() <= 9 ? 1 : 2;
  std::string line;
  char buf[8];
  for (int r = 1; r <= g.nrow; ++r) {
    line.clear();
    for (int c = 1; c <= g.ncol; ++c) {
      put_int(buf, w, zone[static_cast<size_t>(g.index(c, r))]);
      line.append(buf, static_cast<size_t>(w));
    }
    f.line(line);
  }
  f.close();
}

}  // namespace vadz
