#include "report/pngfile.h"

#include <png.h>

#include "utl/console.h"
#include "utl/textio.h"

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

  // Encoded in memory and written by our own checked file, so that the
  // file's faults get the messages of every other output, and no C file
  // handle passes between this program and the library.
  OutFile out;
  if (!out.open(path)) error("Cannot open file " + path);
  png_alloc_size_t size = PNG_IMAGE_PNG_SIZE_MAX(png);
  std::vector<png_byte> encoded(size);
  const int ok = png_image_write_to_memory(&png, encoded.data(), &size, 0, image.pixels.data(),
                                           image.width, colormap.data());
  png_image_free(&png);
  if (!ok) error("Cannot write to file " + path);
  out.write(reinterpret_cast<const char*>(encoded.data()), size);
  out.close();
}

}  // namespace vadz
