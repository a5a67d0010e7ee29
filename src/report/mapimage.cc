#include "report/mapimage.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace vadz {

namespace {

// Palette index of cells outside the active area.
constexpr uint8_t OUTSIDE = 0;
// Viridis steps of a quantity image: indices 1..255.
constexpr int NSTEP = 255;

// An image with a transparent first palette entry; each cell's index from
// index(i) widened to MAP_PIXELS x MAP_PIXELS. Every pixel is set, so the
// room of an earlier image of the same size is reused as it is.
template <class IndexOf>
void draw(IndexedImage& img, const FlagGrid& ibound, std::vector<IndexedImage::Entry> palette,
          IndexOf index) {
  img.width = NCOL * MAP_PIXELS;
  img.height = NROW * MAP_PIXELS;
  img.pixels.resize(static_cast<size_t>(img.width) * img.height);
  img.palette = std::move(palette);
  for (int r = 0; r < NROW; ++r) {
    uint8_t* row = &img.pixels[static_cast<size_t>(r) * MAP_PIXELS * img.width];
    for (int c = 0; c < NCOL; ++c) {
      const int i = r * NCOL + c;
      const uint8_t k = ibound[i] > 0 ? index(i) : OUTSIDE;
      std::memset(row + c * MAP_PIXELS, k, MAP_PIXELS);
    }
    for (int k = 1; k < MAP_PIXELS; ++k)
      std::memcpy(row + static_cast<size_t>(k) * img.width, row, img.width);
  }
}

}  // namespace

void MapScale::add(double v) {
  if (!std::isfinite(v)) return;
  if (empty) {
    lo = hi = v;
    empty = false;
    return;
  }
  lo = std::min(lo, v);
  hi = std::max(hi, v);
}

void MapScale::add(const MapScale& other) {
  if (other.empty) return;
  add(other.lo);
  add(other.hi);
}

double MapScale::where(double v) const {
  if (!(hi > lo) || std::isnan(v)) return 0.5;
  return std::clamp((v - lo) / (hi - lo), 0.0, 1.0);
}

void add_to_scale(MapScale& scale, const RealGrid& values, const FlagGrid& ibound) {
  for (int i = 0; i < NCELL; ++i)
    if (ibound[i] > 0) scale.add(values[i]);
}

std::vector<Rgb> quantity_colours(const MapScale& by, const MapScale& on) {
  std::vector<Rgb> colours(NSTEP + 1);
  for (int k = 0; k < NSTEP; ++k) {
    // The value at the middle of step k of `by`, placed on `on`.
    const double v = by.hi > by.lo ? by.lo + (by.hi - by.lo) * k / (NSTEP - 1) : by.lo;
    colours[1 + k] = viridis_at(by.empty ? 0.5 : on.where(v));
  }
  return colours;
}

IndexedImage quantity_image(const RealGrid& values, const FlagGrid& ibound, const MapScale& by) {
  IndexedImage img;
  quantity_image(img, values, ibound, by);
  return img;
}

void quantity_image(IndexedImage& img, const RealGrid& values, const FlagGrid& ibound,
                    const MapScale& by) {
  const std::vector<Rgb> colours = quantity_colours(by, by);
  std::vector<IndexedImage::Entry> palette(NSTEP + 1);
  palette[OUTSIDE].opaque = false;
  for (int k = 1; k <= NSTEP; ++k) palette[k].colour = colours[k];
  draw(img, ibound, std::move(palette), [&](int i) {
    const double t = by.where(values[i]);
    return static_cast<uint8_t>(1 + std::lround(t * (NSTEP - 1)));
  });
}

IndexedImage category_image(const FlagGrid& categories, const FlagGrid& ibound, int ncat) {
  IndexedImage img;
  category_image(img, categories, ibound, ncat);
  return img;
}

void category_image(IndexedImage& img, const FlagGrid& categories, const FlagGrid& ibound,
                    int ncat) {
  std::vector<IndexedImage::Entry> palette(ncat + 2);
  palette[OUTSIDE].opaque = false;
  palette[1].colour = no_category();
  for (int k = 1; k <= ncat; ++k) palette[1 + k].colour = qualitative(k - 1);
  draw(img, ibound, std::move(palette), [&](int i) {
    const int k = categories[i];
    return static_cast<uint8_t>(k >= 1 && k <= ncat ? 1 + k : 1);
  });
}

}  // namespace vadz
