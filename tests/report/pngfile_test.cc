#include "report/pngfile.h"

#include <gtest/gtest.h>
#include <png.h>

#include "support/testutil.h"

namespace vadz {
namespace {

TEST(PngFileTest, PaletteImageReadsBackAsItsColours) {
  IndexedImage img;
  img.width = 5;
  img.height = 3;
  img.palette = {{Rgb{0, 0, 0}, false}, {Rgb{10, 20, 30}, true}, {Rgb{250, 128, 1}, true}};
  for (int i = 0; i < 15; ++i) img.pixels.push_back(static_cast<uint8_t>(i % 3));
  test::TempDir dir;
  write_png(dir / "a.png", img);

  png_image back{};
  back.version = PNG_IMAGE_VERSION;
  ASSERT_TRUE(png_image_begin_read_from_file(&back, (dir / "a.png").c_str()));
  back.format = PNG_FORMAT_RGBA;
  std::vector<png_byte> rgba(PNG_IMAGE_SIZE(back));
  ASSERT_TRUE(png_image_finish_read(&back, nullptr, rgba.data(), 0, nullptr));
  ASSERT_EQ(back.width, 5u);
  ASSERT_EQ(back.height, 3u);
  for (int i = 0; i < 15; ++i) {
    const IndexedImage::Entry& e = img.palette[img.pixels[i]];
    EXPECT_EQ(rgba[4 * i + 3], e.opaque ? 255 : 0) << i;
    if (!e.opaque) continue;
    EXPECT_EQ(rgba[4 * i], e.colour.r) << i;
    EXPECT_EQ(rgba[4 * i + 1], e.colour.g) << i;
    EXPECT_EQ(rgba[4 * i + 2], e.colour.b) << i;
  }
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
