// Readers of cell grids: real grids by directory/name/tag (text or framed
// binary), real text grids by path, and flag grids (plain or zoned).
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "utl/grid.h"

namespace vadz {

class GridPrefetcher;

// Reads real grids, reusing one file buffer for every read (no allocation
// once the buffer has grown to the largest file).
class GridReader {
 public:
  explicit GridReader(int ibin = 0) : ibin_(ibin) {}
  void set_binary(int ibin) { ibin_ = ibin; }
  // Serves readfile from a read-ahead of the run's planned reads when set.
  void set_prefetch(GridPrefetcher* p) { prefetch_ = p; }

  // Path dir(trailing blanks dropped) + "/" + name + "." + tag. A missing file
  // is fatal ("File does not exist ") when mustexist is 1, else a zero grid.
  void readfile(RealGrid& grid, std::string_view dir, std::string_view name,
                std::string_view tag, int mustexist);
  // Text grid by path: nskip leading lines skipped, then 165 rows of 326 numbers.
  void readreal(const std::string& path, RealGrid& grid, int nskip = 0);

 private:
  // Parses the text grid file at path_ (no allocation once buf_ has grown).
  void read_text(RealGrid& grid, int nskip);
  int ibin_;
  GridPrefetcher* prefetch_ = nullptr;
  std::string buf_;
  std::string path_;
};

// Convenience for one-off reads (XFACTOR).
void readreal(const std::string& path, RealGrid& grid, int nskip = 0);

// The field width of a plain flag file's rows (IBOUND).
inline constexpr int PLAIN_FLAG_WIDTH = 2;
// The field width of a zoned flag file's rows: one character for up to 9
// zones, two beyond.
int zoned_flag_width(int nzones);

// Flag grid. maxzones <= 0 selects the plain form (two-character fields, no
// header; nzones and names untouched). Otherwise the zoned form: the header
// names the zones (each cut to 16 characters), at most maxzones of them.
// "*" gives one zone "*" covering every cell.
void readflags(const std::string& path, FlagGrid& flags, std::vector<std::string>& names,
               int& nzones, int maxzones);

}  // namespace vadz
