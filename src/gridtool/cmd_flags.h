// vadz grid flags: a zoned flag file (soils, budget zones, terrain zones)
// from a class raster or a polygon layer, each cell in the zone covering
// the largest part of it.
#pragma once

namespace vadz {

inline constexpr const char* FLAGS_USAGE =
    "usage: vadz grid flags <parameter file> <raster or vector layer> <output> "
    "[--attribute NAME] [--zones A,B,...] [--layer NAME] [--band N]";

int grid_flags(int argc, const char* const* argv);

}  // namespace vadz
