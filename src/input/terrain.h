// Terrain multipliers: kriged per terrain zone from scattered locations.
#pragma once
#include "krige/krige.h"
#include "utl/grid.h"
#include "utl/paramlines.h"

namespace vadz {

// Reads the TERRAIN line (rest of ls.line from ls.ipos), the terrain flag and
// multiplier files, kriges the multipliers into trn, applies the limits and
// writes the terrain plot file. Uses krig as the kriging storage.
void readterrain(LineState& ls, RealGrid& trn, Krig& krig);

}  // namespace vadz
