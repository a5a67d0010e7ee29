// A small basin of its own for end-to-end tests of the input check: a block
// of 41 rows by 101 columns of active cells in the middle of the grid, two
// soils, five stations, a steady window 1988-1989, transient years
// 1990-1991 and irrigation in one KS valley. Held as file name -> content,
// so that a test can make a mistake in it before writing it out.
#pragma once
#include <map>
#include <string>

namespace vadz::test {

using Files = std::map<std::string, std::string>;

// The basin's files, the parameter file as "basin.par".
Files small_basin();
// Writes every file under dir (folders made as needed; a name ending in
// '/' is an empty folder).
void write_files(const std::string& dir, const Files& files);

// The basin's active block.
inline constexpr int BASIN_ROW1 = 60, BASIN_ROW2 = 100, BASIN_COL1 = 120, BASIN_COL2 = 220;
inline bool in_basin(int c, int r) {
  return r >= BASIN_ROW1 && r <= BASIN_ROW2 && c >= BASIN_COL1 && c <= BASIN_COL2;
}

}  // namespace vadz::test
