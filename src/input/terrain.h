// Terrain multipliers: kriged per terrain zone from scattered locations.
#pragma once
#include <array>
#include <string>

#include "krige/krige.h"
#include "utl/grid.h"
#include "utl/paramlines.h"

namespace vadz {

inline constexpr int TERRAIN_ZONES = 9;        // one-character fields of the flag file
inline constexpr int TERRAIN_LOCATIONS = 128;  // locations of the multiplier file

// What the TERRAIN line and the files it names hold.
struct TerrainData {
  FlagGrid zones = flag_grid(0);  // terrain zone of every cell, 0 for none
  int nz = 0;                     // zones the flag file names
  std::string plotname;
  double tmin = 0.0, tmax = 1.0e100;  // LIMIT
  int n = 0;                          // locations
  std::array<double, TERRAIN_LOCATIONS> x{}, y{};
  // Multipliers zone by zone: each zone's values are the data of its kriging.
  std::array<std::array<double, TERRAIN_LOCATIONS>, TERRAIN_ZONES> mult{};
};

// Reads the TERRAIN line (rest of ls.line from ls.ipos), the terrain flag
// file and the multiplier file.
void read_terrain(LineState& ls, TerrainData& t);
// Kriges each zone's multipliers onto its cells (1 outside every zone) and
// holds them to the limits. Uses krig as the kriging storage.
void krige_terrain(const TerrainData& t, RealGrid& trn, Krig& krig);
// Both, for the TERRAIN keyword. Returns the name of the terrain plot file
// (trailing blanks dropped), which a run then writes with write_terrain_plot.
std::string readterrain(LineState& ls, RealGrid& trn, Krig& krig);

// The terrain plot file: the multiplier of every cell, one line per grid row.
void write_terrain_plot(const std::string& name, const RealGrid& trn);

}  // namespace vadz
