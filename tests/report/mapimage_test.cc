#include "report/mapimage.h"

#include <gtest/gtest.h>

namespace vadz {
namespace {

// The palette index of the pixel at the centre of cell (c, r), from 1.
uint8_t at(const IndexedImage& img, int c, int r) {
  return img.pixels[static_cast<size_t>((r - 1) * MAP_PIXELS + 1) * img.width +
                    (c - 1) * MAP_PIXELS + 1];
}

TEST(MapImageTest, ScaleEndsTakeTheColourMapsEndsAndInactiveCellsAreClear) {
  FlagGrid ibound = flag_grid(1);
  RealGrid v = real_grid(5.0);
  v[cell(1, 1)] = 2.0;      // the low end
  v[cell(326, 165)] = 8.0;  // the high end
  v[cell(10, 10)] = 1e9;    // inactive: outside the scale
  ibound[cell(10, 10)] = 0;
  ibound[cell(11, 10)] = -1;
  MapScale scale;
  add_to_scale(scale, v, ibound);
  EXPECT_EQ(scale.lo, 2.0);
  EXPECT_EQ(scale.hi, 8.0);

  const IndexedImage img = quantity_image(v, ibound, scale);
  ASSERT_EQ(img.width, NCOL * MAP_PIXELS);
  ASSERT_EQ(img.height, NROW * MAP_PIXELS);
  ASSERT_EQ(img.pixels.size(), static_cast<size_t>(img.width) * img.height);
  const uint8_t lo = at(img, 1, 1), hi = at(img, 326, 165), mid = at(img, 2, 1);
  EXPECT_EQ(img.palette[lo].colour.r, viridis(0).r);
  EXPECT_EQ(img.palette[lo].colour.b, viridis(0).b);
  EXPECT_EQ(img.palette[hi].colour.g, viridis(255).g);
  EXPECT_EQ(img.palette[hi].colour.r, viridis(255).r);
  EXPECT_GT(mid, lo);
  EXPECT_LT(mid, hi);
  for (int c : {10, 11}) {
    EXPECT_FALSE(img.palette[at(img, c, 10)].opaque) << c;
  }
  EXPECT_TRUE(img.palette[mid].opaque);
  // Every pixel of a cell has the cell's colour.
  EXPECT_EQ(img.pixels[static_cast<size_t>(MAP_PIXELS - 1) * img.width + MAP_PIXELS - 1], lo);
  EXPECT_EQ(img.pixels[MAP_PIXELS], mid);
}

TEST(MapImageTest, AYearDrawnOverItsOwnRangeTakesTheColoursOfTheCommonScale) {
  MapScale year, all;
  year.add(2.0);
  year.add(8.0);
  all.add(0.0);
  all.add(10.0);
  all.add(year);
  EXPECT_EQ(all.lo, 0.0);
  EXPECT_EQ(all.hi, 10.0);
  const std::vector<Rgb> c = quantity_colours(year, all);
  ASSERT_EQ(c.size(), 256u);
  // Step 1 stands for 2 (0.2 of the way), step 255 for 8 (0.8).
  EXPECT_EQ(css_colour(c[1]), css_colour(viridis_at(0.2)));
  EXPECT_EQ(css_colour(c[255]), css_colour(viridis_at(0.8)));
  EXPECT_EQ(css_colour(c[128]), css_colour(viridis_at(0.5)));
  // On its own range the same steps span the whole colour map.
  const std::vector<Rgb> own = quantity_colours(year, year);
  EXPECT_EQ(css_colour(own[1]), css_colour(viridis(0)));
  EXPECT_EQ(css_colour(own[255]), css_colour(viridis(255)));
}

TEST(MapImageTest, SoilsTakeOneColourEachAndCellsWithoutSoilAreGrey) {
  FlagGrid ibound = flag_grid(1), soil = flag_grid(2);
  soil[cell(1, 1)] = 1;
  soil[cell(3, 1)] = 0;
  ibound[cell(4, 1)] = 0;
  const IndexedImage img = category_image(soil, ibound, 2);
  auto colour = [&](int c) { return img.palette[at(img, c, 1)]; };
  EXPECT_EQ(css_colour(colour(1).colour), css_colour(qualitative(0)));
  EXPECT_EQ(css_colour(colour(2).colour), css_colour(qualitative(1)));
  EXPECT_EQ(css_colour(colour(3).colour), css_colour(no_category()));
  EXPECT_FALSE(colour(4).opaque);
}

}  // namespace
}  // namespace vadz
