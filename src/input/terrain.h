// Terrain multipliers: kriged per terrain zone from scattered locations.
#pragma once
#include <string>

#include "krige/krige.h"
#include "utl/grid.h"
#include "utl/paramlines.h"

namespace vadz {

// Reads the TERRAIN line (rest of ls.line from ls.ipos), the terrain flag and
// multiplier files, kriges the multipliers into trn and applies the limits.
// Uses krig as the kriging storage. Returns the name of the terrain plot
// file (trailing blanks dropped), which a run then writes with
// write_terrain_plot.
std::string readterrain(LineState& ls, RealGrid& trn, Krig& krig);

// The terrain plot file: the multiplier of every cell, one line per grid row.
void write_terrain_plot(const std::string& name, const RealGrid& trn);

}  // namespace vadz
