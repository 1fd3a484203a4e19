// Text through the glyph path: the font cache's key, measuring lines, alignment, clipping, alpha,
// the monochrome, outline and rotated glyph modes.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <memory>

#include "raster/FontCache.h"
#include "raster/Raster.h"
#include "raster/SysBitmap.h"
#include "tests/raster/RasterTestSupport.h"

namespace {

constexpr LicePixel kPaper = 0xFFFFFFFF;
constexpr LicePixel kInk = 0xFF000000;

std::unique_ptr<LICE_CachedFont> GlyphFont(int flags = 0, int height = 16) {
  auto font = std::make_unique<LICE_CachedFont>();
  const NativeText::FontRequest request = {"Verdana", height, 0, 400, false, 0};
  font->SetNativeFont(NativeText::OpenFont(request), flags | kFontOwnsNative);
  font->SetTextColour(kInk);
  return font;
}

LiceRect Measure(LICE_CachedFont& font, const char* text, int flags = 0) {
  LiceRect rect = {0, 0, 0, 0};
  font.DrawString(nullptr, text, -1, &rect, flags | kTextMeasure);
  return rect;
}

struct InkSpan {
  int first = -1;  // the first and last columns in which any pixel differs from the paper
  int last = -1;
};

InkSpan Ink(LICE_IBitmap& bitmap) {
  InkSpan span;
  for (int x = 0; x < bitmap.Width(); ++x) {
    for (int y = 0; y < bitmap.Height(); ++y) {
      if (PixelAt(bitmap, x, y) == kPaper) continue;
      if (span.first < 0) span.first = x;
      span.last = x;
    }
  }
  return span;
}

bool SamePixels(LICE_MemBitmap& a, LICE_MemBitmap& b) {
  return std::memcmp(a.Pixels(), b.Pixels(), static_cast<size_t>(a.RowSpan()) * a.Height() * 4) == 0;
}

class Text : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_NE(font->NativeFont(), nullptr);
    ASSERT_GT(font->LineHeight(), 8);
    Paint(page, kPaper);
  }
  std::unique_ptr<LICE_CachedFont> font = GlyphFont();
  LICE_MemBitmap page{200, 60};
};

TEST(FontCache, QualityIsNotPartOfTheKey) {
  TextStyle plain, crisp, bigger, lowerCase;
  crisp.quality = kQualityNonAntialiased;
  bigger.size = 30;
  std::snprintf(lowerCase.face, sizeof lowerCase.face, "verdana");
  LICE_IFont* font = FontCache::FontFor(plain);
  ASSERT_NE(font, nullptr);
  EXPECT_EQ(plain.cachedFont, font);
  EXPECT_EQ(FontCache::FontFor(crisp), font);
  EXPECT_EQ(crisp.cachedFont, font);
  EXPECT_NE(FontCache::FontFor(bigger), font);
  EXPECT_NE(FontCache::FontFor(lowerCase), font);
  const int live = LICE_CachedFont::LiveCount();
  EXPECT_GE(live, 3);
  {
    LICE_CachedFont extra;
    EXPECT_EQ(LICE_CachedFont::LiveCount(), live + 1);
  }
  EXPECT_EQ(LICE_CachedFont::LiveCount(), live);
}

TEST_F(Text, LineFeedsStartLinesUnlessSingleLine) {
  const int lineHeight = font->LineHeight();
  EXPECT_EQ(Measure(*font, "A\nB").bottom, 2 * lineHeight);
  EXPECT_EQ(font->DrawString(nullptr, "A\nB", -1, nullptr, kTextMeasure), 2 * lineHeight);
  EXPECT_EQ(Measure(*font, "A\nB", kTextSingleLine).bottom, lineHeight);
  EXPECT_EQ(Measure(*font, "A\nB", kTextSingleLine).right, Measure(*font, "A B").right);
  EXPECT_EQ(Measure(*font, "AB\nA").right, Measure(*font, "AB").right);
  font->SetExtraLineSpacing(3);
  EXPECT_EQ(Measure(*font, "A\nB").bottom, 2 * lineHeight + 3);
  EXPECT_EQ(Measure(*font, "").right, 0);
}

TEST_F(Text, CarriageReturnNeitherAdvancesNorDraws) {
  EXPECT_EQ(Measure(*font, "A\rB").right, Measure(*font, "AB").right);
  LICE_MemBitmap other(200, 60);
  Paint(other, kPaper);
  EXPECT_EQ(font->DrawString(&page, "A\rB", -1, nullptr, 0), font->DrawString(&other, "AB", -1, nullptr, 0));
  EXPECT_NE(Ink(page).first, -1);
  EXPECT_TRUE(SamePixels(page, other));
}

TEST_F(Text, ZeroAlphaDrawsNothing) {
  font->SetCombineMode(BlitCopy, 0.0f);
  EXPECT_EQ(font->DrawString(&page, "Hello", -1, nullptr, 0), 0);
  font->SetCombineMode(BlitCopy, 1.0f);
  font->SetTextColour(0x00000000);
  EXPECT_EQ(font->DrawString(&page, "Hello", -1, nullptr, kTextColourAlpha), 0);
  EXPECT_EQ(Ink(page).first, -1);
}

