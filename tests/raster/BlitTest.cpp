// Pixel-exact blits: every operation at the usual weights over three source alphas, and the
// clipping rules. Expected values were worked out from the formulas by hand (with a calculator
// script), not by running this code.
#include <gtest/gtest.h>

#include <climits>
#include <limits>

#include "raster/Raster.h"
#include "tests/raster/RasterTestSupport.h"

namespace {

constexpr LicePixel kDest = 0xC8643C96;
constexpr LicePixel kSources[3] = {0x001EDC5A, 0x801EDC5A, 0xFF1EDC5A};

struct ModeCase {
  int mode;
  float weight;
  LicePixel expected[3];  // for the three source alphas 0, 128, 255
};

constexpr int kA = BlitUseAlpha;

// clang-format off
const ModeCase kBlitCases[] = {
{0, 1.0f, {0x001EDC5A, 0x801EDC5A, 0xFF1EDC5A}}, {0, 0.5f, {0x64418C78, 0xA4418C78, 0xE3418C78}},
{0, 0.49f, {0x66418B78, 0xA4418B78, 0xE3418B78}}, {0, 0.25f, {0x96526487, 0xB6526487, 0xD6526487}},
{1, 1.0f, {0xC882FFF0, 0xFF82FFF0, 0xFF82FFF0}}, {1, 0.5f, {0xC873AAC3, 0xFF73AAC3, 0xFF73AAC3}},
{1, 0.49f, {0xC872A7C1, 0xFF72A7C1, 0xFF72A7C1}}, {1, 0.25f, {0xC86B73AC, 0xE86B73AC, 0xFF6B73AC}},
{2, 1.0f, {0xC871FFE7, 0xFF71FFE7, 0xFF71FFE7}}, {2, 0.5f, {0xC86A69B5, 0xFF6A69B5, 0xFF6A69B5}},
{2, 0.49f, {0xC86967B4, 0xFF6967B4, 0xFF6967B4}}, {2, 0.25f, {0xC8664CA4, 0xE4664CA4, 0xFF664CA4}},
{3, 1.0f, {0x000B3334, 0x640B3334, 0xC70B3334}}, {3, 0.5f, {0x64373765, 0x96373765, 0xC7373765}},
{3, 0.49f, {0x66383766, 0x97383766, 0xC7383766}}, {3, 0.25f, {0x964D397D, 0xAF4D397D, 0xC74D397D}},
{4, 1.0f, {0x9C355D83, 0xC8355D83, 0xF3355D83}}, {4, 0.5f, {0xB24C4C8C, 0xC84C4C8C, 0xDD4C4C8C}},
{4, 0.49f, {0xB24D4C8C, 0xC84D4C8C, 0xDD4D4C8C}}, {4, 0.25f, {0xBD584491, 0xC8584491, 0xD2584491}},
{5, 1.0f, {0x00004A0A, 0x80004A0A, 0xFF004A0A}}, {5, 0.5f, {0x00055070, 0x80055070, 0xFF055070}},
{5, 0.49f, {0x00064E71, 0x80064E71, 0xFF064E71}}, {5, 0.25f, {0x001D2A83, 0x801D2A83, 0xFF1D2A83}},
{kA | 0, 1.0f, {0xC8643C96, 0xFF408D77, 0xFF1EDC5A}}, {kA | 0, 0.5f, {0xC8643C96, 0xFF526487, 0xFF418C78}},
{kA | 0, 0.49f, {0xC8643C96, 0xFF536387, 0xFF418B78}}, {kA | 0, 0.25f, {0xC8643C96, 0xE85B508E, 0xFF526487}},
{kA | 1, 1.0f, {0xC8643C96, 0xFF73AAC3, 0xFF82FFF0}}, {kA | 1, 0.5f, {0xC8643C96, 0xE86B73AC, 0xFF73AAC3}},
{kA | 1, 0.49f, {0xC8643C96, 0xE76B71AB, 0xFF72A7C1}}, {kA | 1, 0.25f, {0xC8643C96, 0xD86757A1, 0xFF6B73AC}},
{kA | 2, 1.0f, {0xC8643C96, 0xFF6A69B5, 0xFF71FFE7}}, {kA | 2, 0.5f, {0xC8643C96, 0xE4664CA4, 0xFF6A69B5}},
{kA | 2, 0.49f, {0xC8643C96, 0xE3664BA3, 0xFF6967B4}}, {kA | 2, 0.25f, {0xC8643C96, 0xD565439C, 0xFF664CA4}},
{kA | 3, 1.0f, {0xC8643C96, 0x95373764, 0xC70B3334}}, {kA | 3, 0.5f, {0xC8643C96, 0xAF4D397D, 0xC7373765}},
{kA | 3, 0.49f, {0xC8643C96, 0xAF4E397E, 0xC7383766}}, {kA | 3, 0.25f, {0xC8643C96, 0xBB583A89, 0xC74D397D}},
{kA | 4, 1.0f, {0xC7633C95, 0xC84C4C8C, 0xF3355D83}}, {kA | 4, 0.5f, {0xC8643C96, 0xC8584491, 0xDD4C4C8C}},
{kA | 4, 0.49f, {0xC8643C96, 0xC8584391, 0xDD4D4C8C}}, {kA | 4, 0.25f, {0xC8643C96, 0xC85E4093, 0xD2584491}},
{kA | 5, 1.0f, {0x00633C96, 0x80055170, 0xFF004A0A}}, {kA | 5, 0.5f, {0x00633C96, 0x801D2A83, 0xFF055070}},
{kA | 5, 0.49f, {0x00633C96, 0x801E2984, 0xFF064E71}}, {kA | 5, 0.25f, {0x00633C96, 0x803B2C8D, 0xFF1D2A83}},
};
// clang-format on

// clang-format off
const ModeCase kFillCases[] = {
{0, 1.0f, {0x001EDC5A, 0x801EDC5A, 0xFF1EDC5A}}, {0, 0.5f, {0x64418C78, 0xA4418C78, 0xE3418C78}},
{0, 0.49f, {0xA3418B78, 0xA3418B78, 0xA3418B78}}, {0, 0.25f, {0x96526486, 0xB6526486, 0xD5526486}},
{1, 1.0f, {0xFF82FFF0, 0xFF82FFF0, 0xFF82FFF0}}, {1, 0.5f, {0xFF73AAC3, 0xFF73AAC3, 0xFF73AAC3}},
{1, 0.49f, {0xFF72A7C1, 0xFF72A7C1, 0xFF72A7C1}}, {1, 0.25f, {0xD86B73AC, 0xD86B73AC, 0xD86B73AC}},
{2, 1.0f, {0xFF71FFE7, 0xFF71FFE7, 0xFF71FFE7}}, {2, 0.5f, {0xFF6A69B5, 0xFF6A69B5, 0xFF6A69B5}},
{2, 0.49f, {0xFF6967B4, 0xFF6967B4, 0xFF6967B4}}, {2, 0.25f, {0xD5664CA4, 0xD5664CA4, 0xD5664CA4}},
{3, 1.0f, {0xC80B3334, 0xC80B3334, 0xC80B3334}}, {3, 0.5f, {0x96373765, 0x96373765, 0x96373765}},
{3, 0.49f, {0x96383766, 0x96383766, 0x96383766}}, {3, 0.25f, {0xA24D397D, 0xA24D397D, 0xA24D397D}},
{4, 1.0f, {0xF3355D83, 0xF3355D83, 0xF3355D83}}, {4, 0.5f, {0xC84C4C8C, 0xC84C4C8C, 0xC84C4C8C}},
{4, 0.49f, {0xC74D4C8C, 0xC74D4C8C, 0xC74D4C8C}}, {4, 0.25f, {0xC2584491, 0xC2584491, 0xC2584491}},
{5, 1.0f, {0x00004A0A, 0x00004A0A, 0x00004A0A}}, {5, 0.5f, {0x80055070, 0x80055070, 0x80055070}},
{5, 0.49f, {0x7D064E71, 0x7D064E71, 0x7D064E71}}, {5, 0.25f, {0x401D2A83, 0x401D2A83, 0x401D2A83}},
{kA | 0, 1.0f, {0xC8643C96, 0xA4418C78, 0xFF1EDC5A}}, {kA | 0, 0.5f, {0xC8643C96, 0xB6526486, 0xE3418C78}},
{kA | 0, 0.49f, {0xC8643C96, 0xA6536387, 0xA3418B78}}, {kA | 0, 0.25f, {0xC8643C96, 0xB35B508E, 0xD5526486}},
{kA | 1, 1.0f, {0xC8643C96, 0xFF73AAC3, 0xFF82FFF0}}, {kA | 1, 0.5f, {0xC8643C96, 0xD86B73AC, 0xFF73AAC3}},
{kA | 1, 0.49f, {0xC8643C96, 0xD76B71AB, 0xFF72A7C1}}, {kA | 1, 0.25f, {0xC8643C96, 0xCC6757A1, 0xD86B73AC}},
{kA | 2, 1.0f, {0xC8643C96, 0xFF6A69B5, 0xFF71FFE7}}, {kA | 2, 0.5f, {0xC8643C96, 0xD5664CA4, 0xFF6A69B5}},
{kA | 2, 0.49f, {0xC8643C96, 0xD4664BA3, 0xFF6967B4}}, {kA | 2, 0.25f, {0xC8643C96, 0xCB65439C, 0xD5664CA4}},
{kA | 3, 1.0f, {0xC8643C96, 0x96373765, 0xC80B3334}}, {kA | 3, 0.5f, {0xC8643C96, 0xA24D397D, 0x96373765}},
{kA | 3, 0.49f, {0xC8643C96, 0xA34E397E, 0x96383766}}, {kA | 3, 0.25f, {0xC8643C96, 0xB2583A89, 0xA24D397D}},
{kA | 4, 1.0f, {0xC8643C96, 0xC84C4C8C, 0xF3355D83}}, {kA | 4, 0.5f, {0xC8643C96, 0xC2584491, 0xC84C4C8C}},
{kA | 4, 0.49f, {0xC8643C96, 0xC2584391, 0xC74D4C8C}}, {kA | 4, 0.25f, {0xC8643C96, 0xC35E4093, 0xC2584491}},
{kA | 5, 1.0f, {0xC8643C96, 0x80055070, 0x00004A0A}}, {kA | 5, 0.5f, {0xC8643C96, 0x401D2A83, 0x80055070}},
{kA | 5, 0.49f, {0xC8643C96, 0x3E1E2984, 0x7D064E71}}, {kA | 5, 0.25f, {0xC8643C96, 0x203B2C8D, 0x401D2A83}},
};
// clang-format on

TEST(BlitBitmap, EveryModeAndWeightIsPixelExact) {
  for (const ModeCase& c : kBlitCases) {
    for (int i = 0; i < 3; ++i) {
      LICE_MemBitmap dest(1, 1);
      Paint(dest, kDest);
      LICE_MemBitmap source(1, 1);
      Paint(source, kSources[i]);
      BlitBitmap(&dest, &source, 0, 0, nullptr, c.weight, c.mode);
      EXPECT_EQ(PixelAt(dest, 0, 0), c.expected[i])
          << std::hex << "mode " << c.mode << " weight " << c.weight << " source " << kSources[i];
    }
  }
}

TEST(FillRectangle, EveryModeAndWeightIsPixelExact) {
  for (const ModeCase& c : kFillCases) {
    for (int i = 0; i < 3; ++i) {
      LICE_MemBitmap dest(1, 1);
      Paint(dest, kDest);
      FillRectangle(&dest, 0, 0, 1, 1, kSources[i], c.weight, c.mode);
      EXPECT_EQ(PixelAt(dest, 0, 0), c.expected[i])
          << std::hex << "mode " << c.mode << " weight " << c.weight << " colour " << kSources[i];
    }
  }
}

// Rows are combined several pixels at a time; every pixel must come out as it does alone.
TEST(BlitBitmap, WideRowsMatchSinglePixels) {
  constexpr int kWidth = 1027;
  LICE_MemBitmap source(kWidth, 1), start(kWidth, 1);
  for (int x = 0; x < kWidth; ++x) {
    // Runs of opaque and clear pixels as well as every alpha, over varied colours.
    const int alpha = x < 256 ? x : x < 512 ? 255 : x < 640 ? 0 : (x * 7) & 0xFF;
    RowPointer(source, 0)[x] = LicePixelFromChannels(x * 13, x * 29, x * 71, alpha);
    RowPointer(start, 0)[x] = LicePixelFromChannels(x * 53, 255 - x, x * 5, x * 3 + 7);
  }
  for (int mode : {BlitCopy | BlitUseAlpha, BlitAdd | BlitUseAlpha, int{BlitAdd}}) {
    for (float weight : {1.0f, 0.5f, 0.49f, 0.25f, 0.999f, 0.004f}) {
      LICE_MemBitmap wide(kWidth, 1), single(1, 1), one(1, 1);
      BlitBitmap(&wide, &start, 0, 0, nullptr, 1.0f, BlitCopy);
      BlitBitmap(&wide, &source, 0, 0, nullptr, weight, mode);
      for (int x = 0; x < kWidth; ++x) {
        Paint(single, PixelAt(start, x, 0));
        Paint(one, PixelAt(source, x, 0));
        BlitBitmap(&single, &one, 0, 0, nullptr, weight, mode);
        ASSERT_EQ(PixelAt(wide, x, 0), PixelAt(single, 0, 0))
            << "mode " << mode << " weight " << weight << " x " << x;
      }
    }
  }
}

TEST(BlitBitmap, HalvesAreTruncatedSeparately) {
  LICE_MemBitmap dest(1, 1);
  Paint(dest, 0xFFFFFFFF);
  LICE_MemBitmap source(1, 1);
  Paint(source, 0xFFFFFFFF);
  BlitBitmap(&dest, &source, 0, 0, nullptr, 0.5f, BlitCopy);
  EXPECT_EQ(PixelAt(dest, 0, 0), 0xFEFEFEFEu);
  Paint(dest, 0xFFFFFFFF);
  BlitBitmap(&dest, &source, 0, 0, nullptr, 0.49f, BlitCopy);
  EXPECT_EQ(PixelAt(dest, 0, 0), 0xFFFFFFFFu);
}

TEST(BlitBitmap, SourceAlphaAtFullWeight) {
  LICE_MemBitmap dest(1, 1);
  Paint(dest, 0xFF102030);
  LICE_MemBitmap clear(1, 1);
  Paint(clear, 0x00FFFFFF);
  LICE_MemBitmap half(1, 1);
  Paint(half, 0x80FFFFFF);
  BlitBitmap(&dest, &clear, 0, 0, nullptr, 1.0f, BlitCopy | BlitUseAlpha);
  EXPECT_EQ(PixelAt(dest, 0, 0), 0xFF102030u);
  BlitBitmap(&dest, &half, 0, 0, nullptr, 1.0f, BlitCopy | BlitUseAlpha);
  EXPECT_EQ(LicePixelAlpha(PixelAt(dest, 0, 0)), 255);
}

TEST(BlitBitmap, NothingHappensWithoutBitmapsPixelsOrWeight) {
  LICE_MemBitmap dest(2, 2), source(2, 2), empty;
  Paint(dest, kDest);
  Paint(source, 0xFF000000);
  BlitBitmap(&dest, nullptr, 0, 0, nullptr, 1.0f, BlitCopy);
  BlitBitmap(nullptr, &source, 0, 0, nullptr, 1.0f, BlitCopy);
  BlitBitmap(&dest, &empty, 0, 0, nullptr, 1.0f, BlitCopy);
  BlitBitmap(&dest, &source, 0, 0, nullptr, 0.0f, BlitAdd);
  BlitBitmap(&dest, &source, 0, 0, nullptr, 1.0f / 512, BlitAdd);
  EXPECT_EQ(PixelAt(dest, 1, 1), kDest);
}

// A 4 x 3 source whose pixel (x, y) is 0xFF0000yx, blitted onto a 4 x 3 destination of zeros.
class BlitClipping : public ::testing::Test {
protected:
  void SetUp() override {
    Paint(dest, 0);
    Number(source);
  }
  LicePixel At(int x, int y) { return PixelAt(dest, x, y); }
  LICE_MemBitmap dest{4, 3};
  LICE_MemBitmap source{4, 3};
};

TEST_F(BlitClipping, NegativeDestinationCutsTheSourcesLeadingEdge) {
  LICE_MemBitmap wide(20, 1);
  Number(wide);
  BlitBitmap(&dest, &wide, -10, -1, nullptr, 1.0f, BlitCopy);
  EXPECT_EQ(At(0, 0), 0u);  // row -1 of the placement is row 0 of the source, which falls off
  LICE_MemBitmap dest2(4, 1);
  Paint(dest2, 0);
  BlitBitmap(&dest2, &wide, -10, 0, nullptr, 1.0f, BlitCopy);
  EXPECT_EQ(PixelAt(dest2, 0, 0), NumberedPixel(10, 0));
  EXPECT_EQ(PixelAt(dest2, 3, 0), NumberedPixel(13, 0));
}

TEST_F(BlitClipping, SourceRectangleIsLimitedAndShifted) {
  const LiceRect beyond = {2, 1, 100, 100};
  BlitBitmap(&dest, &source, 0, 0, &beyond, 1.0f, BlitCopy);
  EXPECT_EQ(At(0, 0), NumberedPixel(2, 1));
  EXPECT_EQ(At(1, 1), NumberedPixel(3, 2));
  EXPECT_EQ(At(2, 0), 0u);  // cut at the source width
  EXPECT_EQ(At(0, 2), 0u);  // cut at the source height

  LICE_MemBitmap dest2(4, 3);
  Paint(dest2, 0);
  const LiceRect negative = {-1, -2, 2, 3};
  BlitBitmap(&dest2, &source, 0, 0, &negative, 1.0f, BlitCopy);  // moves the placement to (1, 2)
  EXPECT_EQ(PixelAt(dest2, 1, 2), NumberedPixel(0, 0));
  EXPECT_EQ(PixelAt(dest2, 2, 2), NumberedPixel(1, 0));
  EXPECT_EQ(PixelAt(dest2, 0, 2), 0u);
}

TEST_F(BlitClipping, PlacementsOutsideTheDestinationDoNothing) {
  const LiceRect inverted = {3, 0, 1, 3};
  BlitBitmap(&dest, &source, 4, 0, nullptr, 1.0f, BlitCopy);
  BlitBitmap(&dest, &source, 0, 3, nullptr, 1.0f, BlitCopy);
  BlitBitmap(&dest, &source, -4, 0, nullptr, 1.0f, BlitCopy);
  BlitBitmap(&dest, &source, 0, 0, &inverted, 1.0f, BlitCopy);
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 4; ++x) EXPECT_EQ(At(x, y), 0u);
  }
}

