// PNG files of the report's maps. The only file that uses libpng: a build
// without it replaces this file alone.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "report/colormap.h"

namespace vadz {

// An image of palette indices, one byte per pixel, rows top to bottom.
struct IndexedImage {
  int width = 0, height = 0;
  std::vector<uint8_t> pixels;  // width * height indices
  // Up to 256 entries; an entry with opaque false is fully transparent.
  struct Entry {
    Rgb colour;
    bool opaque = true;
  };
  std::vector<Entry> palette;
};

// Writes the image as a palette PNG. Fatal: "Cannot open file " when the
// file cannot be created, "Cannot write to file " when writing fails.
void write_png(const std::string& path, const IndexedImage& image);

}  // namespace vadz
