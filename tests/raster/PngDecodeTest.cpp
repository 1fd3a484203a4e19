// Decoding PNGs made here with libpng's writer: every colour type the transformations touch, the
// pixel byte order, and input that must be refused.
#include <gtest/gtest.h>
#include <png.h>
#include <zlib.h>

#include <memory>

#include "raster/PngDecode.h"
#include "raster/PngEncode.h"
#include "tests/raster/RasterTestSupport.h"

namespace {

std::vector<unsigned char> EncodePng(const PngImage& image) {
  std::vector<unsigned char> out;
  EncodePngImage(image, out);
  return out;
}

std::unique_ptr<LICE_MemBitmap> Decode(const std::vector<unsigned char>& bytes) {
  return std::unique_ptr<LICE_MemBitmap>(DecodePngImage(bytes.data(), static_cast<int>(bytes.size())));
}

PngImage NumberedRgba(int width, int height, bool interlaced) {
  PngImage image{width, height, PNG_COLOR_TYPE_RGBA, 8, interlaced};
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      image.rows.insert(image.rows.end(),
                        {static_cast<unsigned char>(x), static_cast<unsigned char>(y),
                         static_cast<unsigned char>(x ^ y), static_cast<unsigned char>(255 - x)});
    }
  }
  return image;
}

TEST(DecodePng, RgbaKeepsStraightAlphaWithRedAndBlueInTheirPlaces) {
  PngImage image = NumberedRgba(904, 416, false);
  image.rows[0] = 0x11, image.rows[1] = 0x22, image.rows[2] = 0x33, image.rows[3] = 0x44;
  auto bitmap = Decode(EncodePng(image));
  ASSERT_TRUE(bitmap);
  EXPECT_EQ(bitmap->Width(), 904);
  EXPECT_EQ(bitmap->Height(), 416);
  EXPECT_EQ(bitmap->RowSpan(), 904);
  EXPECT_EQ(PixelAt(*bitmap, 0, 0), 0x44112233u);
  const auto* bytes = reinterpret_cast<const unsigned char*>(bitmap->Pixels());
  EXPECT_EQ(bytes[0], 0x33);  // blue first in memory
  EXPECT_EQ(bytes[3], 0x44);
  EXPECT_EQ(PixelAt(*bitmap, 903, 415),
            LicePixelFromChannels(903 & 255, 415 & 255, (903 ^ 415) & 255, 255 - 903 % 256));
}

TEST(DecodePng, InterlacedImagesAreAssembled) {
  auto plain = Decode(EncodePng(NumberedRgba(13, 11, false)));
  auto interlaced = Decode(EncodePng(NumberedRgba(13, 11, true)));
  ASSERT_TRUE(plain && interlaced);
  for (int y = 0; y < 11; ++y) {
    for (int x = 0; x < 13; ++x)
      ASSERT_EQ(PixelAt(*interlaced, x, y), PixelAt(*plain, x, y)) << x << "," << y;
  }
}

TEST(DecodePng, SixteenBitRgbKeepsHighBytesAndIsOpaque) {
  PngImage image{2, 1, PNG_COLOR_TYPE_RGB, 16};
  image.rows = {0x12, 0xFF, 0x34, 0x80, 0x56, 0x01, 0xFF, 0xFF, 0x00, 0xFF, 0x7F, 0x80};
  auto bitmap = Decode(EncodePng(image));
  ASSERT_TRUE(bitmap);
  EXPECT_EQ(PixelAt(*bitmap, 0, 0), 0xFF123456u);
  EXPECT_EQ(PixelAt(*bitmap, 1, 0), 0xFFFF007Fu);  // no rounding up
}

TEST(DecodePng, PaletteTransparencyBecomesAlpha) {
  PngImage image{3, 1, PNG_COLOR_TYPE_PALETTE, 4};
  image.palette = {{10, 20, 30}, {40, 50, 60}, {70, 80, 90}};
  image.transparency = {0, 128};  // the third entry has none: opaque
  image.rows = {0x12, 0x00};      // indices 1, 2, 0
  auto bitmap = Decode(EncodePng(image));
  ASSERT_TRUE(bitmap);
  EXPECT_EQ(PixelAt(*bitmap, 0, 0), LicePixelFromChannels(40, 50, 60, 128));
  EXPECT_EQ(PixelAt(*bitmap, 1, 0), LicePixelFromChannels(70, 80, 90, 255));
  EXPECT_EQ(PixelAt(*bitmap, 2, 0), LicePixelFromChannels(10, 20, 30, 0));
}

