#include "report/pngfile.h"

#include <gtest/gtest.h>
#include <png.h>

#include "support/testutil.h"

namespace vadz {
namespace {

// The RGBA pixels of a PNG file.
std::vector<png_byte> decode(const std::string& path, png_uint_32& width, png_uint_32& height) {
  png_image back{};
  back.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&back, path.c_str())) return {};
  back.format = PNG_FORMAT_RGBA;
  std::vector<png_byte> rgba(PNG_IMAGE_SIZE(back));
  if (!png_image_finish_read(&back, nullptr, rgba.data(), 0, nullptr)) return {};
  width = back.width;
  height = back.height;
  return rgba;
}

void expect_colours(const std::vector<png_byte>& rgba, const IndexedImage& img) {
  ASSERT_EQ(rgba.size(), 4 * img.pixels.size());
  for (size_t i = 0; i < img.pixels.size(); ++i) {
    const IndexedImage::Entry& e = img.palette[img.pixels[i]];
    EXPECT_EQ(rgba[4 * i + 3], e.opaque ? 255 : 0) << i;
    if (!e.opaque) continue;
    EXPECT_EQ(rgba[4 * i], e.colour.r) << i;
    EXPECT_EQ(rgba[4 * i + 1], e.colour.g) << i;
    EXPECT_EQ(rgba[4 * i + 2], e.colour.b) << i;
  }
}

TEST(PngFileTest, PaletteImageReadsBackAsItsColoursAndTakesNewOnes) {
  IndexedImage img;
  img.width = 5;
  img.height = 3;
  img.palette = {{Rgb{0, 0, 0}, false}, {Rgb{10, 20, 30}, true}, {Rgb{250, 128, 1}, true}};
  for (int i = 0; i < 15; ++i) img.pixels.push_back(static_cast<uint8_t>(i % 3));
  test::TempDir dir;
  write_png(dir / "a.png", img);
  png_uint_32 w = 0, h = 0;
  expect_colours(decode(dir / "a.png", w, h), img);
  EXPECT_EQ(w, 5u);
  EXPECT_EQ(h, 3u);

  // New colours for the encoded image: the file decodes (its checksums hold)
  // to the new colours.
  std::vector<uint8_t> png = encode_png(img, "a.png");
  img.palette[1].colour = Rgb{1, 2, 3};
  img.palette[2].colour = Rgb{200, 100, 50};
  recolour_png(png, {Rgb{}, Rgb{1, 2, 3}, Rgb{200, 100, 50}});
  save_png(dir / "b.png", png);
  expect_colours(decode(dir / "b.png", w, h), img);
}

TEST(PngFileTest, FailuresNameTheFile) {
  IndexedImage img;
  img.width = img.height = 1;
  img.pixels = {0};
  img.palette = {{Rgb{}, true}};
  test::TempDir dir;
  const std::string missing = dir / "no/such/folder.png";
  EXPECT_EQ(test::fatal_line([&] { write_png(missing, img); }),
            " Cannot open file " + missing + "\r\n");
  EXPECT_EQ(test::fatal_line([&] { write_png("/dev/full", img); }),
            " Cannot write to file /dev/full\r\n");
}

}  // namespace
}  // namespace vadz