TEST_F(Text, AlignmentPlacesTheMeasuredText) {
  const int width = Measure(*font, "Hi").right;
  LICE_MemBitmap left(200, 60);
  Paint(left, kPaper);
  LiceRect rect = {10, 0, 10 + width + 60, 60};
  font->DrawString(&left, "Hi", -1, &rect, 0);
  font->DrawString(&page, "Hi", -1, &rect, kTextCentre);
  EXPECT_EQ(Ink(page).first, Ink(left).first + 30);
  Paint(page, kPaper);
  font->DrawString(&page, "Hi", -1, &rect, kTextRight);
  EXPECT_EQ(Ink(page).first, Ink(left).first + 60);

  LiceRect high = {0, 0, 200, 60};
  const int lineHeight = font->LineHeight();
  LICE_MemBitmap top(200, 60), bottom(200, 60);
  Paint(top, kPaper);
  Paint(bottom, kPaper);
  font->DrawString(&top, "Hi", -1, &high, 0);
  font->DrawString(&bottom, "Hi", -1, &high, kTextBottom);
  // Moved down by exactly 60 - line height: the rows match.
  for (int y = 0; y < lineHeight; ++y) {
    for (int x = 0; x < 200; ++x) ASSERT_EQ(PixelAt(top, x, y), PixelAt(bottom, x, y + 60 - lineHeight));
  }
}

TEST_F(Text, DrawingIsClippedToTheRectUnlessAskedNotTo) {
  LiceRect narrow = {0, 0, 6, 60};
  font->DrawString(&page, "WWWW", -1, &narrow, 0);
  EXPECT_LE(Ink(page).last, 5);
  EXPECT_NE(Ink(page).first, -1);
  font->DrawString(&page, "WWWW", -1, &narrow, kTextNoClip);
  EXPECT_GT(Ink(page).last, 20);
  LiceRect outside = {300, 0, 400, 60};
  EXPECT_EQ(font->DrawString(&page, "W", -1, &outside, 0), 0);
}

TEST(TextModes, MonochromeAndOutlinePaintOnlyTheirColours) {
  for (int flags : {kFontMono, kFontMonoOutline, kFontMonoShadow}) {
    auto font = GlyphFont(flags, 24);
    font->SetEffectColour(0xFF00FF00);
    LICE_MemBitmap page(200, 60);
    Paint(page, kPaper);
    font->DrawString(&page, "Ok", -1, nullptr, 0);
    int ink = 0, effect = 0;
    for (int y = 0; y < 60; ++y) {
      for (int x = 0; x < 200; ++x) {
        const LicePixel p = PixelAt(page, x, y);
        ink += p == kInk;
        effect += p == 0xFF00FF00;
        ASSERT_TRUE(p == kPaper || p == kInk || p == 0xFF00FF00) << std::hex << p;
      }
    }
    EXPECT_GT(ink, 20);
    if (flags == kFontMono) {
      EXPECT_EQ(effect, 0);
    } else {
      EXPECT_GT(effect, 10);
    }
  }
}

TEST(TextModes, RotatedTextRunsDownAndMeasuresItsWidth) {
  auto flat = GlyphFont(0, 16), down = GlyphFont(kFontRotate, 16);
  LiceRect rect = {0, 0, 0, 0};
  EXPECT_EQ(down->DrawString(nullptr, "AB", -1, &rect, kTextMeasure), down->LineHeight());
  EXPECT_EQ(rect.right, down->LineHeight());
  EXPECT_GE(rect.bottom, Measure(*flat, "AB").right);
  LICE_MemBitmap page(60, 200);
  Paint(page, kPaper);
  EXPECT_EQ(down->DrawString(&page, "AB", -1, nullptr, 0), down->LineHeight());
  EXPECT_LT(Ink(page).last, down->LineHeight());
}

TEST(TextModes, FixedAsciiFontsSkipOtherCharacters) {
  auto font = GlyphFont(kFontFixedAscii);
  EXPECT_EQ(Measure(*font, "\xC3\xA9").right, 0);  // é
  EXPECT_GT(Measure(*font, "e").right, 0);
  auto open = GlyphFont();
  EXPECT_GT(Measure(*open, "\xC3\xA9").right, 0);
}

TEST(TextModes, OpaqueBackgroundFillsTheGlyphBoxes) {
  auto font = GlyphFont();
  font->SetBackgroundMode(kBackgroundOpaque);
  font->SetBackgroundColour(0xFF0000FF);
  LICE_MemBitmap page(100, 40);
  Paint(page, kPaper);
  font->DrawString(&page, "  ", -1, nullptr, 0);
  EXPECT_EQ(PixelAt(page, 1, 1), 0xFF0000FFu);
  EXPECT_EQ(PixelAt(page, 1, 39), kPaper);
}

}  // namespace