TEST_F(BlitClipping, ExtremeCoordinatesAreClippedWithoutOverflow) {
  const LiceRect huge = {INT_MIN, INT_MIN, INT_MAX, INT_MAX};
  BlitBitmap(&dest, &source, INT_MAX, INT_MAX, &huge, 1.0f, BlitCopy);
  BlitBitmap(&dest, &source, INT_MIN, INT_MIN, nullptr, 1.0f, BlitAdd);
  FillRectangle(&dest, INT_MIN, INT_MIN, INT_MAX, INT_MAX, 0xFFFFFFFF, 1.0f, BlitCopy);
  EXPECT_EQ(At(0, 0), 0u);
  // A weight that is not a number weighs nothing.
  const float nan = std::numeric_limits<float>::quiet_NaN();
  BlitBitmap(&dest, &source, 0, 0, nullptr, nan, BlitCopy);
  BlitBitmap(&dest, &source, 0, 0, nullptr, nan, BlitAdd | BlitUseAlpha);
  FillRectangle(&dest, 0, 0, 4, 3, 0xFFFFFFFF, nan, BlitAdd);
  BlitBitmap(&dest, &source, 0, 0, nullptr, 1e30f, BlitOverlay);  // held to a weight that cannot overflow
  EXPECT_EQ(At(0, 0), 0u);
}

TEST(BlitBitmap, BottomUpBitmapsAreWalkedBackwards) {
  BottomUpBitmap dest(2, 3);
  LICE_MemBitmap source(2, 3);
  Number(source);
  BlitBitmap(&dest, &source, 0, 0, nullptr, 1.0f, BlitCopy);
  // Logical row 0 is the last row in memory.
  EXPECT_EQ(dest.Pixels()[2 * dest.RowSpan()], NumberedPixel(0, 0));
  EXPECT_EQ(dest.Pixels()[1], NumberedPixel(1, 2));
  LICE_MemBitmap back(2, 3);
  Paint(back, 0);
  BlitBitmap(&back, &dest, 0, 0, nullptr, 0.5f, BlitCopy);
  EXPECT_EQ(PixelAt(back, 1, 2), (NumberedPixel(1, 2) >> 1) & 0x7F7F7F7F);
}

}  // namespace
