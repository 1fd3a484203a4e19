#include "engine/dsp/MeterFeed.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

TEST(MeterFeed, StartsAtRestWithTheLampOnAndModeZero) {
  MeterFeed m;
  EXPECT_EQ(m.Level(), 0.0);
  EXPECT_TRUE(m.Lamp());
  EXPECT_EQ(m.Mode(), 0);
  m.SetLamp(false);
  m.SetMode(3);
  EXPECT_FALSE(m.Lamp());
  EXPECT_EQ(m.Mode(), 3);
}

TEST(MeterFeed, NeverShowsMoreThanTheCeilingNorANonFiniteLevel) {
  MeterFeed m;
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  for (int i = 0; i < 44100 * 8; ++i) {  // 8 s: the needle has long reached the end stop
    const double in[] = {5.0, 1e308, inf, -inf, nan, -3.0, 1.99527};
    m.pushLevel(in[i % 7], 44100);
    ASSERT_TRUE(std::isfinite(m.Level()));
    ASSERT_LE(m.Level(), MeterFeed::kCeiling);
    ASSERT_GE(m.Level(), 0.0);
  }
  EXPECT_NEAR(m.Level(), MeterFeed::kCeiling, 1e-9);
}

TEST(MeterFeed, NeedleRisesTowardAPeakWithThreeHundredMs) {
  MeterFeed m;
  for (int i = 0; i < 14400; ++i) m.pushLevel(1.0, 48000);  // 300 ms
  EXPECT_NEAR(m.Level(), 1 - std::exp(-1.0), 1e-4);
}

TEST(MeterFeed, SilenceLetsTheNeedleFallWithThreeHundredMs) {
  MeterFeed m;
  for (int i = 0; i < 48000 * 10; ++i) m.pushLevel(1.0, 48000);
  ASSERT_NEAR(m.Level(), 1.0, 1e-9);
  for (int i = 0; i < 14400; ++i) m.pushLevel(0.0, 48000);
  EXPECT_NEAR(m.Level(), std::exp(-1.0), 1e-4);
  for (int i = 0; i < 14400; ++i) m.pushLevel(0.0, 48000);
  EXPECT_NEAR(m.Level(), std::exp(-2.0), 1e-4);
}

TEST(MeterFeed, AShortPeakIsHeldWhileTheNeedleClimbs) {
  MeterFeed m;
  m.pushLevel(1.5, 48000);  // one sample
  double previous = m.Level();
  for (int i = 0; i < 4800; ++i) {
    m.pushLevel(0.0, 48000);
    if (i < 2000) {
      EXPECT_GT(m.Level(), previous);  // still rising toward the decaying peak
    }
    previous = m.Level();
  }
  EXPECT_GT(m.Level(), 0.3);
}
