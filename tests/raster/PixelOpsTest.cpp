// Properties of the per-pixel operations beyond the blit tables: the neutral hue adjustment and
// the dodge guard at full weight.
#include <gtest/gtest.h>

#include <cstdlib>

#include "raster/PixelOps.h"

namespace {

TEST(PixelOps, NeutralHueAdjustmentChangesOnlyByRounding) {
  const PixelOps::Colour neutral = {128, 128, 128, 0x7F};
  for (int r = 0; r < 256; r += 17) {
    for (int g = 0; g < 256; g += 15) {
      for (int b = 0; b < 256; b += 51) {
        const LicePixel out = PixelOps::Apply(BlitHsvAdjust, LicePixelFromChannels(r, g, b, 9), neutral, 256);
        EXPECT_NEAR(LicePixelRed(out), r, 4) << r << " " << g << " " << b;
        EXPECT_NEAR(LicePixelGreen(out), g, 4) << r << " " << g << " " << b;
        EXPECT_NEAR(LicePixelBlue(out), b, 4) << r << " " << g << " " << b;
        EXPECT_EQ(LicePixelAlpha(out), 0x7F);
      }
    }
  }
}

TEST(PixelOps, HueTurnsAndSaturationDrains) {
  // Red turned by a third of the circle (kr = 213 adds 128 of 384 steps) is green.
  const LicePixel green = PixelOps::Apply(BlitHsvAdjust, 0xFFFF0000, {128, 128, 213, 255}, 256);
  EXPECT_EQ(green, 0xFF04FF00u);  // the ramp rounds the red down to 4
  // No saturation left: grey at the same value.
  const LicePixel grey = PixelOps::Apply(BlitHsvAdjust, 0xFF3080C0, {128, 0, 128, 255}, 256);
  EXPECT_EQ(grey, 0xFFC0C0C0u);
}

TEST(PixelOps, DodgeAtFullWeightDoesNotDivideByZero) {
  EXPECT_EQ(PixelOps::Dodge(100, 255, 256), 255);
  EXPECT_EQ(PixelOps::Dodge(0, 255, 256), 0);
  EXPECT_EQ(PixelOps::Dodge(100, 254, 256), 255);  // 254 * 256 / 256 = 254 < 255: divides by 2
  EXPECT_EQ(PixelOps::Dodge(100, 254, 257), 255);
  EXPECT_EQ(PixelOps::Dodge(60, 128, 256), 120);
}

}  // namespace