TEST(DecodePng, GrayImagesBecomeOpaqueOrAlphaCarryingRgb) {
  PngImage oneBit{10, 1, PNG_COLOR_TYPE_GRAY, 1};
  oneBit.rows = {0xA0, 0x40};  // 1 0 1 0 0 0 0 0 | 0 1
  auto bits = Decode(EncodePng(oneBit));
  ASSERT_TRUE(bits);
  EXPECT_EQ(PixelAt(*bits, 0, 0), 0xFFFFFFFFu);
  EXPECT_EQ(PixelAt(*bits, 1, 0), 0xFF000000u);
  EXPECT_EQ(PixelAt(*bits, 9, 0), 0xFFFFFFFFu);

  PngImage grayAlpha{1, 1, PNG_COLOR_TYPE_GRAY_ALPHA, 8};
  grayAlpha.rows = {0x5A, 0x30};
  auto withAlpha = Decode(EncodePng(grayAlpha));
  ASSERT_TRUE(withAlpha);
  EXPECT_EQ(PixelAt(*withAlpha, 0, 0), 0x305A5A5Au);

  PngImage keyed{2, 1, PNG_COLOR_TYPE_GRAY, 8};
  keyed.rows = {0x40, 0x41};
  keyed.transparentGray = 0x40;
  auto transparent = Decode(EncodePng(keyed));
  ASSERT_TRUE(transparent);
  EXPECT_EQ(PixelAt(*transparent, 0, 0), 0x00404040u);
  EXPECT_EQ(PixelAt(*transparent, 1, 0), 0xFF414141u);
}

TEST(DecodePng, ShortWrongAndTruncatedInputGivesNone) {
  const std::vector<unsigned char> file = EncodePng(NumberedRgba(64, 64, false));
  ASSERT_TRUE(Decode(file));
  EXPECT_EQ(DecodePngImage(file.data(), 7), nullptr);
  EXPECT_EQ(DecodePngImage(nullptr, 100), nullptr);
  std::vector<unsigned char> wrong = file;
  wrong[1] = 'Q';
  EXPECT_FALSE(Decode(wrong));
  // Cut inside the image data, or inside the image data's checksum.
  EXPECT_EQ(DecodePngImage(file.data(), static_cast<int>(file.size()) / 2), nullptr);
  EXPECT_EQ(DecodePngImage(file.data(), static_cast<int>(file.size()) - 13), nullptr);
}

void AppendChunk(std::vector<unsigned char>& out, const char* type, const std::vector<unsigned char>& data) {
  const auto size = static_cast<std::uint32_t>(data.size());
  const unsigned char length[4] = {static_cast<unsigned char>(size >> 24),
                                   static_cast<unsigned char>(size >> 16),
                                   static_cast<unsigned char>(size >> 8), static_cast<unsigned char>(size)};
  out.insert(out.end(), length, length + 4);
  const size_t start = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), data.begin(), data.end());
  const uLong crc = crc32(0, out.data() + start, static_cast<uInt>(out.size() - start));
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<unsigned char>(crc >> shift));
}

// A header libpng accepts for an image no memory can hold, followed by a little image data.
std::vector<unsigned char> HugeImageHeader(std::uint32_t width, std::uint32_t height) {
  std::vector<unsigned char> out = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  std::vector<unsigned char> header;
  for (std::uint32_t v : {width, height}) {
    for (int shift = 24; shift >= 0; shift -= 8) header.push_back(static_cast<unsigned char>(v >> shift));
  }
  header.insert(header.end(), {8, PNG_COLOR_TYPE_RGBA, 0, 0, 0});
  AppendChunk(out, "IHDR", header);
  AppendChunk(out, "IDAT", {0x78, 0x9C, 0x63, 0x00, 0x00, 0x00, 0x01, 0x00, 0x01});
  AppendChunk(out, "IEND", {});
  return out;
}

// The signature and header of a 4 x 4 image, then a chunk of `type` that declares `declared`
// bytes of which `present` follow.
std::vector<unsigned char> ChunkCutShort(const char* type, std::uint32_t declared, std::size_t present) {
  std::vector<unsigned char> out = HugeImageHeader(4, 4);
  out.resize(8 + 25);  // signature and IHDR
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<unsigned char>(declared >> shift));
  out.insert(out.end(), type, type + 4);
  out.resize(out.size() + present, 'x');
  return out;
}

// The decoder stops at the first read past the end. Reading on would have libpng read and
// check phantom bytes: gigabytes of them for a chunk that claims gigabytes, and a report of a
// damaged chunk rather than of the end of the data.
TEST(DecodePng, AReadPastTheEndEndsTheDecodeThere) {
  const std::vector<unsigned char> whole = EncodePng(NumberedRgba(64, 64, false));
  const std::vector<unsigned char> cutIdat(whole.begin(), whole.begin() + whole.size() / 2);
  const struct {
    const char* what;
    std::vector<unsigned char> bytes;
  } cases[] = {
      {"an ancillary chunk that declares 1.9 GB", ChunkCutShort("bLob", 0x71000000u, 97)},
      {"a text chunk longer than the file", ChunkCutShort("tEXt", 200, 50)},
      {"image data cut in the middle", cutIdat},
  };
  for (const auto& c : cases) {
    testing::internal::CaptureStderr();
    EXPECT_FALSE(Decode(c.bytes)) << c.what;
    const std::string reported = testing::internal::GetCapturedStderr();
    EXPECT_NE(reported.find("ends early"), std::string::npos) << c.what << ": " << reported;
    EXPECT_EQ(reported.find("CRC"), std::string::npos) << c.what << ": " << reported;
  }
}

TEST(DecodePng, OversizeDimensionsGiveNoneWithoutAllocating) {
  EXPECT_FALSE(Decode(HugeImageHeader(1000000, 1000000)));
  EXPECT_FALSE(Decode(HugeImageHeader(23171, 23171)));   // just over 2^31 bytes of pixels
  EXPECT_FALSE(Decode(HugeImageHeader(0x7FFFFFFF, 1)));  // past libpng's own limit
}

}  // namespace
