// Softening in place: borders, the smoothed row above the last one, and what is left alone.
#include <gtest/gtest.h>

#include "raster/Raster.h"
#include "tests/raster/RasterTestSupport.h"

namespace {

// Grey pixels: every byte carries the same value, so one number describes a pixel.
LicePixel Grey(int v) { return static_cast<LicePixel>(v) * 0x01010101u; }

void Load(LICE_IBitmap& bitmap, const int* values) {
  for (int y = 0; y < bitmap.Height(); ++y) {
    for (int x = 0; x < bitmap.Width(); ++x) RowPointer(bitmap, y)[x] = Grey(values[y * bitmap.Width() + x]);
  }
}

void ExpectValues(LICE_IBitmap& bitmap, const int* values) {
  for (int y = 0; y < bitmap.Height(); ++y) {
    for (int x = 0; x < bitmap.Width(); ++x) {
      EXPECT_EQ(PixelAt(bitmap, x, y), Grey(values[y * bitmap.Width() + x])) << x << "," << y;
    }
  }
}

TEST(SmoothBitmap, SmallPatternsMatchHandComputedValues) {
  LICE_MemBitmap dot(4, 3);
  const int dotIn[] = {0, 0, 0, 0, 0, 200, 0, 0, 0, 0, 0, 255};
  const int dotOut[] = {0, 50, 0, 0, 50, 100, 25, 31, 12, 25, 37, 134};
  Load(dot, dotIn);
  SmoothBitmap(&dot, 4, 3);
  ExpectValues(dot, dotOut);

  LICE_MemBitmap ramp(3, 2);
  const int rampIn[] = {8, 16, 40, 80, 160, 240};
  const int rampOut[] = {28, 54, 84, 87, 133, 181};
  Load(ramp, rampIn);
  SmoothBitmap(&ramp, 3, 2);
  ExpectValues(ramp, rampOut);

  BottomUpBitmap flipped(3, 2);
  Load(flipped, rampIn);
  SmoothBitmap(&flipped, 3, 2);
  ExpectValues(flipped, rampOut);
}

TEST(SmoothBitmap, WhiteLosesOnlyTheTruncatedFractions) {
  LICE_MemBitmap white(2, 2);
  Paint(white, 0xFFFFFFFF);
  SmoothBitmap(&white, 2, 2);
  EXPECT_EQ(PixelAt(white, 1, 1), 0xFDFDFDFDu);
}

TEST(SmoothBitmap, LeavesTooNarrowAreasAndPixelsOutsideAlone) {
  LICE_MemBitmap line(1, 100);
  Number(line);
  SmoothBitmap(&line, 1, 100);
  EXPECT_EQ(PixelAt(line, 0, 50), NumberedPixel(0, 50));

  LICE_MemBitmap wide(1100, 3);  // wider than the stack rows
  Paint(wide, 0);
  RowPointer(wide, 1)[1050] = Grey(240);
  SmoothBitmap(&wide, 2000, 2);
  EXPECT_EQ(PixelAt(wide, 1050, 1), Grey(135));  // 120 + the smoothed 60 above ÷ 4
  EXPECT_EQ(PixelAt(wide, 1050, 0), Grey(60));
  EXPECT_EQ(PixelAt(wide, 1051, 1), Grey(30));
  EXPECT_EQ(PixelAt(wide, 1050, 2), 0u);  // below the smoothed area
}

}  // namespace
