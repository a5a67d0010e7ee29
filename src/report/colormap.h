// Colour maps of the report: viridis for quantities (perceptually uniform,
// readable in grey and by colour-blind readers) and a qualitative set for
// categories (soils, budget zones).
#pragma once
#include <cstdint>
#include <string>

namespace vadz {

struct Rgb {
  uint8_t r = 0, g = 0, b = 0;
};

// Viridis at step k of 256 (0 dark violet for the low end, 255 yellow).
Rgb viridis(int k);
// Viridis at t in [0, 1].
Rgb viridis_at(double t);

// Distinct colours of similar weight for categories; k wraps after NQUAL.
inline constexpr int NQUAL = 10;
Rgb qualitative(int k);
// The colour of "no category" (a cell without a soil): a neutral grey.
Rgb no_category();

// The report's charts colour each kind of irrigation and recharge alike
// (qualitative colours: precipitation, groundwater, surface water,
// commingled), and a total among its parts a dark neutral.
inline constexpr int COLOUR_PRECIP = 0, COLOUR_GW = 1, COLOUR_SW = 4, COLOUR_CO = 6;
inline constexpr Rgb TOTAL_COLOUR{51, 51, 51};

// "#rrggbb" for pages and SVG.
std::string css_colour(Rgb c);

}  // namespace vadz
