// PNG files of the report's maps. The only file that uses libpng: a build
// without it replaces this file alone.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "report/colormap.h"
#include "utl/staging.h"

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

// The image as a palette PNG in memory. Fatal "Cannot write to file " with
// path (the file it is meant for) when libpng cannot encode it.
std::vector<uint8_t> encode_png(const IndexedImage& image, const std::string& path);

// Gives an encoded PNG's palette new colours, entry for entry (as many as
// it has; transparency unchanged). The pixels, compressed once, stay as
// they are: a map can be encoded before its colour scale is known.
void recolour_png(std::vector<uint8_t>& png, const std::vector<Rgb>& colours);

// Writes an encoded PNG. Fatal: "Cannot open file " when the file cannot be
// created, "Cannot write to file " when writing fails.
void save_png(const std::string& path, const std::vector<uint8_t>& png);
// The same, the file staged.
void save_png(Staging& staged, const std::string& path, const std::vector<uint8_t>& png);

// encode_png and save_png.
void write_png(const std::string& path, const IndexedImage& image);

}  // namespace vadz
