#include "engine/dsp/MeterFeed.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

TEST(MeterFeed, StartsAtRestWithTheLampOnAndModeZero) {
  MeterFeed m;
  EXPECT_EQ(m.level(), 0.0);
  EXPECT_TRUE(m.lamp());
  EXPECT_EQ(m.mode(), 0);
  m.setLamp(false);
  m.setMode(3);
  EXPECT_FALSE(m.lamp());
  EXPECT_EQ(m.mode(), 3);
}

TEST(MeterFeed, NeverShowsMoreThanTheCeilingNorANonFiniteLevel) {
  MeterFeed m;
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  for (int i = 0; i < 44100 * 8; ++i) {  // 8 s: the needle has long reached the end stop
    const double in[] = {5.0, 1e308, inf, -inf, nan, -3.0, 1.99527};
    m.pushLevel(in[i % 7], 44100);
    ASSERT_TRUE(std::isfinite(m.level()));
    ASSERT_LE(m.level(), MeterFeed::kCeiling);
    ASSERT_GE(m.level(), 0.0);
  }
  EXPECT_NEAR(m.level(), MeterFeed::kCeiling, 1e-9);
}

TEST(MeterFeed, NeedleRisesTowardAPeakWithThreeHundredMs) {
  MeterFeed m;
  for (int i = 0; i < 14400; ++i) m.pushLevel(1.0, 48000);  // 300 ms
  EXPECT_NEAR(m.level(), 1 - std::exp(-1.0), 1e-4);
}

TEST(MeterFeed, SilenceLetsTheNeedleFallWithThreeHundredMs) {
  MeterFeed m;
  for (int i = 0; i < 48000 * 10; ++i) m.pushLevel(1.0, 48000);
  ASSERT_NEAR(m.level(), 1.0, 1e-9);
  for (int i = 0; i < 14400; ++i) m.pushLevel(0.0, 48000);
  EXPECT_NEAR(m.level(), std::exp(-1.0), 1e-4);
  for (int i = 0; i < 14400; ++i) m.pushLevel(0.0, 48000);
  EXPECT_NEAR(m.level(), std::exp(-2.0), 1e-4);
}

TEST(MeterFeed, AShortPeakIsHeldWhileTheNeedleClimbs) {
  MeterFeed m;
  m.pushLevel(1.5, 48000);  // one sample
  double previous = m.level();
  for (int i = 0; i < 4800; ++i) {
    m.pushLevel(0.0, 48000);
    if (i < 2000) {
      EXPECT_GT(m.level(), previous);  // still rising toward the decaying peak
    }
    previous = m.level();
  }
  EXPECT_GT(m.level(), 0.3);
}
