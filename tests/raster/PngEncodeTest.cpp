// Encoding: a bitmap's pixels come back from the decoder as they were, whichever way up it keeps
// its rows, and what libpng would read past or refuse gives no file.
#include <gtest/gtest.h>

#include <memory>

#include "raster/PngDecode.h"
#include "raster/PngEncode.h"
#include "tests/raster/RasterTestSupport.h"

namespace {

TEST(EncodePng, ABitmapComesBackWithItsPixelsAndStraightAlphaFromTheTopRow) {
  LICE_MemBitmap padded(5, 3);  // rows padded to eight pixels in memory
  BottomUpBitmap bottomUp(5, 3);
  for (LICE_IBitmap* bitmap : {static_cast<LICE_IBitmap*>(&padded), static_cast<LICE_IBitmap*>(&bottomUp)}) {
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 5; ++x)
        RowPointer(*bitmap, y)[x] = LicePixelFromChannels(50 * x, 100 * y, x ^ y, 40 * x);
    std::vector<unsigned char> png;
    ASSERT_TRUE(EncodePngImage(*bitmap, png));
    const std::unique_ptr<LICE_MemBitmap> decoded(DecodePngImage(png.data(), static_cast<int>(png.size())));
    ASSERT_TRUE(decoded);
    ASSERT_EQ(decoded->Width(), 5);
    ASSERT_EQ(decoded->Height(), 3);
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 5; ++x) EXPECT_EQ(PixelAt(*decoded, x, y), PixelAt(*bitmap, x, y)) << x << "," << y;
  }
}

TEST(EncodePng, RowsThatDoNotFillTheHeaderAndHeadersLibpngRefusesGiveNoFile) {
  const struct {
    const char* what;
    PngImage image;
    std::size_t bytes;
  } cases[] = {
      {"rows a byte short", PngImage(3, 2, kPngRgb, 8), 17},
      {"rows a byte long", PngImage(3, 2, kPngRgb, 8), 19},
      {"no width", PngImage(0, 2, kPngRgb, 8), 0},
      {"a colour type PNG lacks", PngImage(3, 2, 5, 8), 18},
      {"RGB at four bits", PngImage(3, 2, kPngRgb, 4), 10},
      {"a palette image without a palette", PngImage(3, 2, kPngPalette, 8), 6},
  };
  for (auto c : cases) {
    c.image.rows.assign(c.bytes, 0x7F);
    std::vector<unsigned char> out = {1};
    testing::internal::CaptureStderr();  // libpng says why
    EXPECT_FALSE(EncodePngImage(c.image, out)) << c.what;
    testing::internal::GetCapturedStderr();
    EXPECT_TRUE(out.empty()) << c.what;
  }
  LICE_MemBitmap empty;
  std::vector<unsigned char> out;
  EXPECT_FALSE(EncodePngImage(empty, out));
}

}  // namespace
