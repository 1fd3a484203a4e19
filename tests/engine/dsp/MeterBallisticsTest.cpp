#include "engine/dsp/MeterBallistics.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {
constexpr double kEndStop = 1.99526;
}  // namespace

TEST(MeterBallistics, NeverShowsMoreThanTheCeilingNorANonFiniteLevel) {
  MeterBallistics m(kEndStop);
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  for (int i = 0; i < 44100 * 8; ++i) {  // 8 s: the needle has long reached the end stop
    const double in[] = {5.0, 1e308, inf, -inf, nan, -3.0, 1.99527};
    m.pushLevel(in[i % 7], 44100);
    ASSERT_TRUE(std::isfinite(m.Needle()));
    ASSERT_LE(m.Needle(), kEndStop);
    ASSERT_GE(m.Needle(), 0.0);
  }
  EXPECT_NEAR(m.Needle(), kEndStop, 1e-9);
}

TEST(MeterBallistics, NeedleRisesTowardAPeakWithThreeHundredMs) {
  MeterBallistics m(kEndStop);
  for (int i = 0; i < 14400; ++i) m.pushLevel(1.0, 48000);  // 300 ms
  EXPECT_NEAR(m.Needle(), 1 - std::exp(-1.0), 1e-4);
}

TEST(MeterBallistics, SilenceLetsTheNeedleFallWithThreeHundredMs) {
  MeterBallistics m(kEndStop);
  for (int i = 0; i < 48000 * 10; ++i) m.pushLevel(1.0, 48000);
  ASSERT_NEAR(m.Needle(), 1.0, 1e-9);
  for (int i = 0; i < 14400; ++i) m.pushLevel(0.0, 48000);
  EXPECT_NEAR(m.Needle(), std::exp(-1.0), 1e-4);
  for (int i = 0; i < 14400; ++i) m.pushLevel(0.0, 48000);
  EXPECT_NEAR(m.Needle(), std::exp(-2.0), 1e-4);
}

TEST(MeterBallistics, AShortPeakIsHeldWhileTheNeedleClimbs) {
  MeterBallistics m(kEndStop);
  m.pushLevel(1.5, 48000);  // one sample
  double previous = m.Needle();
  for (int i = 0; i < 4800; ++i) {
    m.pushLevel(0.0, 48000);
    if (i < 2000) {
      EXPECT_GT(m.Needle(), previous);  // still rising toward the decaying peak
    }
    previous = m.Needle();
  }
  EXPECT_GT(m.Needle(), 0.3);
}
