#include "report/pngfile.h"

#include <png.h>

#include <cstdio>

#include "utl/console.h"

namespace vadz {

void write_png(const std::string& path, const IndexedImage& image) {
  std::vector<png_byte> colormap;
  colormap.reserve(4 * image.palette.size());
  for (const IndexedImage::Entry& e : image.palette) {
    colormap.push_back(e.colour.r);
    colormap.push_back(e.colour.g);
    colormap.push_back(e.colour.b);
    colormap.push_back(e.opaque ? 255 : 0);
  }
  png_image png{};
  png.version = PNG_IMAGE_VERSION;
  png.width = static_cast<png_uint_32>(image.width);
  png.height = static_cast<png_uint_32>(image.height);
  png.format = PNG_FORMAT_RGBA_COLORMAP;
  png.colormap_entries = static_cast<png_uint_32>(image.palette.size());
  // Maps are written for every year of a run: speed before the last byte.
  png.flags = PNG_IMAGE_FLAG_FAST;

  // The file is opened here, not by libpng, so that a file that cannot be
  // created and a write that fails get their own messages.
  std::FILE* fp = std::fopen(path.c_str(), "wb");
  if (!fp) error("Cannot open file " + path);
  const int ok = png_image_write_to_stdio(&png, fp, 0, image.pixels.data(), image.width,
                                          colormap.data());
  png_image_free(&png);
  const bool flushed = std::fflush(fp) == 0 && !std::ferror(fp);
  if (std::fclose(fp) != 0 || !ok || !flushed) error("Cannot write to file " + path);
}

}  // namespace vadz
