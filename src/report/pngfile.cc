#include "report/pngfile.h"

#include <png.h>
#include <zlib.h>

#include <cstring>
#include <stdexcept>

#include "utl/console.h"
#include "utl/textio.h"

namespace vadz {

namespace {

uint32_t get32(const uint8_t* p) {
  return uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | p[3];
}

void put32(uint8_t* p, uint32_t v) {
  p[0] = static_cast<uint8_t>(v >> 24);
  p[1] = static_cast<uint8_t>(v >> 16);
  p[2] = static_cast<uint8_t>(v >> 8);
  p[3] = static_cast<uint8_t>(v);
}

}  // namespace

std::vector<uint8_t> encode_png(const IndexedImage& image, const std::string& path) {
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
  // Maps are made for every year of a run: speed before the last byte.
  png.flags = PNG_IMAGE_FLAG_FAST;
  // Encoded in memory, so that the program's own checked file writes it (the
  // messages of every other output) and no C file handle passes between this
  // program and the library.
  // The room of the worst case (as large as the pixels), kept per thread
  // and reused; the map keeps only the bytes of its compressed image.
  thread_local std::vector<uint8_t> room;
  png_alloc_size_t size = PNG_IMAGE_PNG_SIZE_MAX(png);
  if (room.size() < size) room.resize(size);
  const int ok = png_image_write_to_memory(&png, room.data(), &size, 0, image.pixels.data(),
                                           image.width, colormap.data());
  png_image_free(&png);
  if (!ok) error("Cannot write to file " + path);
  return std::vector<uint8_t>(room.begin(), room.begin() + static_cast<std::ptrdiff_t>(size));
}

void recolour_png(std::vector<uint8_t>& png, const std::vector<Rgb>& colours) {
  // After the 8-byte signature, chunks: length, type, data, CRC of type and data.
  for (size_t at = 8; at + 12 <= png.size();) {
    const uint32_t length = get32(&png[at]);
    if (length > png.size() - at - 12) break;
    uint8_t* type = &png[at + 4];
    if (std::memcmp(type, "PLTE", 4) == 0) {
      uint8_t* data = type + 4;
      for (size_t k = 0; k < length / 3 && k < colours.size(); ++k) {
        data[3 * k] = colours[k].r;
        data[3 * k + 1] = colours[k].g;
        data[3 * k + 2] = colours[k].b;
      }
      put32(data + length, static_cast<uint32_t>(crc32(crc32(0, nullptr, 0), type, length + 4)));
      return;
    }
    at += 12 + length;
  }
  // Every palette image written by encode_png has its PLTE chunk.
  throw std::logic_error("PNG without a palette");
}

namespace {

void write_to(OutFile& out, const std::vector<uint8_t>& png) {
  out.write(reinterpret_cast<const char*>(png.data()), png.size());
  out.close();
}

}  // namespace

void save_png(const std::string& path, const std::vector<uint8_t>& png) {
  OutFile out;
  if (!out.open(path)) error("Cannot open file " + path);
  write_to(out, png);
}

void save_png(Staging& staged, const std::string& path, const std::vector<uint8_t>& png) {
  OutFile out;
  if (!staged.open(out, path)) error("Cannot open file " + path);
  write_to(out, png);
}

void write_png(const std::string& path, const IndexedImage& image) {
  save_png(path, encode_png(image, path));
}

}  // namespace vadz
