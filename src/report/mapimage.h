// Cell grids drawn as images: each cell a square of pixels, rows north to
// south; cells outside the active area (IBOUND <= 0) transparent.
#pragma once
#include <vector>

#include "report/pngfile.h"
#include "utl/grid.h"

namespace vadz {

// Pixels per cell side of every map.
inline constexpr int MAP_PIXELS = 3;

// The range of a quantity's colour scale, shared by all its maps. Empty
// until a value is added.
struct MapScale {
  double lo = 0.0, hi = 0.0;
  bool empty = true;
  void add(double v);
  void add(const MapScale& other);
  // Position of v on the scale, 0..1 (0.5 for a scale of one value).
  double where(double v) const;
};

// The extent of a quantity over the active cells, added to the scale.
void add_to_scale(MapScale& scale, const RealGrid& values, const FlagGrid& ibound);

// A quantity in viridis: the values quantised into 255 steps over the
// scale `by`, each step coloured for its place on the same scale.
IndexedImage quantity_image(const RealGrid& values, const FlagGrid& ibound, const MapScale& by);
// The same, drawn into img, whose pixel room is reused from map to map.
void quantity_image(IndexedImage& img, const RealGrid& values, const FlagGrid& ibound,
                    const MapScale& by);
// The colours of the palette of a quantity image drawn over `by` when the
// map shows the scale `on` (which holds `by`): a year's map is drawn over
// the year's own range and coloured on the quantity's range over all years.
std::vector<Rgb> quantity_colours(const MapScale& by, const MapScale& on);

// Categories 1..ncat in the qualitative colours, 0 (no category) in grey.
IndexedImage category_image(const FlagGrid& categories, const FlagGrid& ibound, int ncat);
void category_image(IndexedImage& img, const FlagGrid& categories, const FlagGrid& ibound,
                    int ncat);

}  // namespace vadz
