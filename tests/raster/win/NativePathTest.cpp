// The choice between GDI's own text drawing and the glyph path, and GDI drawing into both kinds
// of bitmap. GDI's DrawText tells the paths apart: with DT_BOTTOM it answers the offset from the
// rect's top to the text's bottom, where the glyph path answers the text's height.
#include <gtest/gtest.h>

#include "raster/FontCache.h"
#include "raster/SysBitmap.h"
#include "tests/raster/RasterTestSupport.h"
#include "tests/raster/win/WineProbeOverride.h"

namespace {

constexpr LicePixel kPaper = 0xFFFFFFFF;

class NativePath : public ::testing::Test {
protected:
  void SetUp() override {
    style.size = 16;
    font = FontCache::FontFor(style);
    ASSERT_NE(font, nullptr);
    font->SetTextColour(0xFF000000);
    Paint(page, kPaper);
    Paint(memory, kPaper);
  }
  void TearDown() override { WineProbeOverride::pretendWine = true; }
  int DrawAtBottom(LICE_IBitmap& bitmap, int flags = 0) {
    LiceRect rect = {0, 0, 200, 100};
    return font->DrawString(&bitmap, "Native", -1, &rect, kTextBottom | kTextSingleLine | flags);
  }
  TextStyle style;
  LICE_IFont* font = nullptr;
  LICE_SysBitmap page{200, 100};
  LICE_MemBitmap memory{200, 100};
};

bool HasInk(LICE_IBitmap& bitmap, int fromY = 0) {
  for (int y = fromY; y < bitmap.Height(); ++y) {
    for (int x = 0; x < bitmap.Width(); ++x) {
      if ((PixelAt(bitmap, x, y) & 0xFFFFFF) != 0xFFFFFF) return true;
    }
  }
  return false;
}

TEST_F(NativePath, IsTakenOnlyWhereWineIsNotFound) {
  WineProbeOverride::pretendWine = false;
  EXPECT_EQ(DrawAtBottom(page), 100);
  EXPECT_TRUE(HasInk(page, 100 - font->LineHeight()));
  WineProbeOverride::pretendWine = true;
  Paint(page, kPaper);
  EXPECT_EQ(DrawAtBottom(page), font->LineHeight());
  EXPECT_TRUE(HasInk(page, 100 - font->LineHeight()));
}

TEST_F(NativePath, InternalCallsAndColourAlphaKeepToGlyphs) {
  WineProbeOverride::pretendWine = false;
  EXPECT_EQ(DrawAtBottom(page, kTextInternal), font->LineHeight());
  EXPECT_EQ(DrawAtBottom(page, kTextColourAlpha), font->LineHeight());
}

TEST_F(NativePath, DrawsIntoMemoryBitmapsThroughTheScratchBitmap) {
  WineProbeOverride::pretendWine = false;
  EXPECT_EQ(DrawAtBottom(memory), 100);
  EXPECT_TRUE(HasInk(memory, 100 - font->LineHeight()));
  for (int x = 0; x < 200; ++x) ASSERT_EQ(PixelAt(memory, x, 0), kPaper);  // only the text's area is touched
  LiceRect rect = {5, 5, 5, 5};
  EXPECT_EQ(font->DrawString(nullptr, "Native", -1, &rect, kTextMeasure), font->LineHeight());
  EXPECT_GT(rect.right, 5 + 20);
}

TEST_F(NativePath, TallFontsTakeItEvenUnderWine) {
  TextStyle tall;
  tall.size = 300;
  LICE_IFont* big = FontCache::FontFor(tall);
  ASSERT_NE(big, nullptr);
  ASSERT_GT(big->LineHeight(), 255);
  LICE_SysBitmap canvas(400, 400);
  Paint(canvas, kPaper);
  LiceRect rect = {0, 0, 400, 390};
  EXPECT_EQ(big->DrawString(&canvas, "x", -1, &rect, kTextBottom | kTextSingleLine), 390);
}

}  // namespace
